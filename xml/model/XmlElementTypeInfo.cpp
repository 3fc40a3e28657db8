#include "xml/model/XmlElementTypeInfo.h"

#include "xml/model/ObjectTypeInfo.h"
#include "xml/model/XmlAttributeTypeInfo.h"
#include "xml/model/XmlNamespace.h"

std::size_t StaticTextLength(const char16_t* text) noexcept {
    return text ? std::char_traits<char16_t>::length(text) : 0;
}

std::u16string QualifiedName(std::u16string_view prefix, std::u16string_view localName) {
    std::u16string name;
    name.reserve(prefix.size() + 1 + localName.size());
    name.append(prefix).append(u":").append(localName);
    return name;
}

XmlElementTypeInfo::XmlElementTypeInfo(ObjectTypeInfo* owningType, const char16_t* localName,
                                       const char16_t* namespaceUri, const char16_t* prefix,
                                       XmlObjectFactory* factory, bool passThrough)
    : AttributeTypeInfo(0, KindElement, owningType,
                        QualifiedName({prefix, StaticTextLength(prefix)},
                                      {localName, StaticTextLength(localName)})),
      localName_(localName),
      namespaceUri_(namespaceUri),
      prefix_(prefix),
      localNameLength_(StaticTextLength(localName)),
      namespaceUriLength_(StaticTextLength(namespaceUri)),
      prefixLength_(StaticTextLength(prefix)),
      factory_(factory),
      passThrough_(passThrough) {}

bool XmlElementTypeInfo::IsWildcardNamespace() const noexcept {
    return GetNamespaceUri() == kAnyNamespaceUri;
}

XmlAttributeTypeInfo* XmlElementTypeInfo::FindAttributeByMember(std::uint32_t offset) const {
    return static_cast<XmlAttributeTypeInfo*>(GetOwningType()->FindByOffset(KindAttribute, offset));
}

XmlAttributeTypeInfo* XmlElementTypeInfo::FindAttributeByName(std::u16string_view name) const {
    return static_cast<XmlAttributeTypeInfo*>(GetOwningType()->FindByName(KindAttribute, name));
}

XmlAttributeTypeInfo* XmlElementTypeInfo::FindAttributeById(std::uint32_t id) const {
    const ObjectTypeInfo* type = GetOwningType();
    if (!type->HasIds(KindAttribute))
        return nullptr;
    return static_cast<XmlAttributeTypeInfo*>(type->FindById(KindAttribute, id));
}
