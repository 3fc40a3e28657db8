// A stream on a file. Paths are UTF-16 and reach the OS as UTF-8.
//
// Share modes: kDenyWrite takes an advisory flock on the open file (shared
// for read-only access, exclusive when writing), without waiting. Two readers
// that deny writing coexist; a writer that denies writing excludes every
// other kDenyWrite open of the file, in this process or another, which then
// fails with E_SHARING_VIOLATION. kDenyNone takes no lock. Locks only bind
// code that asks for them (plain open() of the file still works).
#pragma once

#include <string_view>

#include "platform/com/ComObject.h"
#include "platform/com/Stream.h"

namespace platform::com {

enum class FileAccess { kRead, kWrite, kReadWrite };
enum class FileDisposition {
    kOpenExisting,  // fails with E_FILE_NOT_FOUND when missing
    kCreateAlways,  // creates or truncates
    kOpenAlways,    // opens or creates, keeps the contents
    kCreateNew,     // fails with E_FILE_EXISTS when present
};
enum class FileShare { kDenyNone, kDenyWrite };

class FileStream final : public ComObject<IStream> {
public:
    static HResult Open(std::u16string_view path, FileAccess access, FileDisposition disposition,
                        FileShare share, ComPtr<IStream>& out);

    HResult read(void* buffer, std::uint32_t size, std::uint32_t* read) override;
    HResult write(const void* data, std::uint32_t size, std::uint32_t* written) override;
    HResult seek(std::int64_t offset, SeekOrigin origin, std::uint64_t* position) override;
    HResult getSize(std::uint64_t* size) override;
    HResult setSize(std::uint64_t size) override;
    HResult commit() override;

    explicit FileStream(int fd) : fd_(fd) {}

private:
    ~FileStream() override;

    int fd_;
};

}  // namespace platform::com
