#include "modules/system/Encoder.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "modules/system/Exception.h"
#include "modules/system/String.h"
#include "services/CoreError.h"

namespace System {

namespace {
constexpr std::int32_t kCannotConvert = 1006;
}

std::u16string Encoder::NarrowToUtf16(std::string_view narrow) {
    std::u16string text;
    text.resize(narrow.size());
    for (std::size_t i = 0; i < narrow.size(); ++i) {
        text[i] = static_cast<unsigned char>(narrow[i]);
    }
    return text;
}

std::u16string Encoder::NarrowToUtf16(const char* narrow) {
    if (!narrow)
        return {};
    return NarrowToUtf16(std::string_view(narrow, std::strlen(narrow)));
}

String Encoder::NarrowToString(const char* narrow) {
    return String(narrow);
}

std::string Encoder::Utf16ToNarrow(std::u16string_view text) {
    std::string narrow;
    narrow.resize(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] > 0xFF)
            COREKIT_RAISE(Exception(kCannotConvert));
        narrow[i] = static_cast<char>(text[i]);
    }
    return narrow;
}

std::string Encoder::Utf16ToNarrow(const char16_t* text) {
    if (!text)
        return {};
    return Utf16ToNarrow(std::u16string_view(text));
}

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::int32_t kBlockBytes = 57;
constexpr std::int32_t kBlockChars = 76;

// 6-bit value of a base64 character; -1 for "=", -2 for anything else.
int Base64Value(char16_t c) {
    if (c >= u'A' && c <= u'Z')
        return c - u'A';
    if (c >= u'a' && c <= u'z')
        return c - u'a' + 26;
    if (c >= u'0' && c <= u'9')
        return c - u'0' + 52;
    if (c == u'+')
        return 62;
    if (c == u'/')
        return 63;
    if (c == u'=')
        return -1;
    return -2;
}

// Decodes one chunk into `out`; returns the bytes it gave.
std::int32_t DecodeChunk(const char16_t* chunk, std::int32_t length, std::uint8_t* out) {
    std::int32_t n = 0;
    for (std::int32_t g = 0; g + 4 <= length; g += 4) {
        int v[4];
        for (int k = 0; k < 4; ++k)
            v[k] = Base64Value(chunk[g + k]);
        if (v[0] < 0 || v[1] < 0 || v[2] == -2)
            return 0;
        if (v[2] == -1) {  // "=" third: one more byte, the chunk ends
            out[n++] = static_cast<std::uint8_t>((v[0] << 2) | (v[1] >> 4));
            return n;
        }
        if (v[3] == -2)
            return 0;
        const std::uint32_t bits = (static_cast<std::uint32_t>(v[0]) << 18) |
                                   (static_cast<std::uint32_t>(v[1]) << 12) |
                                   (static_cast<std::uint32_t>(v[2]) << 6) |
                                   static_cast<std::uint32_t>(v[3] < 0 ? 0 : v[3]);
        out[n++] = static_cast<std::uint8_t>(bits >> 16);
        out[n++] = static_cast<std::uint8_t>(bits >> 8);
        if (v[3] == -1)
            return n;  // "=" fourth: two bytes, the chunk ends
        out[n++] = static_cast<std::uint8_t>(bits);
    }
    return n;
}

}  // namespace

char16_t* Encoder::Base64Encode(const std::uint8_t* bytes, std::int32_t count,
                                std::int32_t& charCount) {
    if (count < 0)
        count = 0;
    const std::int64_t units = static_cast<std::int64_t>(count / kBlockBytes) * kBlockChars + 77;
    auto* out = static_cast<char16_t*>(AllocateOrRaise(
        static_cast<std::int32_t>(std::min<std::int64_t>(units * 2, INT32_MAX)), u"Base64Encode"));
    std::int32_t n = 0;
    std::int32_t i = 0;
    for (; i + 3 <= count; i += 3) {
        const std::uint32_t bits = (bytes[i] << 16) | (bytes[i + 1] << 8) | bytes[i + 2];
        out[n++] = kAlphabet[bits >> 18];
        out[n++] = kAlphabet[(bits >> 12) & 0x3F];
        out[n++] = kAlphabet[(bits >> 6) & 0x3F];
        out[n++] = kAlphabet[bits & 0x3F];
    }
    if (count - i == 1) {
        const std::uint32_t bits = bytes[i] << 16;
        out[n++] = kAlphabet[bits >> 18];
        out[n++] = kAlphabet[(bits >> 12) & 0x3F];
        out[n++] = u'=';
        out[n++] = u'=';
    } else if (count - i == 2) {
        const std::uint32_t bits = (bytes[i] << 16) | (bytes[i + 1] << 8);
        out[n++] = kAlphabet[bits >> 18];
        out[n++] = kAlphabet[(bits >> 12) & 0x3F];
        out[n++] = kAlphabet[(bits >> 6) & 0x3F];
        out[n++] = u'=';
    }
    // Blocks of 57 bytes are whole groups of 3, so encoding the bytes in
    // one run gives exactly the blocks of 76 characters back to back.
    charCount = n;
    return out;
}

std::uint8_t* Encoder::Base64Decode(const char16_t* text, std::int32_t count,
                                    std::int32_t& byteCount) {
    if (count < 0)
        count = 0;
    const std::int64_t size = static_cast<std::int64_t>(count / kBlockChars + 1) * kBlockBytes;
    auto* out = static_cast<std::uint8_t*>(AllocateOrRaise(
        static_cast<std::int32_t>(std::min<std::int64_t>(size, INT32_MAX)), u"Base64Decode"));
    byteCount = 0;
    for (std::int32_t start = 0; start < count; start += kBlockChars) {
        const std::int32_t length = std::min(kBlockChars, count - start);
        byteCount += DecodeChunk(text + start, length, out + byteCount);
    }
    return out;
}

}  // namespace System
