// File: a thin owner of a file descriptor that turns misuse into exceptions.
//
// Files are opened in binary mode and shared: other processes may read and
// write them at the same time. Read and write errors are reported only
// through a -1 result.
#pragma once

#include <cstddef>
#include <cstdint>

#include "modules/system/String.h"

class File {
public:
    File() noexcept = default;
    ~File() { CloseIfOpen(); }
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // write  create  access      creation                       new file
    // clear  clear   read only   must exist                     -
    // clear  set     read+write  created, or truncated to 0     read-only
    // set    clear   read+write  must exist                     -
    // set    set     read+write  created, or truncated to 0     read+write
    // Raises "File is already open" when open, FileOpenException on failure.
    void Open(const System::String& path, bool write, bool create);
    // Raises "File is not open" when closed; returns the close result.
    int Close();
    void CloseIfOpen() noexcept;
    bool IsOpen() const noexcept { return descriptor_ >= 0; }

    // Bytes read (0 at the end of the file) or -1.
    std::int32_t Read(void* data, std::uint32_t count);
    // Bytes written or -1.
    std::int32_t Write(const void* data, std::uint32_t count);
    // origin 0 start, 1 current, 2 end; returns the new position. A failed
    // seek raises an Exception with an empty message.
    std::int64_t Seek(std::int64_t offset, std::int32_t origin);
    // The length; the position stays where it was.
    std::int64_t GetLength();

private:
    void CheckOpen() const;

    std::int32_t descriptor_ = -1;
};
