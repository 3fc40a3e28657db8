#include "namespaces/drawing/SvgStyleSheet.h"

#include <vector>

#include "namespaces/drawing/SvgCssText.h"

namespace {

bool IsName(std::u16string_view text) {
    if (text.empty())
        return false;
    for (const char16_t c : text) {
        if (!SvgCssText::IsNameChar(c))
            return false;
    }
    return true;
}

// "name", ".class" or "name.class" as the key it is stored under; empty
// when `text` is none of those.
std::u16string SelectorKey(std::u16string_view text) {
    text = SvgCssText::Trim(text);
    const std::size_t dot = text.find(u'.');
    if (dot == std::u16string_view::npos)
        return IsName(text) ? std::u16string(text) : std::u16string();
    const std::u16string_view element = text.substr(0, dot);
    const std::u16string_view className = text.substr(dot + 1);
    if ((!element.empty() && !IsName(element)) || !IsName(className))
        return {};
    return std::u16string(text);
}

bool HasUpperAscii(std::u16string_view text) {
    for (const char16_t c : text) {
        if (c >= u'A' && c <= u'Z')
            return true;
    }
    return false;
}

// The position of the first `a` or `b` at or after `from` outside quoted
// strings; the end of `text` when there is none.
std::size_t FindEither(std::u16string_view text, std::size_t from, char16_t a, char16_t b) {
    std::size_t i = from;
    while (i < text.size()) {
        const char16_t c = text[i];
        if (c == a || c == b)
            return i;
        if (c == u'"' || c == u'\'')
            i = SvgCssText::SkipString(text, i);
        else
            ++i;
    }
    return text.size();
}

}  // namespace

std::u16string SvgStyleSheet::Lookup(std::u16string_view elementName, std::u16string_view className,
                                     std::u16string_view property) const {
    if (rules_.empty())
        return {};
    std::u16string lowered;
    if (HasUpperAscii(property)) {
        lowered = SvgCssText::LowerAscii(property);
        property = lowered;
    }
    std::u16string selector(elementName);
    if (className.empty()) {
        if (const std::u16string* value = Find(selector, property))
            return *value;
        return {};
    }
    selector.append(u".").append(className);
    if (!elementName.empty()) {
        if (const std::u16string* value = Find(selector, property))
            return *value;
        selector.erase(0, elementName.size());
    }
    if (const std::u16string* value = Find(selector, property))
        return *value;
    return {};
}

void SvgStyleSheet::Add(std::u16string_view css) {
    const std::u16string plain = SvgCssText::StripComments(css);
    const std::u16string_view text(plain);
    std::size_t position = 0;
    while (position < text.size()) {
        const std::size_t open = FindEither(text, position, u'{', u'}');
        if (open == text.size())
            break;  // trailing text without a block
        if (text[open] == u'}') {
            position = open + 1;  // a brace that closes nothing: drop what came before it
            continue;
        }
        std::size_t close = open + 1;
        bool nested = false;
        for (;;) {
            close = FindEither(text, close, u'{', u'}');
            if (close == text.size() || text[close] == u'}')
                break;
            nested = true;
            ++close;
        }
        if (!nested)
            AddRule(text.substr(position, open - position),
                    text.substr(open + 1, close - open - 1));
        position = close == text.size() ? close : close + 1;
    }
}

void SvgStyleSheet::AddRule(std::u16string_view selectors, std::u16string_view block) {
    std::vector<std::u16string> keys;
    std::size_t begin = 0;
    for (;;) {
        const std::size_t comma = selectors.find(u',', begin);
        std::u16string key = SelectorKey(selectors.substr(
            begin, comma == std::u16string_view::npos ? std::u16string_view::npos : comma - begin));
        if (key.empty())
            return;  // one unreadable selector drops the rule
        keys.push_back(std::move(key));
        if (comma == std::u16string_view::npos)
            break;
        begin = comma + 1;
    }
    SvgStyleDeclarations::Map declarations;
    SvgStyleDeclarations::Parse(block, declarations);
    if (declarations.empty())
        return;
    for (const std::u16string& key : keys) {
        SvgStyleDeclarations::Map& rule = rules_[key];
        for (const auto& [name, value] : declarations)
            rule[name] = value;
    }
}

const std::u16string* SvgStyleSheet::Find(const std::u16string& selector,
                                          std::u16string_view property) const {
    const auto rule = rules_.find(selector);
    if (rule == rules_.end())
        return nullptr;
    const auto value = rule->second.find(property);
    return value == rule->second.end() ? nullptr : &value->second;
}
