#include "modules/system/Format.h"

#include <string>

namespace System {

namespace {

// The shared tail of %d and %x: white space, sign, [prefix,] digits.
// Returns false when no digit was read.
bool ScanInteger(std::u16string_view text, std::size_t pos, int base, std::uint32_t& value) {
    while (pos < text.size() && String::IsWhiteSpace(text[pos]))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-')) {
        negative = text[pos] == u'-';
        ++pos;
    }
    // An optional 0x or 0X, taken only when a digit follows it (otherwise
    // its 0 is the number).
    if (base == 16 && pos + 2 < text.size() && text[pos] == u'0' &&
        (text[pos + 1] == u'x' || text[pos + 1] == u'X') && Format::HexDigitValue(text[pos + 2]) >= 0) {
        pos += 2;
    }
    std::uint32_t result = 0;
    std::size_t digits = 0;
    for (; pos < text.size(); ++pos, ++digits) {
        const int d = Format::HexDigitValue(text[pos]);
        if (d < 0 || d >= base)
            break;
        result = result * static_cast<std::uint32_t>(base) + static_cast<std::uint32_t>(d);
    }
    if (digits == 0)
        return false;
    value = negative ? 0u - result : result;
    return true;
}

}  // namespace

String Format::IntToString(std::int32_t value, const String& spec) {
    std::string text;
    if (spec == u"hex") {
        static constexpr char kDigits[] = "0123456789abcdef";
        auto u = static_cast<std::uint32_t>(value);
        do {
            text.insert(text.begin(), kDigits[u & 0xF]);
            u >>= 4;
        } while (u != 0);
    } else {
        text = std::to_string(value);
    }
    return String(text);
}

std::int32_t Format::ParseInt(const String& text) {
    std::uint32_t value = 0;
    if (!ScanInteger(text.View(), 0, 10, value))
        COREKIT_RAISE(Exception());
    return static_cast<std::int32_t>(value);
}

std::int32_t Format::ParseHex(const String& text) {
    const std::u16string_view view = text.View();
    std::uint32_t value = 0;
    if (view.size() < 2 || view[0] != u'0' || view[1] != u'x' || !ScanInteger(view, 2, 16, value)) {
        COREKIT_RAISE(Exception());
    }
    return static_cast<std::int32_t>(value);
}

int Format::HexDigitValue(char16_t unit) noexcept {
    if (unit >= u'0' && unit <= u'9')
        return unit - u'0';
    if (unit >= u'a' && unit <= u'f')
        return unit - u'a' + 10;
    if (unit >= u'A' && unit <= u'F')
        return unit - u'A' + 10;
    return -1;
}

}  // namespace System
