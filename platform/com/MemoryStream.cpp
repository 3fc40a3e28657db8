#include "platform/com/MemoryStream.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace platform::com {

ComPtr<MemoryStream> MemoryStream::Create(std::string_view contents) {
    return ComPtr<MemoryStream>(new MemoryStream(contents));
}

std::string MemoryStream::Contents() const {
    std::lock_guard lock(mutex_);
    return bytes_;
}

HResult MemoryStream::read(void* buffer, std::uint32_t size, std::uint32_t* read) {
    if (read)
        *read = 0;
    if (!buffer && size)
        return E_POINTER;
    std::lock_guard lock(mutex_);
    if (position_ >= bytes_.size())
        return S_OK;
    const auto n =
        static_cast<std::uint32_t>(std::min<std::uint64_t>(size, bytes_.size() - position_));
    std::memcpy(buffer, bytes_.data() + position_, n);
    position_ += n;
    if (read)
        *read = n;
    return S_OK;
}

HResult MemoryStream::write(const void* data, std::uint32_t size, std::uint32_t* written) {
    if (written)
        *written = 0;
    if (!data && size)
        return E_POINTER;
    std::lock_guard lock(mutex_);
    const std::uint64_t end = position_ + size;
    if (end > bytes_.max_size())
        return E_OUTOFMEMORY;
    if (end > bytes_.size())
        bytes_.resize(static_cast<std::size_t>(end));
    if (size)
        std::memcpy(bytes_.data() + position_, data, size);
    position_ = end;
    if (written)
        *written = size;
    return S_OK;
}

HResult MemoryStream::seek(std::int64_t offset, SeekOrigin origin, std::uint64_t* position) {
    std::lock_guard lock(mutex_);
    std::int64_t base = 0;
    if (origin == SeekOrigin::kCurrent)
        base = static_cast<std::int64_t>(position_);
    if (origin == SeekOrigin::kEnd)
        base = static_cast<std::int64_t>(bytes_.size());
    if ((offset < 0 && base + offset < 0) ||
        (offset > 0 && base > std::numeric_limits<std::int64_t>::max() - offset)) {
        return E_INVALIDARG;
    }
    position_ = static_cast<std::uint64_t>(base + offset);
    if (position)
        *position = position_;
    return S_OK;
}

HResult MemoryStream::getSize(std::uint64_t* size) {
    if (!size)
        return E_POINTER;
    std::lock_guard lock(mutex_);
    *size = bytes_.size();
    return S_OK;
}

HResult MemoryStream::setSize(std::uint64_t size) {
    std::lock_guard lock(mutex_);
    if (size > bytes_.max_size())
        return E_OUTOFMEMORY;
    bytes_.resize(static_cast<std::size_t>(size));
    return S_OK;
}

}  // namespace platform::com
