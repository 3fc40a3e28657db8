// Format: integer <-> text conversions of the message formatter and of the
// settings tool.
#pragma once

#include <cstdint>

#include "modules/system/String.h"

namespace System {

class Format {
public:
    // Lower-case hexadecimal without prefix when `spec` is exactly "hex",
    // signed decimal otherwise.
    static String IntToString(std::int32_t value, const String& spec = String());

    // Reads the text like the C library's "%d": leading white space, an
    // optional sign, decimal digits up to the first other character; the
    // value keeps the low 32 bits. No number raises an Exception with an
    // empty message.
    static std::int32_t ParseInt(const String& text);
    // Reads the text like "0x%x": the literal 0x, then leading white space,
    // an optional sign, an optional 0x or 0X, hexadecimal digits of either
    // case; the value keeps the low 32 bits. No number raises an Exception
    // with an empty message.
    static std::int32_t ParseHex(const String& text);

    // The value of a hexadecimal digit of either case, -1 for other units.
    static int HexDigitValue(char16_t unit) noexcept;
};

}  // namespace System
