// XmlElementAttributeTypeInfo (kind 3): a child member that receives child
// elements of one name. A description whose namespace is the "any"
// namespace is a wildcard: it captures any element into an XmlAnyElement.
// Named "prefix:localName".
#pragma once

#include <string_view>

#include "services/SourcePosition.h"
#include "xml/model/AttributeTypeInfo.h"

namespace platform::xml {
class ISAXAttributes;
}
class XSchemaValidator;
class XmlElementBinder;

class XmlElementAttributeTypeInfo : public AttributeTypeInfo {
public:
    // The texts are static. A null or empty namespace accepts children of
    // any namespace with the right local name; `prefix` only makes the name.
    XmlElementAttributeTypeInfo(std::uint32_t offset, ObjectTypeInfo* owningType,
                                const char16_t* namespaceUri, const char16_t* localName,
                                const char16_t* prefix, XmlElementBinder* binder);

    // Makes the child for a start tag met inside `owner` and binds it into
    // the member; none when this description does not accept the element.
    XmlObject* CreateChild(XmlObject* owner, XmlObject* root, std::u16string_view namespaceUri,
                           std::u16string_view localName, std::u16string_view qualifiedName,
                           platform::xml::ISAXAttributes* attributes, XSchemaValidator* validator,
                           const SourcePosition& position) const;

    std::u16string_view GetNamespaceUri() const noexcept {
        return {namespaceUri_, namespaceUriLength_};
    }
    std::u16string_view GetLocalName() const noexcept { return {localName_, localNameLength_}; }
    XmlElementBinder* GetBinder() const noexcept { return binder_; }
    bool IsWildcard() const noexcept { return wildcard_; }

private:
    const char16_t* namespaceUri_;
    std::size_t namespaceUriLength_;
    const char16_t* localName_;
    std::size_t localNameLength_;
    XmlElementBinder* binder_;
    bool wildcard_;
};
