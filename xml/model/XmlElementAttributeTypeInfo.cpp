#include "xml/model/XmlElementAttributeTypeInfo.h"

#include "xml/io/NamespaceRegistry.h"
#include "xml/model/BindAttributes.h"
#include "xml/model/NewObject.h"
#include "xml/model/XmlAnyElement.h"
#include "xml/model/XmlElementBinder.h"
#include "xml/model/XmlElementTypeInfo.h"
#include "xml/model/XmlNamespace.h"

XmlElementAttributeTypeInfo::XmlElementAttributeTypeInfo(
    std::uint32_t offset, ObjectTypeInfo* owningType, const char16_t* namespaceUri,
    const char16_t* localName, const char16_t* prefix, XmlElementBinder* binder)
    : AttributeTypeInfo(offset, KindChildElement, owningType,
                        QualifiedName({prefix, StaticTextLength(prefix)},
                                      {localName, StaticTextLength(localName)})),
      namespaceUri_(namespaceUri),
      namespaceUriLength_(StaticTextLength(namespaceUri)),
      localName_(localName ? localName : u""),
      localNameLength_(StaticTextLength(localName)),
      binder_(binder),
      wildcard_(GetNamespaceUri() == kAnyNamespaceUri) {}

XmlObject* XmlElementAttributeTypeInfo::CreateChild(XmlObject* owner, XmlObject* root,
                                                    std::u16string_view namespaceUri,
                                                    std::u16string_view localName,
                                                    std::u16string_view qualifiedName,
                                                    platform::xml::ISAXAttributes* attributes,
                                                    XSchemaValidator* validator,
                                                    const SourcePosition& position) const {
    XmlBaseAttribute& member = MemberOf<XmlBaseAttribute>(owner);
    if (wildcard_) {
        if (localName == u"text()")
            return nullptr;
        XmlAnyElement* any = NewObject<XmlAnyElement>(u"XmlAnyElement");
        binder_->Bind(member, any);
        any->StartElement(namespaceUri, localName, qualifiedName, attributes);
        return any;
    }
    if (namespaceUriLength_ != 0 && namespaceUri != GetNamespaceUri())
        return nullptr;
    if (localName != GetLocalName())
        return nullptr;
    XmlNamespace* ns = LookupNamespace(System::String(namespaceUri.data(), namespaceUri.size()));
    if (!ns)
        return nullptr;
    XmlObject* child = ns->CreateObject(root, localName);
    if (!child)
        return nullptr;
    // Bound first: the member owns the child even when binding its
    // attributes fails.
    binder_->Bind(member, child);
    BindAttributes(*child->GetElementTypeInfo(), child, root, namespaceUri, localName,
                   qualifiedName, attributes, validator, position);
    return child;
}
