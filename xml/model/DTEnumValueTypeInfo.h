// DTEnumValueTypeInfo (kind 10): one enumerated value of an attribute class,
// offered by editors; its name is the value text.
#pragma once

#include "xml/model/AttributeTypeInfo.h"

class DTEnumValueTypeInfo : public AttributeTypeInfo {
public:
    DTEnumValueTypeInfo(ObjectTypeInfo* owningType, std::u16string value)
        : AttributeTypeInfo(0, KindEnumValue, owningType, std::move(value)) {}
};
