// Attribute fallbacks (kind 5): a catch-all offered the XML attributes of a
// start tag that no attribute description and no attribute group took.
// Element-class libraries derive from it; XmlOtherAttributes is a
// ready-made member that keeps such attributes.
#pragma once

#include <string_view>

#include "xml/model/AttributeTypeInfo.h"

namespace platform::xml {
class ISAXAttributes;
}

class XmlAttributeFallbackTypeInfo : public AttributeTypeInfo {
public:
    XmlAttributeFallbackTypeInfo(std::uint32_t offset, ObjectTypeInfo* owningType,
                                 const char16_t* name)
        : AttributeTypeInfo(offset, KindAttributeFallback, owningType, name ? name : u"") {}

    // True when the fallback took the attribute at `index`.
    virtual bool TryBindAnyValue(XmlObject* object, XmlObject* root,
                                 std::u16string_view namespaceUri, std::u16string_view localName,
                                 platform::xml::ISAXAttributes* attributes,
                                 std::int32_t index) const = 0;
};
