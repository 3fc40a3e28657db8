// Encoder: conversions between UTF-16 text and narrow byte text.
//
// Narrow text is one byte per code unit of the same value (0 to 255), the
// way the C library's start-up locale treats bytes; units above 255 have no
// narrow form.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace System {

class String;

class Encoder {
public:
    // Bytes up to the first zero byte, each becoming the code unit of the
    // same value. A null pointer gives an empty text.
    static std::u16string NarrowToUtf16(const char* narrow);
    static std::u16string NarrowToUtf16(std::string_view narrow);
    // The null string for a null pointer or an empty text.
    static String NarrowToString(const char* narrow);

    // Units up to the first null unit, each becoming one byte. A null
    // pointer or an empty text gives an empty byte string; a unit above 255
    // raises Exception(1006) "String can not be converted".
    static std::string Utf16ToNarrow(const char16_t* text);
    static std::string Utf16ToNarrow(std::u16string_view text);

    // Standard base64 (RFC 4648 alphabet and "=" padding) without line
    // breaks, in blocks of 57 bytes giving 76 characters each. The result is
    // a block from the C heap (free it with std::free), not terminated;
    // `charCount` receives its length.
    static char16_t* Base64Encode(const std::uint8_t* bytes, std::int32_t count,
                                  std::int32_t& charCount);
    // Decodes chunks of 76 characters, each on its own. A chunk of fewer than
    // 4 characters, or holding a character that is neither in the alphabet
    // nor "=" (before its padding), or a "=" in the first two places of a
    // group, gives no bytes; the other chunks still decode. Never raises for
    // malformed text. The result is a block from the C heap (free it with
    // std::free); `byteCount` receives its length.
    static std::uint8_t* Base64Decode(const char16_t* text, std::int32_t count,
                                      std::int32_t& byteCount);
};

}  // namespace System
