// XmlAttributeBinder: converts one kind of attribute member from and to
// text. Binders have no data; one static instance per binder class serves
// every description that refers to it.
#pragma once

#include <string_view>

#include "xml/model/Attribute.h"
#include "xml/model/ValueText.h"

class XmlAttributeBinder {
public:
    virtual void FromText(XmlBaseAttribute& member, ValueText& value) const = 0;
    virtual void ToText(const XmlBaseAttribute& member, ValueText& value) const = 0;

protected:
    ~XmlAttributeBinder() = default;
};

// Appends a piece of character data to `member` through `binder` in append
// mode; with a root and "Max Document Size" on, first reports twice the
// piece's length in bytes to the root.
void AppendTextPiece(const XmlAttributeBinder& binder, XmlBaseAttribute& member, XmlObject* root,
                     std::u16string_view text);

// The binder of the member class A: A's own SetFromText and ToText.
template <class A>
class XmlAttributeValueBinder final : public XmlAttributeBinder {
public:
    void FromText(XmlBaseAttribute& member, ValueText& value) const override {
        static_cast<A&>(member).SetFromText(value);
    }
    void ToText(const XmlBaseAttribute& member, ValueText& value) const override {
        static_cast<const A&>(member).ToText(value);
    }

    static XmlAttributeValueBinder& Instance() {
        static XmlAttributeValueBinder binder;
        return binder;
    }
};
