#include "modules/system/MemoryBuffer.h"

#include <cstring>

#include "modules/system/Memory.h"

namespace System {

MemoryBuffer::MemoryBuffer(std::uint32_t size) {
    if (size == 0)
        return;
    data_ = static_cast<std::uint8_t*>(Memory::Allocate(size, false));
    size_ = size;
}

MemoryBuffer::MemoryBuffer(const void* data, std::uint32_t size) {
    if (!data || size == 0)
        return;
    data_ = static_cast<std::uint8_t*>(Memory::Allocate(size, false));
    std::memcpy(data_, data, size);
    size_ = size;
}

MemoryBuffer::~MemoryBuffer() {
    Memory::Free(data_);
}

void MemoryBuffer::Resize(std::uint32_t size) {
    if (size == 0) {
        Memory::Free(data_);
        data_ = nullptr;
        size_ = 0;
        return;
    }
    data_ = static_cast<std::uint8_t*>(Memory::Reallocate(data_, size));
    size_ = size;
}

}  // namespace System
