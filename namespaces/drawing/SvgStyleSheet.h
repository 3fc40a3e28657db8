// SvgStyleSheet: the style rules of a document, the document's
// StyleResolver.
//
// It reads CSS-like text: rules "selector { property: value; ... }" where
// a selector is "name", ".class" or "name.class", or a comma-separated list
// of those; /* comments */ are skipped. Text it cannot read is dropped up
// to the next '}', and reading goes on after it: a rule whose selector is
// anything else (an id, a combinator, an at-rule), whose selector list has
// an empty entry, or whose block holds a '{' is dropped whole. A block left
// open at the end of the text ends there.
//
// Later rules override earlier ones for the same selector and property.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "namespaces/drawing/SvgStyleDeclarations.h"
#include "xml/model/StyleResolver.h"

class SvgStyleSheet : public StyleResolver {
public:
    // With a class name, the rule "elementName.className" wins over
    // ".className" (property by property); with an empty class name only
    // the rule "elementName" counts.
    std::u16string Lookup(std::u16string_view elementName, std::u16string_view className,
                          std::u16string_view property) const override;

    // Adds the rules of `css` after those already held.
    void Add(std::u16string_view css);
    void Clear() noexcept { rules_.clear(); }
    // Distinct selectors with at least one declaration.
    std::size_t GetSelectorCount() const noexcept { return rules_.size(); }

private:
    void AddRule(std::u16string_view selectors, std::u16string_view block);
    const std::u16string* Find(const std::u16string& selector, std::u16string_view property) const;

    // Selector text ("rect", ".warn", "rect.warn") -> its declarations.
    std::map<std::u16string, SvgStyleDeclarations::Map, std::less<>> rules_;
};
