// System::IO::FileStream: the counted stream over a File.
#pragma once

#include "modules/system/File.h"
#include "modules/system/Stream.h"
#include "modules/system/String.h"

namespace System::IO {

class FileStream : public Stream {
public:
    // Opens the file with File::Open's rules; the count starts at 0.
    FileStream(const String& path, bool write, bool create);
    ~FileStream() override = default;

    // The array must hold `count` bytes (else message 1022); an array
    // without a buffer raises NullPointerException.
    std::int32_t Read(ByteArray& array, std::uint32_t count) override;
    // offset + count must fit the array (else message 1022).
    std::int32_t Write(const ByteArray& array, std::uint32_t offset, std::uint32_t count) override;
    std::int64_t GetLength() override { return file_.GetLength(); }
    std::int64_t Seek(std::int64_t offset, std::int32_t origin) override {
        return file_.Seek(offset, origin);
    }
    std::int32_t Close() override { return file_.Close(); }

    const String& GetPath() const noexcept { return path_; }

private:
    File file_;
    String path_;
};

}  // namespace System::IO
