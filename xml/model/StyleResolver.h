// StyleResolver: what a document's style definitions say about a property.
// A document class supplies one through GetDocument and GetStyleResolver.
#pragma once

#include <string>
#include <string_view>

class StyleResolver {
public:
    // The value text the rules give `property` for elements named
    // `elementName` that carry the class `className` (an empty class name
    // asks for the rule of the element name alone); empty when no rule
    // defines it.
    virtual std::u16string Lookup(std::u16string_view elementName, std::u16string_view className,
                                  std::u16string_view property) const = 0;

protected:
    ~StyleResolver() = default;
};
