// DTValueEditorTypeTypeInfo (kind 12): the editor an attribute class wants
// at design time: 1 for numbers and strings, 2 for booleans.
#pragma once

#include "xml/model/AttributeTypeInfo.h"

class DTValueEditorTypeTypeInfo : public AttributeTypeInfo {
public:
    static constexpr std::uint32_t kTextEditor = 1;
    static constexpr std::uint32_t kBooleanEditor = 2;

    DTValueEditorTypeTypeInfo(ObjectTypeInfo* owningType, std::uint32_t editorType)
        : AttributeTypeInfo(0, KindValueEditorType, owningType, u""), editorType_(editorType) {}

    std::uint32_t GetEditorType() const noexcept { return editorType_; }

private:
    std::uint32_t editorType_;
};
