// System::IO::Stream: the byte stream interface of the base library.
#pragma once

#include <cstdint>

#include "modules/system/ByteArray.h"
#include "modules/system/Object.h"

namespace System::IO {

class Stream : public Object {
public:
    // Reads `count` bytes into the start of the array; bytes read, 0 at the
    // end, -1 on error.
    virtual std::int32_t Read(ByteArray& array, std::uint32_t count) = 0;
    // Writes `count` bytes of the array from `offset`; bytes written or -1.
    virtual std::int32_t Write(const ByteArray& array, std::uint32_t offset,
                               std::uint32_t count) = 0;
    virtual std::int64_t GetLength() = 0;
    // origin 0 start, 1 current, 2 end; the new position.
    virtual std::int64_t Seek(std::int64_t offset, std::int32_t origin) = 0;
    virtual std::int32_t Close() = 0;
};

}  // namespace System::IO
