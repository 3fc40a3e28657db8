// ObjectTypeInfo: the run-time description of one class. It owns the
// class's descriptions, grouped by kind in the order they were added, and
// indexes them by member offset, by name and by id.
//
// Per kind: the all-descriptions list holds everything added; the member
// list holds one description per distinct offset (the first added); the
// indexes keep the last description added for an offset, name or id.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "xml/model/AttributeTypeInfo.h"
#include "xml/model/SmartPtr.h"
#include "xml/model/Vector.h"

using AttributeTypeInfoList = Vector<SmartPtr<AttributeTypeInfo>>;

class ObjectTypeInfo {
public:
    ObjectTypeInfo();
    ObjectTypeInfo(const ObjectTypeInfo&) = delete;
    ObjectTypeInfo& operator=(const ObjectTypeInfo&) = delete;

    // Runs at the end of every class description.
    virtual void Finalize() {}
    virtual ~ObjectTypeInfo();

    // Takes a reference to the description.
    void Add(AttributeTypeInfo* description);

    // None when the kind has no description.
    const AttributeTypeInfoList* GetDescriptions(std::uint32_t kind) const;
    const AttributeTypeInfoList* GetMemberDescriptions(std::uint32_t kind) const;

    AttributeTypeInfo* FindByOffset(std::uint32_t kind, std::uint32_t offset) const;
    AttributeTypeInfo* FindByName(std::uint32_t kind, std::u16string_view name) const;
    AttributeTypeInfo* FindById(std::uint32_t kind, std::uint32_t id) const;
    bool HasIds(std::uint32_t kind) const;

    // Unique in the process; equal numbers mean exactly the same class.
    std::uint32_t GetTypeNumber() const noexcept { return typeNumber_; }

private:
    struct KindTables {
        AttributeTypeInfoList all;
        AttributeTypeInfoList members;
        std::map<std::uint32_t, AttributeTypeInfo*> byOffset;
        std::map<std::u16string, AttributeTypeInfo*, std::less<>> byName;
        std::map<std::uint32_t, AttributeTypeInfo*> byId;
    };

    const KindTables* Tables(std::uint32_t kind) const;

    std::array<KindTables, kKindCount> kinds_;
    std::uint32_t typeNumber_;
};
