// XmlInlineStyle: what the style lookup needs from the member that holds an
// element's "style" attribute: the value text of one property (empty when
// absent). Element-class libraries implement it on their "style" member
// class.
#pragma once

#include <string_view>

class XmlInlineStyle {
public:
    virtual std::u16string_view GetPropertyValue(std::u16string_view property) const = 0;

protected:
    ~XmlInlineStyle() = default;
};
