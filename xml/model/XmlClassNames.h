// XmlClassNames: what the style lookup needs from the member that holds an
// element's "class" attribute: its class names in order. Element-class
// libraries implement it on their "class" member class.
#pragma once

#include <cstddef>
#include <string_view>

class XmlClassNames {
public:
    virtual std::size_t GetClassCount() const = 0;
    virtual std::u16string_view GetClassName(std::size_t index) const = 0;

protected:
    ~XmlClassNames() = default;
};
