// System::MemoryBuffer: a counted, resizable block of bytes.
#pragma once

#include <cstdint>

#include "modules/system/Object.h"

namespace System {

class MemoryBuffer : public Object {
public:
    // Size 0: no data. Otherwise `size` bytes, not zero-filled.
    explicit MemoryBuffer(std::uint32_t size);
    // A copy of `size` bytes; null data gives an empty buffer.
    MemoryBuffer(const void* data, std::uint32_t size);
    ~MemoryBuffer() override;
    MemoryBuffer(const MemoryBuffer&) = delete;
    MemoryBuffer& operator=(const MemoryBuffer&) = delete;

    // Size 0 frees the data; otherwise the common prefix is kept.
    void Resize(std::uint32_t size);

    std::uint8_t* Data() const noexcept { return data_; }
    std::uint32_t Size() const noexcept { return size_; }

private:
    std::uint8_t* data_ = nullptr;
    std::uint32_t size_ = 0;
};

}  // namespace System
