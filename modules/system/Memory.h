// Memory: C heap blocks that raise System::OutOfMemoryException instead of
// returning null.
#pragma once

#include <cstddef>
#include <cstdint>

class Memory {
public:
    static void* Allocate(std::uint32_t size, bool zeroFill);
    // Keeps the first min(old, new) bytes; on failure the old block stays
    // valid.
    static void* Reallocate(void* block, std::uint32_t size);
    static void Free(void* block) noexcept;
};
