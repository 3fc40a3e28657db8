// XmlElementTypeInfo (kind 4): the element an element class stands for: its
// local name, namespace and canonical prefix, and the factory that makes
// objects of the class. Named "prefix:localName".
#pragma once

#include <string_view>

#include "xml/model/AttributeTypeInfo.h"

class XmlAttributeTypeInfo;
class XmlObjectFactory;

class XmlElementTypeInfo : public AttributeTypeInfo {
public:
    // The texts are static; any of them may be null.
    XmlElementTypeInfo(ObjectTypeInfo* owningType, const char16_t* localName,
                       const char16_t* namespaceUri, const char16_t* prefix,
                       XmlObjectFactory* factory, bool passThrough = false);

    std::u16string_view GetLocalName() const noexcept { return {localName_, localNameLength_}; }
    std::u16string_view GetNamespaceUri() const noexcept {
        return {namespaceUri_, namespaceUriLength_};
    }
    std::u16string_view GetPrefix() const noexcept { return {prefix_, prefixLength_}; }
    const char16_t* GetLocalNameText() const noexcept { return localName_; }
    const char16_t* GetNamespaceUriText() const noexcept { return namespaceUri_; }
    const char16_t* GetPrefixText() const noexcept { return prefix_; }
    XmlObjectFactory* GetFactory() const noexcept { return factory_; }
    // Elements with pass-through set are skipped when the context element of
    // an attribute is sought (attribute groups are such elements).
    bool IsPassThrough() const noexcept { return passThrough_; }
    bool IsWildcardNamespace() const noexcept;

    // Lookups among the owning class's XML-attribute descriptions.
    XmlAttributeTypeInfo* FindAttributeByMember(std::uint32_t offset) const;
    XmlAttributeTypeInfo* FindAttributeByName(std::u16string_view name) const;
    XmlAttributeTypeInfo* FindAttributeById(std::uint32_t id) const;

private:
    const char16_t* localName_;
    const char16_t* namespaceUri_;
    const char16_t* prefix_;
    std::size_t localNameLength_;
    std::size_t namespaceUriLength_;
    std::size_t prefixLength_;
    XmlObjectFactory* factory_;
    bool passThrough_;
};

// "prefix:localName" (the colon is always there).
std::u16string QualifiedName(std::u16string_view prefix, std::u16string_view localName);
// The length of a static text, 0 for none.
std::size_t StaticTextLength(const char16_t* text) noexcept;
