#include "platform/xml/SaxAttributes.h"

#include <new>

namespace platform::xml {

HResult SaxAttributes::Create(const Guid& iid, void** object) {
    auto* attributes = new (std::nothrow) SaxAttributes;
    if (!attributes)
        return com::E_OUTOFMEMORY;
    ComPtr<SaxAttributes> holder(attributes);
    return holder->QueryInterface(iid, object);
}

HResult SaxAttributes::addAttribute(std::u16string_view uri, std::u16string_view localName,
                                    std::u16string_view qName, std::u16string_view type,
                                    std::u16string_view value) {
    Add(uri, localName, qName, type, value);
    return com::S_OK;
}

HResult SaxAttributes::clear() {
    Reset();
    return com::S_OK;
}

HResult SaxAttributes::removeAttribute(std::int32_t index) {
    if (index < 0 || static_cast<std::size_t>(index) >= Count())
        return com::E_INVALIDARG;
    Remove(static_cast<std::size_t>(index));
    return com::S_OK;
}

HResult SaxAttributes::setValue(std::int32_t index, std::u16string_view value) {
    if (index < 0 || static_cast<std::size_t>(index) >= Count())
        return com::E_INVALIDARG;
    At(static_cast<std::size_t>(index)).value.assign(value);
    return com::S_OK;
}

}  // namespace platform::xml
