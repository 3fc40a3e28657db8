#include "modules/system/Memory.h"

#include <cstdlib>

#include "modules/system/Exception.h"

void* Memory::Allocate(std::uint32_t size, bool zeroFill) {
    // A zero size still gives a block of its own.
    void* block = zeroFill ? std::calloc(size ? size : 1, 1) : std::malloc(size ? size : 1);
    if (!block)
        COREKIT_RAISE(System::OutOfMemoryException(size));
    return block;
}

void* Memory::Reallocate(void* block, std::uint32_t size) {
    void* resized = std::realloc(block, size ? size : 1);
    if (!resized)
        COREKIT_RAISE(System::OutOfMemoryException(size));
    return resized;
}

void Memory::Free(void* block) noexcept {
    std::free(block);
}
