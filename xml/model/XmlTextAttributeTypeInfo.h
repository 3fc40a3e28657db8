// XmlTextAttributeTypeInfo (kind 6): the member that receives an element's
// text content. Named "#text".
#pragma once

#include <string_view>

#include "xml/model/AttributeTypeInfo.h"

class XmlAttributeBinder;

class XmlTextAttributeTypeInfo : public AttributeTypeInfo {
public:
    XmlTextAttributeTypeInfo(std::uint32_t offset, ObjectTypeInfo* owningType,
                             XmlAttributeBinder* binder);

    // Appends character data to the text member of `owner` (reporting
    // twice `text.size()` bytes to the root when "Max Document Size" is on),
    // so that the pieces of one text run join up; returns true.
    bool AppendText(XmlObject* owner, XmlObject* root, std::u16string_view text) const;

    XmlAttributeBinder* GetBinder() const noexcept { return binder_; }

private:
    XmlAttributeBinder* binder_;
};
