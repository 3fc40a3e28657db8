// Text helpers shared by the style sheet and the inline style parsers.
// CSS text is scanned in UTF-16 code units; anything that is not ASCII
// syntax passes through untouched.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace SvgCssText {

// Space, tab, line feed, carriage return, form feed.
bool IsBlank(char16_t c) noexcept;
// A character of a name in a selector or property: ASCII letters, digits,
// '-' and '_', and everything beyond ASCII.
bool IsNameChar(char16_t c) noexcept;
std::u16string_view Trim(std::u16string_view text) noexcept;
// ASCII letters lowered; property names are case-insensitive.
std::u16string LowerAscii(std::u16string_view text);

// The position after the string that starts with the quote at `quote`: past
// its closing quote, or at the line break or end that cuts it short. A
// backslash escapes the character after it.
std::size_t SkipString(std::u16string_view text, std::size_t quote) noexcept;
// `text` with every /* comment */ replaced by one space; an unterminated
// comment runs to the end. Quoted strings are copied as they are.
std::u16string StripComments(std::u16string_view text);

}  // namespace SvgCssText
