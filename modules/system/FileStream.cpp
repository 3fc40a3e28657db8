#include "modules/system/FileStream.h"

#include "modules/system/Exception.h"

namespace System::IO {

namespace {
constexpr std::int32_t kInvalidBufferLength = 1022;
}

FileStream::FileStream(const String& path, bool write, bool create) : path_(path) {
    file_.Open(path, write, create);
}

std::int32_t FileStream::Read(ByteArray& array, std::uint32_t count) {
    if (array.Size() < count)
        COREKIT_RAISE(Exception(kInvalidBufferLength));
    std::uint8_t* data = array.Data();
    return file_.Read(data, count);
}

std::int32_t FileStream::Write(const ByteArray& array, std::uint32_t offset, std::uint32_t count) {
    if (static_cast<std::uint64_t>(offset) + count > array.Size()) {
        COREKIT_RAISE(Exception(kInvalidBufferLength));
    }
    const std::uint8_t* data = array.Data();
    return file_.Write(data + offset, count);
}

}  // namespace System::IO
