// SvgClassList: the member of the "class" attribute, the element's class
// names in the order written (white space separates them).
//
// For the style lookup it answers the names it holds; an empty list
// answers one empty name, which asks the style sheet for the rules of the
// element name alone. Elements describe the member with an empty default,
// so an element without a class attribute is styled by its element name.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "xml/model/Attribute.h"
#include "xml/model/ValueText.h"
#include "xml/model/XmlClassNames.h"

class SvgClassList : public XmlAttribute, public XmlClassNames {
public:
    SvgClassList() = default;
    // Holds the classes of `text` and is set (an empty text too).
    explicit SvgClassList(std::u16string_view text);

    const ObjectTypeInfo& GetTypeInfo() const override;
    void SetOwner(XmlObject* owner) override;
    // Copies from another SvgClassList only; with `effective` an unset
    // source gives its default.
    void CopyFrom(const XmlAttribute& source, bool effective) override;
    bool IsSet() const override { return set_; }
    void Reset() override;

    std::size_t GetClassCount() const override;
    std::u16string_view GetClassName(std::size_t index) const override;

    // The names held, none for an empty list.
    const std::vector<std::u16string>& GetNames() const noexcept { return names_; }
    bool HasClass(std::u16string_view name) const;

    // Text arriving in pieces is joined before it is split.
    void SetFromText(ValueText& record);
    // The names separated by single spaces.
    void ToText(ValueText& record) const;

private:
    void Assign(std::u16string text);

    std::u16string text_;
    std::vector<std::u16string> names_;
    bool set_ = false;
};
