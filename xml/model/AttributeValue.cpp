#include "xml/model/AttributeValue.h"

#include <locale.h>

#include <charconv>
#include <cstdlib>
#include <limits>
#include <string>
#include <type_traits>

#include "modules/system/Format.h"
#include "modules/system/String.h"

namespace AttributeValue {
namespace {

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// Leading white space, an optional sign, then decimal digits up to the
// first non-digit; saturates at the limits of I.
template <class I>
I ParseDecimal(std::u16string_view text) {
    using U = std::make_unsigned_t<I>;
    std::size_t i = 0;
    while (i < text.size() && System::String::IsWhiteSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    const U limit = negative ? static_cast<U>(std::numeric_limits<I>::max()) + 1u
                             : static_cast<U>(std::numeric_limits<I>::max());
    U magnitude = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        const U digit = static_cast<U>(text[i] - u'0');
        if (magnitude > (limit - digit) / 10u)
            magnitude = limit;
        else
            magnitude = magnitude * 10u + digit;
    }
    if (!negative)
        return static_cast<I>(magnitude);
    if (magnitude == static_cast<U>(std::numeric_limits<I>::max()) + 1u)
        return std::numeric_limits<I>::min();
    return -static_cast<I>(magnitude);
}

std::uint32_t ParseHex(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && System::String::IsWhiteSpace(text[i]))
        ++i;
    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = System::Format::HexDigitValue(text[i]);
        if (digit < 0)
            break;
        value = value * 16u + static_cast<unsigned>(digit);
        if (value > 0xFFFFFFFFu)
            value = 0xFFFFFFFFu;
    }
    return static_cast<std::uint32_t>(value);
}

// The text as bytes up to its first unit outside ASCII (or zero): no
// floating-point syntax needs more.
std::string AsciiPrefix(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (char16_t c : text) {
        if (c == 0 || c > 0x7F)
            break;
        bytes.push_back(static_cast<char>(c));
    }
    return bytes;
}

locale_t CLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t{});
    return locale;
}

template <class F>
void FormatNumber(F value, WideString& text) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    text.assign(buffer, result.ptr);
}

}  // namespace

bool Parse(std::u16string_view text, std::int32_t& value) {
    if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X'))
        value = static_cast<std::int32_t>(ParseHex(text.substr(2)));
    else
        value = ParseDecimal<std::int32_t>(text);
    return true;
}

bool Parse(std::u16string_view text, std::int64_t& value) {
    value = ParseDecimal<std::int64_t>(text);
    return true;
}

bool Parse(std::u16string_view text, bool& value) {
    if (text == u"true") {
        value = true;
        return true;
    }
    if (text == u"false") {
        value = false;
        return true;
    }
    return false;
}

bool Parse(std::u16string_view text, double& value) {
    const std::string bytes = AsciiPrefix(text);
    value = strtod_l(bytes.c_str(), nullptr, CLocale());
    return true;
}

bool Parse(std::u16string_view text, float& value) {
    const std::string bytes = AsciiPrefix(text);
    value = strtof_l(bytes.c_str(), nullptr, CLocale());
    return true;
}

void Format(std::int32_t value, WideString& text) {
    FormatNumber(value, text);
}

void Format(std::int64_t value, WideString& text) {
    FormatNumber(value, text);
}

void Format(bool value, WideString& text) {
    text = value ? u"true" : u"false";
}

void Format(double value, WideString& text) {
    FormatNumber(value, text);
}

void Format(float value, WideString& text) {
    FormatNumber(value, text);
}

}  // namespace AttributeValue
