// The attribute list component: a growable list answering IMXAttributes
// (to fill it) and ISAXAttributes (to read it, e.g. by the XML writer).
#pragma once

#include "platform/com/ComObject.h"
#include "platform/xml/AttributeList.h"

namespace platform::xml {

class SaxAttributes final : public com::ComObject<IMXAttributes, AttributeList> {
public:
    static HResult Create(const Guid& iid, void** object);

    HResult addAttribute(std::u16string_view uri, std::u16string_view localName,
                         std::u16string_view qName, std::u16string_view type,
                         std::u16string_view value) override;
    HResult clear() override;
    HResult removeAttribute(std::int32_t index) override;
    HResult setValue(std::int32_t index, std::u16string_view value) override;
};

}  // namespace platform::xml
