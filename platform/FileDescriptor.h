// Thin wrappers over POSIX file descriptors on UTF-16 paths. Every failure
// sets the thread's last error from errno.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace platform {

enum class FileAccess { ReadOnly, ReadWrite };

struct FileOpenOptions {
    FileAccess access = FileAccess::ReadOnly;
    bool create = false;       // create when missing, truncate when present
    bool readOnlyNew = false;  // a created file gets read-only permissions
};

// Returns the descriptor, or -1.
int OpenFileDescriptor(std::u16string_view path, const FileOpenOptions& options);
// Bytes read (0 at the end), or -1.
std::int64_t ReadFileDescriptor(int fd, void* data, std::size_t count);
// Bytes written, or -1.
std::int64_t WriteFileDescriptor(int fd, const void* data, std::size_t count);
// origin 0 start, 1 current, 2 end. The new position, or -1.
std::int64_t SeekFileDescriptor(int fd, std::int64_t offset, int origin);
// 0, or -1.
int CloseFileDescriptor(int fd);

}  // namespace platform
