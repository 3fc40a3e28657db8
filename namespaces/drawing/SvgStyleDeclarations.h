// SvgStyleDeclarations: the member of the "style" attribute, a list of
// declarations "property: value; property: value". Property names are
// case-insensitive and kept in lower case; for a property given twice the
// later declaration counts.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "xml/model/Attribute.h"
#include "xml/model/ValueText.h"
#include "xml/model/XmlInlineStyle.h"

class SvgStyleDeclarations : public XmlAttribute, public XmlInlineStyle {
public:
    // Property name -> value text, in name order.
    using Map = std::map<std::u16string, std::u16string, std::less<>>;

    SvgStyleDeclarations() = default;
    // Holds the declarations of `text` and is set.
    explicit SvgStyleDeclarations(std::u16string_view text);

    const ObjectTypeInfo& GetTypeInfo() const override;
    void SetOwner(XmlObject* owner) override;
    // Copies from another SvgStyleDeclarations only; with `effective` an
    // unset source gives its default.
    void CopyFrom(const XmlAttribute& source, bool effective) override;
    bool IsSet() const override { return set_; }
    void Reset() override;

    // Empty when the property is not declared.
    std::u16string_view GetPropertyValue(std::u16string_view property) const override;

    const Map& GetDeclarations() const noexcept { return declarations_; }

    // Text arriving in pieces is joined before it is parsed.
    void SetFromText(ValueText& record);
    // "a:b;c:d" in name order.
    void ToText(ValueText& record) const;

    // Adds the declarations of `text` to `declarations`, replacing values of
    // properties already there. Blanks around names and values are dropped;
    // comments are skipped; a part without a name, a colon or a value is
    // ignored. A ';' inside a quoted string does not end a declaration.
    static void Parse(std::u16string_view text, Map& declarations);

private:
    void Assign(std::u16string text);

    std::u16string text_;
    Map declarations_;
    bool set_ = false;
};
