// A stream on a growable block of memory.
#pragma once

#include <mutex>
#include <string>
#include <string_view>

#include "platform/com/ComObject.h"
#include "platform/com/Stream.h"

namespace platform::com {

class MemoryStream final : public ComObject<IStream> {
public:
    // A stream holding a copy of `contents`, positioned at the start.
    static ComPtr<MemoryStream> Create(std::string_view contents = {});

    // A copy of all bytes of the stream, whatever the position.
    std::string Contents() const;

    HResult read(void* buffer, std::uint32_t size, std::uint32_t* read) override;
    HResult write(const void* data, std::uint32_t size, std::uint32_t* written) override;
    HResult seek(std::int64_t offset, SeekOrigin origin, std::uint64_t* position) override;
    HResult getSize(std::uint64_t* size) override;
    HResult setSize(std::uint64_t size) override;
    HResult commit() override { return S_OK; }

    explicit MemoryStream(std::string_view contents) : bytes_(contents) {}

private:
    mutable std::mutex mutex_;
    std::string bytes_;
    std::uint64_t position_ = 0;
};

}  // namespace platform::com
