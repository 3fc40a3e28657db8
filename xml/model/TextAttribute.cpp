#include "xml/model/TextAttribute.h"

#include "xml/model/AttributeClassTypeInfo.h"

const ObjectTypeInfo& TextAttribute::GetTypeInfo() const {
    return AttributeClassTypeInfo<TextAttribute>();
}

namespace {
[[maybe_unused]] const ObjectTypeInfo& g_text_attribute_described =
    AttributeClassTypeInfo<TextAttribute>();
}
