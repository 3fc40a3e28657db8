#include "platform/Utf8.h"

#include <cstdint>

namespace platform {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

inline bool IsHighSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
inline bool IsLowSurrogate(char32_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

}  // namespace

void AppendUtf8(std::string& out, std::u16string_view text) {
    out.reserve(out.size() + text.size());
    const size_t n = text.size();
    for (size_t i = 0; i < n; ++i) {
        char32_t c = text[i];
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            continue;
        }
        if (IsHighSurrogate(c) && i + 1 < n && IsLowSurrogate(text[i + 1])) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
            c = kReplacement;
        }
        if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
}

std::string ToUtf8(std::u16string_view text) {
    std::string out;
    AppendUtf8(out, text);
    return out;
}

void AppendUtf16(std::u16string& out, std::string_view text) {
    const auto* s = reinterpret_cast<const std::uint8_t*>(text.data());
    const size_t n = text.size();
    out.reserve(out.size() + n);
    size_t i = 0;
    while (i < n) {
        const std::uint8_t b = s[i];
        if (b < 0x80) {
            out.push_back(b);
            ++i;
            continue;
        }
        size_t need;
        char32_t c;
        char32_t min;
        if (b >= 0xC2 && b <= 0xDF) {
            need = 1, c = b & 0x1F, min = 0x80;
        } else if (b >= 0xE0 && b <= 0xEF) {
            need = 2, c = b & 0x0F, min = 0x800;
        } else if (b >= 0xF0 && b <= 0xF4) {
            need = 3, c = b & 0x07, min = 0x10000;
        } else {
            out.push_back(kReplacement);
            ++i;
            continue;
        }
        size_t j = 1;
        for (; j <= need && i + j < n && (s[i + j] & 0xC0) == 0x80; ++j) {
            c = (c << 6) | (s[i + j] & 0x3F);
        }
        if (j <= need || c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            // Malformed: replace the lead byte and the continuation bytes seen.
            out.push_back(kReplacement);
            i += j;
            continue;
        }
        if (c >= 0x10000) {
            c -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(c));
        }
        i += need + 1;
    }
}

std::u16string ToUtf16(std::string_view text) {
    std::u16string out;
    AppendUtf16(out, text);
    return out;
}

}  // namespace platform
