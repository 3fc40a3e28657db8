#include "xml/model/XmlAttributeGroupTypeInfo.h"

#include "xml/model/BindAttributes.h"
#include "xml/model/XmlObject.h"

XmlAttributeGroupTypeInfo::XmlAttributeGroupTypeInfo(std::uint32_t offset,
                                                     ObjectTypeInfo* owningType,
                                                     const char16_t* name, const char16_t* prefix)
    : AttributeTypeInfo(offset, KindAttributeGroup, owningType, name ? name : u""),
      qualifiedName_(QualifiedName({prefix, StaticTextLength(prefix)}, GetName())) {}

bool XmlAttributeGroupTypeInfo::TryBindValue(XmlObject* object, XmlObject* root,
                                             std::u16string_view namespaceUri,
                                             std::u16string_view localName,
                                             platform::xml::ISAXAttributes* attributes,
                                             std::int32_t index) const {
    XmlObject* group = GetGroupObject(object);
    return OfferAttribute(*group, root, namespaceUri, localName, attributes, index);
}
