#include "modules/system/ByteArray.h"

#include <cstring>

#include "modules/system/Exception.h"

namespace System {

ByteArray::ByteArray(std::uint32_t size, bool zeroFill) {
    if (size == 0)
        return;
    buffer_ = new MemoryBuffer(size);
    if (zeroFill)
        std::memset(buffer_.Get()->Data(), 0, size);
}

ByteArray::ByteArray(const void* data, std::uint32_t size) {
    if (size == 0)
        return;
    buffer_ = new MemoryBuffer(data, size);
}

void ByteArray::Resize(std::uint32_t size, bool zeroFill) {
    if (buffer_) {
        buffer_.Get()->Resize(size);
    } else {
        buffer_ = new MemoryBuffer(size);
    }
    if (zeroFill && size > 0)
        std::memset(buffer_.Get()->Data(), 0, size);
}

std::uint8_t* ByteArray::Data() const {
    if (!buffer_)
        COREKIT_RAISE(NullPointerException());
    return buffer_.Get()->Data();
}

}  // namespace System
