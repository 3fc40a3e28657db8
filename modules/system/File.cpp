#include "modules/system/File.h"

#include "modules/system/Exception.h"
#include "platform/FileDescriptor.h"

namespace {
enum : std::int32_t { kFileNotOpen = 1004, kFileAlreadyOpen = 1005 };
}

void File::CheckOpen() const {
    if (descriptor_ < 0)
        COREKIT_RAISE(System::Exception(kFileNotOpen));
}

void File::Open(const System::String& path, bool write, bool create) {
    if (descriptor_ >= 0)
        COREKIT_RAISE(System::Exception(kFileAlreadyOpen));
    platform::FileOpenOptions options;
    options.access =
        write || create ? platform::FileAccess::ReadWrite : platform::FileAccess::ReadOnly;
    options.create = create;
    options.readOnlyNew = create && !write;
    const int fd = platform::OpenFileDescriptor(path.View(), options);
    if (fd < 0)
        COREKIT_RAISE(System::IO::FileOpenException(path.CStr()));
    descriptor_ = fd;
}

int File::Close() {
    CheckOpen();
    const int result = platform::CloseFileDescriptor(descriptor_);
    descriptor_ = -1;
    return result;
}

void File::CloseIfOpen() noexcept {
    if (descriptor_ >= 0) {
        platform::CloseFileDescriptor(descriptor_);
        descriptor_ = -1;
    }
}

std::int32_t File::Read(void* data, std::uint32_t count) {
    CheckOpen();
    // One request reads at most 2 GB - 1 bytes, so the count fits the result.
    if (count > 0x7FFFFFFFu)
        count = 0x7FFFFFFFu;
    return static_cast<std::int32_t>(platform::ReadFileDescriptor(descriptor_, data, count));
}

std::int32_t File::Write(const void* data, std::uint32_t count) {
    CheckOpen();
    if (count > 0x7FFFFFFFu)
        count = 0x7FFFFFFFu;
    return static_cast<std::int32_t>(platform::WriteFileDescriptor(descriptor_, data, count));
}

std::int64_t File::Seek(std::int64_t offset, std::int32_t origin) {
    CheckOpen();
    if (origin < 0 || origin > 2)
        COREKIT_RAISE(System::UnreacheableCodeException());
    const std::int64_t position = platform::SeekFileDescriptor(descriptor_, offset, origin);
    if (position < 0)
        COREKIT_RAISE(System::Exception());
    return position;
}

std::int64_t File::GetLength() {
    CheckOpen();
    const std::int64_t position = platform::SeekFileDescriptor(descriptor_, 0, 1);
    if (position < 0)
        COREKIT_RAISE(System::Exception());
    const std::int64_t length = platform::SeekFileDescriptor(descriptor_, 0, 2);
    if (length < 0)
        COREKIT_RAISE(System::Exception());
    platform::SeekFileDescriptor(descriptor_, position, 0);
    return length;
}
