#include "platform/FileDescriptor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <limits>

#include "platform/SystemError.h"
#include "platform/Utf8.h"

namespace platform {

int OpenFileDescriptor(std::u16string_view path, const FileOpenOptions& options) {
    int flags = O_CLOEXEC | (options.access == FileAccess::ReadOnly ? O_RDONLY : O_RDWR);
    if (options.create)
        flags |= O_CREAT | O_TRUNC;
    const mode_t mode = options.readOnlyNew ? 0444 : 0666;
    int fd;
    do {
        fd = ::open(ToUtf8(path).c_str(), flags, mode);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        SetLastErrorFromErrno();
    return fd;
}

std::int64_t ReadFileDescriptor(int fd, void* data, std::size_t count) {
    auto* bytes = static_cast<char*>(data);
    std::size_t done = 0;
    // Read until the count, the end of the file or an error: a short read
    // from a pipe or a signal is not the end of the file.
    while (done < count) {
        const ssize_t n = ::read(fd, bytes + done, count - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            SetLastErrorFromErrno();
            return -1;
        }
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return static_cast<std::int64_t>(done);
}

std::int64_t WriteFileDescriptor(int fd, const void* data, std::size_t count) {
    const auto* bytes = static_cast<const char*>(data);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::write(fd, bytes + done, count - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            SetLastErrorFromErrno();
            return -1;
        }
        done += static_cast<std::size_t>(n);
    }
    return static_cast<std::int64_t>(done);
}

std::int64_t SeekFileDescriptor(int fd, std::int64_t offset, int origin) {
    const int whence = origin == 0 ? SEEK_SET : origin == 1 ? SEEK_CUR : SEEK_END;
    const off_t position = ::lseek(fd, static_cast<off_t>(offset), whence);
    if (position < 0) {
        SetLastErrorFromErrno();
        return -1;
    }
    return position;
}

int CloseFileDescriptor(int fd) {
    if (::close(fd) != 0) {
        SetLastErrorFromErrno();
        return -1;
    }
    return 0;
}

}  // namespace platform
