// ByteBuffer: a counted block of bytes that may or may not own them; used
// for whole files read into memory.
#pragma once

#include <cstdint>
#include <cstdio>

#include "xml/model/RefObject.h"
#include "xml/model/SmartPtr.h"

class ByteBuffer : public RefObject {
public:
    // Size 0: no data. Otherwise AllocateOrRaise of `size` bytes; owned.
    explicit ByteBuffer(std::uint32_t size);
    // Wraps the bytes as they are.
    ByteBuffer(std::uint8_t* data, std::uint32_t size, bool owns) noexcept
        : data_(data), size_(size), owns_(owns) {}
    ~ByteBuffer() override;
    ByteBuffer(const ByteBuffer&) = delete;
    ByteBuffer& operator=(const ByteBuffer&) = delete;

    std::uint8_t* Data() const noexcept { return data_; }
    std::uint32_t Size() const noexcept { return size_; }
    bool Owns() const noexcept { return owns_; }

    // The whole content of an open C stream, positioned anywhere. An empty
    // stream gives an empty buffer; a short read raises "Error reading file".
    static SmartPtr<ByteBuffer> ReadWholeStream(std::FILE* stream);

private:
    std::uint8_t* data_ = nullptr;
    std::uint32_t size_ = 0;
    bool owns_ = false;
};
