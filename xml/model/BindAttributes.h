// Binding the attributes of a start tag to a new element object.
#pragma once

#include <cstdint>
#include <string_view>

#include "services/SourcePosition.h"

namespace platform::xml {
class ISAXAttributes;
}
class XSchemaValidator;
class XmlElementTypeInfo;
class XmlObject;

// Binds the attributes of a start tag of the element (`namespaceUri`,
// `localName`) to `object`, whose class `elementType` describes. False, and
// nothing bound, when the element's namespace is not the class's.
// Namespace declarations ("xmlns:p") are recorded on the root; every other
// attribute is offered to the object's descriptions.
bool BindAttributes(const XmlElementTypeInfo& elementType, XmlObject* object, XmlObject* root,
                    std::u16string_view namespaceUri, std::u16string_view localName,
                    std::u16string_view qualifiedName, platform::xml::ISAXAttributes* attributes,
                    XSchemaValidator* validator, const SourcePosition& position);

// Offers the attribute at `index` to the XML-attribute descriptions of the
// object's class, then to its attribute groups, each in list order, and,
// with `withFallbacks`, then to its attribute fallbacks. True when one took
// it; the first that takes it ends the search.
bool OfferAttribute(XmlObject& object, XmlObject* root, std::u16string_view namespaceUri,
                    std::u16string_view localName, platform::xml::ISAXAttributes* attributes,
                    std::int32_t index, bool withFallbacks = false);
