// The byte stream interface that the parser components read from and write
// to, and that callers of load and save pass in.
#pragma once

#include <cstdint>

#include "platform/com/Unknown.h"

namespace platform::com {

enum class SeekOrigin { kBegin, kCurrent, kEnd };

class IStream : public IUnknown {
public:
    using Base = IUnknown;
    static constexpr Guid kIid = MakeGuid("{40C84E26-7D25-4D3A-A87C-7DD1DCA067F4}");

    // Reads up to `size` bytes; *read (optional) receives the count, which is
    // 0 at the end of the stream. S_OK also when fewer bytes were available.
    virtual HResult read(void* buffer, std::uint32_t size, std::uint32_t* read) = 0;
    // Writes all `size` bytes or fails; *written (optional) receives the count.
    virtual HResult write(const void* data, std::uint32_t size, std::uint32_t* written) = 0;
    // Moves the position; *position (optional) receives the new position.
    // Seeking before the start is E_INVALIDARG; seeking past the end is allowed.
    virtual HResult seek(std::int64_t offset, SeekOrigin origin, std::uint64_t* position) = 0;
    virtual HResult getSize(std::uint64_t* size) = 0;
    virtual HResult setSize(std::uint64_t size) = 0;
    // Makes written data durable (files: fsync); a no-op for memory.
    virtual HResult commit() = 0;

protected:
    ~IStream() = default;
};

}  // namespace platform::com
