#include "namespaces/drawing/SvgCssText.h"

namespace SvgCssText {

bool IsBlank(char16_t c) noexcept {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

bool IsNameChar(char16_t c) noexcept {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
           c == u'-' || c == u'_' || c >= 0x80;
}

std::u16string_view Trim(std::u16string_view text) noexcept {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

std::u16string LowerAscii(std::u16string_view text) {
    std::u16string lowered(text);
    for (char16_t& c : lowered) {
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
    }
    return lowered;
}

std::size_t SkipString(std::u16string_view text, std::size_t quote) noexcept {
    const char16_t delimiter = text[quote];
    std::size_t i = quote + 1;
    while (i < text.size()) {
        const char16_t c = text[i];
        if (c == delimiter)
            return i + 1;
        if (c == u'\n' || c == u'\r' || c == u'\f')
            return i;
        i += (c == u'\\' && i + 1 < text.size()) ? 2 : 1;
    }
    return i;
}

std::u16string StripComments(std::u16string_view text) {
    std::u16string result;
    result.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const char16_t c = text[i];
        if (c == u'"' || c == u'\'') {
            const std::size_t end = SkipString(text, i);
            result.append(text.substr(i, end - i));
            i = end;
        } else if (c == u'/' && i + 1 < text.size() && text[i + 1] == u'*') {
            const std::size_t close = text.find(u"*/", i + 2);
            i = close == std::u16string_view::npos ? text.size() : close + 2;
            result.push_back(u' ');
        } else {
            result.push_back(c);
            ++i;
        }
    }
    return result;
}

}  // namespace SvgCssText
