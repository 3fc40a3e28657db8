// The storage and the read-only interface of an attribute list, shared by
// the attribute list component and by the list the reader hands to
// startElement. Entries keep their buffers when the list is cleared, so a
// list reused element after element stops allocating.
#pragma once

#include <string>
#include <vector>

#include "platform/xml/SaxInterfaces.h"

namespace platform::xml {

class AttributeList : public ISAXAttributes {
public:
    using Base = ISAXAttributes;
    static constexpr bool kImplementsBase = true;

    struct Entry {
        std::u16string uri;
        std::u16string localName;
        std::u16string qName;
        std::u16string type;
        std::u16string value;
    };

    // Clears the list (keeping the buffers).
    void Reset() { count_ = 0; }
    // Appends an entry whose fields the caller fills (all empty on return).
    Entry& Append();
    void Add(std::u16string_view uri, std::u16string_view localName, std::u16string_view qName,
             std::u16string_view type, std::u16string_view value);
    void Remove(std::size_t index);
    std::size_t Count() const { return count_; }
    Entry& At(std::size_t index) { return entries_[index]; }
    const Entry& At(std::size_t index) const { return entries_[index]; }

    HResult getLength(std::int32_t* length) override;
    HResult getURI(std::int32_t index, std::u16string_view* uri) override;
    HResult getLocalName(std::int32_t index, std::u16string_view* localName) override;
    HResult getQName(std::int32_t index, std::u16string_view* qName) override;
    HResult getName(std::int32_t index, std::u16string_view* uri, std::u16string_view* localName,
                    std::u16string_view* qName) override;
    HResult getIndexFromName(std::u16string_view uri, std::u16string_view localName,
                             std::int32_t* index) override;
    HResult getIndexFromQName(std::u16string_view qName, std::int32_t* index) override;
    HResult getType(std::int32_t index, std::u16string_view* type) override;
    HResult getValue(std::int32_t index, std::u16string_view* value) override;
    HResult getValueFromName(std::u16string_view uri, std::u16string_view localName,
                             std::u16string_view* value) override;
    HResult getValueFromQName(std::u16string_view qName, std::u16string_view* value) override;

protected:
    ~AttributeList() = default;

private:
    const Entry* Find(std::int32_t index) const;

    std::vector<Entry> entries_;
    std::size_t count_ = 0;
};

}  // namespace platform::xml
