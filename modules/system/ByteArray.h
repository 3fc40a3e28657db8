// System::ByteArray: a handle on a counted System::MemoryBuffer. Copies share
// the buffer and see each other's writes (no copy on write).
#pragma once

#include <cstdint>

#include "modules/system/MemoryBuffer.h"
#include "modules/system/Object.h"
#include "xml/model/SmartPtr.h"

namespace System {

class ByteArray : public Object {
public:
    ByteArray() noexcept = default;
    // Size 0: no buffer.
    ByteArray(std::uint32_t size, bool zeroFill);
    // Size 0: no buffer; otherwise a copy of the bytes.
    ByteArray(const void* data, std::uint32_t size);
    ByteArray(const ByteArray& other) noexcept : Object(), buffer_(other.buffer_) {}
    ByteArray& operator=(const ByteArray& other) {
        buffer_ = other.buffer_;
        return *this;
    }

    // Keeps the content up to the new size; with the zero flag all bytes are
    // zero afterwards.
    void Resize(std::uint32_t size, bool zeroFill);

    // Raises NullPointerException without a buffer.
    std::uint8_t* Data() const;
    std::uint32_t Size() const noexcept { return buffer_ ? buffer_.Get()->Size() : 0; }

private:
    SmartPtr<MemoryBuffer> buffer_;
};

}  // namespace System
