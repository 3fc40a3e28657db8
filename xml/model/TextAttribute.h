// TextAttribute: the member that holds an element's text content, a wide
// string. It has no owner link; text arriving in pieces is appended.
#pragma once

#include "xml/model/Attribute.h"
#include "xml/model/AttributeValue.h"
#include "xml/model/ValueText.h"

class TextAttribute : public WideString, public XmlBaseAttribute {
public:
    TextAttribute() = default;
    explicit TextAttribute(WideString text) : WideString(std::move(text)) {}
    TextAttribute& operator=(std::u16string_view text) {
        WideString::assign(text);
        return *this;
    }

    const ObjectTypeInfo& GetTypeInfo() const override;
    void SetOwner(XmlObject*) override {}

    const WideString& GetText() const noexcept { return *this; }
    void SetFromText(ValueText& record) {
        if (record.mode != kValueTextReplace)
            append(record.text);
        else
            assign(record.text);
    }
    void ToText(ValueText& record) const { record.text = GetText(); }
};
