#include "modules/system/ByteBuffer.h"

#include <cstdlib>
#include <limits>
#include <new>

#include "services/CoreError.h"

ByteBuffer::ByteBuffer(std::uint32_t size) {
    if (size == 0)
        return;
    if (size > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max())) {
        RaiseCoreError(static_cast<const void*>(this),
                       u"Out of memory (failed to allocate %u bytes for %s)", size, u"ByteBuffer");
    }
    data_ =
        static_cast<std::uint8_t*>(AllocateOrRaise(static_cast<std::int32_t>(size), u"ByteBuffer"));
    size_ = size;
    owns_ = true;
}

ByteBuffer::~ByteBuffer() {
    if (data_ && owns_)
        std::free(data_);
}

SmartPtr<ByteBuffer> ByteBuffer::ReadWholeStream(std::FILE* stream) {
    if (std::fseek(stream, 0, SEEK_END) != 0)
        RaiseCoreError(u"Error reading file");
    const long size = std::ftell(stream);
    if (size < 0 || std::fseek(stream, 0, SEEK_SET) != 0)
        RaiseCoreError(u"Error reading file");
    // The largest block AllocateOrRaise can give.
    if (size > std::numeric_limits<std::int32_t>::max())
        RaiseCoreError(u"Error reading file");
    const auto byteCount = static_cast<std::uint32_t>(size);
    // The object itself, and then its bytes (which raise on their own).
    auto* object = new (std::nothrow) ByteBuffer(nullptr, 0, false);
    if (!object) {
        RaiseCoreError(u"Out of memory (failed to allocate object of type '%s').", u"ByteBuffer");
    }
    SmartPtr<ByteBuffer> buffer(object);
    if (byteCount == 0)
        return buffer;
    object->data_ = static_cast<std::uint8_t*>(
        AllocateOrRaise(static_cast<std::int32_t>(byteCount), u"ByteBuffer"));
    object->size_ = byteCount;
    object->owns_ = true;
    if (std::fread(buffer->Data(), byteCount, 1, stream) != 1)
        RaiseCoreError(u"Error reading file");
    return buffer;
}
