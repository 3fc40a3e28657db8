// TextReader: reads a whole stream as text.
#pragma once

#include <cstdint>

#include "modules/system/Stream.h"
#include "modules/system/String.h"
#include "xml/model/SmartPtr.h"

class TextReader {
public:
    // The one encoding with an implementation: one byte per code unit of the
    // same value.
    static constexpr std::int32_t kSingleByte = 2;

    TextReader(SmartPtr<System::IO::Stream> stream, std::int32_t encoding)
        : stream_(std::move(stream)), encoding_(encoding) {}

    // Reads from the current position, as many bytes as the stream is long,
    // and converts them up to the first zero byte; never the null string.
    // Raises for another encoding (empty message), for an empty stream
    // ("Null pointer exception": the array of 0 bytes has no buffer) and for
    // a read error (message 1015 with the system's text).
    System::String ReadToEnd();

private:
    SmartPtr<System::IO::Stream> stream_;
    std::int32_t encoding_;
};
