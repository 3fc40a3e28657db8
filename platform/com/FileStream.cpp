#include "platform/com/FileStream.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/Utf8.h"

namespace platform::com {

HResult FileStream::Open(std::u16string_view path, FileAccess access, FileDisposition disposition,
                         FileShare share, ComPtr<IStream>& out) {
    out.Reset();
    if (path.empty())
        return E_INVALIDARG;
    const std::string native = ToUtf8(path);
    int flags = O_CLOEXEC;
    switch (access) {
        case FileAccess::kRead:
            flags |= O_RDONLY;
            break;
        case FileAccess::kWrite:
            flags |= O_WRONLY;
            break;
        case FileAccess::kReadWrite:
            flags |= O_RDWR;
            break;
    }
    switch (disposition) {
        case FileDisposition::kOpenExisting:
            break;
        // Truncation waits until the lock is held, so that a file another
        // writer holds is not emptied under it.
        case FileDisposition::kCreateAlways:
            flags |= O_CREAT;
            break;
        case FileDisposition::kOpenAlways:
            flags |= O_CREAT;
            break;
        case FileDisposition::kCreateNew:
            flags |= O_CREAT | O_EXCL;
            break;
    }
    const bool writes = access != FileAccess::kRead;
    if (!writes && disposition == FileDisposition::kCreateAlways)
        return E_INVALIDARG;
    const int fd = ::open(native.c_str(), flags, 0666);
    if (fd < 0)
        return ResultFromErrno(errno);
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(fd);
        return E_ACCESSDENIED;
    }
    if (share == FileShare::kDenyWrite) {
        const int operation = (writes ? LOCK_EX : LOCK_SH) | LOCK_NB;
        if (::flock(fd, operation) != 0) {
            const int error = errno;
            ::close(fd);
            return error == EWOULDBLOCK ? E_SHARING_VIOLATION : ResultFromErrno(error);
        }
    }
    if (disposition == FileDisposition::kCreateAlways && ::ftruncate(fd, 0) != 0) {
        const int error = errno;
        ::close(fd);
        return ResultFromErrno(error);
    }
    auto* stream = new FileStream(fd);
    return ComPtr<FileStream>(stream).As(out);
}

FileStream::~FileStream() {
    ::close(fd_);
}

HResult FileStream::read(void* buffer, std::uint32_t size, std::uint32_t* read) {
    if (read)
        *read = 0;
    if (!buffer && size)
        return E_POINTER;
    std::uint32_t total = 0;
    while (total < size) {
        const ssize_t n = ::read(fd_, static_cast<char*>(buffer) + total, size - total);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (read)
                *read = total;
            return ResultFromErrno(errno);
        }
        if (n == 0)
            break;
        total += static_cast<std::uint32_t>(n);
    }
    if (read)
        *read = total;
    return S_OK;
}

HResult FileStream::write(const void* data, std::uint32_t size, std::uint32_t* written) {
    if (written)
        *written = 0;
    if (!data && size)
        return E_POINTER;
    std::uint32_t total = 0;
    while (total < size) {
        const ssize_t n = ::write(fd_, static_cast<const char*>(data) + total, size - total);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (written)
                *written = total;
            return ResultFromErrno(errno);
        }
        total += static_cast<std::uint32_t>(n);
    }
    if (written)
        *written = total;
    return S_OK;
}

HResult FileStream::seek(std::int64_t offset, SeekOrigin origin, std::uint64_t* position) {
    int whence = SEEK_SET;
    if (origin == SeekOrigin::kCurrent)
        whence = SEEK_CUR;
    if (origin == SeekOrigin::kEnd)
        whence = SEEK_END;
    const off_t result = ::lseek(fd_, static_cast<off_t>(offset), whence);
    if (result < 0)
        return errno == EINVAL ? E_INVALIDARG : ResultFromErrno(errno);
    if (position)
        *position = static_cast<std::uint64_t>(result);
    return S_OK;
}

HResult FileStream::getSize(std::uint64_t* size) {
    if (!size)
        return E_POINTER;
    struct stat info {};
    if (::fstat(fd_, &info) != 0)
        return ResultFromErrno(errno);
    *size = static_cast<std::uint64_t>(info.st_size);
    return S_OK;
}

HResult FileStream::setSize(std::uint64_t size) {
    if (::ftruncate(fd_, static_cast<off_t>(size)) != 0)
        return ResultFromErrno(errno);
    return S_OK;
}

HResult FileStream::commit() {
    if (::fsync(fd_) != 0 && errno != EINVAL)
        return ResultFromErrno(errno);
    return S_OK;
}

}  // namespace platform::com
