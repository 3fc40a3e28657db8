#include "platform/xml/AttributeList.h"

namespace platform::xml {

using com::E_INVALIDARG;
using com::E_POINTER;
using com::S_OK;

AttributeList::Entry& AttributeList::Append() {
    if (count_ == entries_.size())
        entries_.emplace_back();
    Entry& e = entries_[count_++];
    e.uri.clear();
    e.localName.clear();
    e.qName.clear();
    e.type.clear();
    e.value.clear();
    return e;
}

void AttributeList::Add(std::u16string_view uri, std::u16string_view localName,
                        std::u16string_view qName, std::u16string_view type,
                        std::u16string_view value) {
    Entry& e = Append();
    e.uri.assign(uri);
    e.localName.assign(localName);
    e.qName.assign(qName);
    e.type.assign(type);
    e.value.assign(value);
}

void AttributeList::Remove(std::size_t index) {
    if (index >= count_)
        return;
    // Rotate the removed entry behind the live ones so its buffers stay.
    for (std::size_t i = index; i + 1 < count_; ++i)
        std::swap(entries_[i], entries_[i + 1]);
    --count_;
}

const AttributeList::Entry* AttributeList::Find(std::int32_t index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= count_)
        return nullptr;
    return &entries_[static_cast<std::size_t>(index)];
}

HResult AttributeList::getLength(std::int32_t* length) {
    if (!length)
        return E_POINTER;
    *length = static_cast<std::int32_t>(count_);
    return S_OK;
}

HResult AttributeList::getURI(std::int32_t index, std::u16string_view* uri) {
    return getName(index, uri, nullptr, nullptr);
}

HResult AttributeList::getLocalName(std::int32_t index, std::u16string_view* localName) {
    return getName(index, nullptr, localName, nullptr);
}

HResult AttributeList::getQName(std::int32_t index, std::u16string_view* qName) {
    return getName(index, nullptr, nullptr, qName);
}

HResult AttributeList::getName(std::int32_t index, std::u16string_view* uri,
                               std::u16string_view* localName, std::u16string_view* qName) {
    const Entry* e = Find(index);
    if (!e)
        return E_INVALIDARG;
    if (uri)
        *uri = e->uri;
    if (localName)
        *localName = e->localName;
    if (qName)
        *qName = e->qName;
    return S_OK;
}

HResult AttributeList::getIndexFromName(std::u16string_view uri, std::u16string_view localName,
                                        std::int32_t* index) {
    if (!index)
        return E_POINTER;
    for (std::size_t i = 0; i < count_; ++i) {
        if (entries_[i].localName == localName && entries_[i].uri == uri) {
            *index = static_cast<std::int32_t>(i);
            return S_OK;
        }
    }
    *index = -1;
    return E_INVALIDARG;
}

HResult AttributeList::getIndexFromQName(std::u16string_view qName, std::int32_t* index) {
    if (!index)
        return E_POINTER;
    for (std::size_t i = 0; i < count_; ++i) {
        if (entries_[i].qName == qName) {
            *index = static_cast<std::int32_t>(i);
            return S_OK;
        }
    }
    *index = -1;
    return E_INVALIDARG;
}

HResult AttributeList::getType(std::int32_t index, std::u16string_view* type) {
    const Entry* e = Find(index);
    if (!e)
        return E_INVALIDARG;
    if (!type)
        return E_POINTER;
    *type = e->type.empty() ? std::u16string_view(u"CDATA") : std::u16string_view(e->type);
    return S_OK;
}

HResult AttributeList::getValue(std::int32_t index, std::u16string_view* value) {
    const Entry* e = Find(index);
    if (!e)
        return E_INVALIDARG;
    if (!value)
        return E_POINTER;
    *value = e->value;
    return S_OK;
}

HResult AttributeList::getValueFromName(std::u16string_view uri, std::u16string_view localName,
                                        std::u16string_view* value) {
    std::int32_t index = -1;
    const HResult hr = getIndexFromName(uri, localName, &index);
    return com::Failed(hr) ? hr : getValue(index, value);
}

HResult AttributeList::getValueFromQName(std::u16string_view qName, std::u16string_view* value) {
    std::int32_t index = -1;
    const HResult hr = getIndexFromQName(qName, &index);
    return com::Failed(hr) ? hr : getValue(index, value);
}

}  // namespace platform::xml
