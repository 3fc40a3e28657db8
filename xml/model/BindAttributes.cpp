#include "xml/model/BindAttributes.h"

#include "platform/com/ComError.h"
#include "platform/xml/SaxInterfaces.h"
#include "xml/model/XmlAttributeFallbackTypeInfo.h"
#include "xml/model/XmlAttributeGroupTypeInfo.h"
#include "xml/model/XmlAttributeTypeInfo.h"
#include "xml/model/XmlElementTypeInfo.h"
#include "xml/model/XmlObject.h"

bool OfferAttribute(XmlObject& object, XmlObject* root, std::u16string_view namespaceUri,
                    std::u16string_view localName, platform::xml::ISAXAttributes* attributes,
                    std::int32_t index, bool withFallbacks) {
    const ObjectTypeInfo& type = object.GetTypeInfo();
    if (const auto* descriptions = type.GetDescriptions(KindAttribute)) {
        for (const auto& description : *descriptions) {
            if (static_cast<XmlAttributeTypeInfo*>(description.Get())
                    ->TryBindValue(&object, root, namespaceUri, localName, attributes, index))
                return true;
        }
    }
    if (const auto* groups = type.GetDescriptions(KindAttributeGroup)) {
        for (const auto& group : *groups) {
            if (static_cast<XmlAttributeGroupTypeInfo*>(group.Get())
                    ->TryBindValue(&object, root, namespaceUri, localName, attributes, index))
                return true;
        }
    }
    if (!withFallbacks)
        return false;
    if (const auto* fallbacks = type.GetDescriptions(KindAttributeFallback)) {
        for (const auto& fallback : *fallbacks) {
            if (static_cast<XmlAttributeFallbackTypeInfo*>(fallback.Get())
                    ->TryBindAnyValue(&object, root, namespaceUri, localName, attributes, index))
                return true;
        }
    }
    return false;
}

bool BindAttributes(const XmlElementTypeInfo& elementType, XmlObject* object, XmlObject* root,
                    std::u16string_view namespaceUri, std::u16string_view /*localName*/,
                    std::u16string_view /*qualifiedName*/,
                    platform::xml::ISAXAttributes* attributes, XSchemaValidator* /*validator*/,
                    const SourcePosition& /*position*/) {
    if (namespaceUri != elementType.GetNamespaceUri())
        return false;
    if (!attributes)
        return true;
    std::int32_t count = 0;
    platform::com::ThrowIfFailed(attributes->getLength(&count));
    for (std::int32_t index = 0; index < count; ++index) {
        std::u16string_view uri;
        std::u16string_view name;
        std::u16string_view qualified;
        platform::com::ThrowIfFailed(attributes->getName(index, &uri, &name, &qualified));
        if (name.empty()) {
            // A namespace declaration: only "xmlns:prefix" is recorded.
            if (qualified.size() < 7 || qualified.substr(0, 6) != u"xmlns:")
                continue;
            std::u16string_view value;
            if (platform::com::Failed(attributes->getValue(index, &value)))
                continue;
            if (root)
                root->RecordNamespaceDeclaration(qualified.substr(6), value);
            continue;
        }
        if (uri.empty())
            uri = namespaceUri;
        OfferAttribute(*object, root, uri, name, attributes, index, true);
    }
    return true;
}
