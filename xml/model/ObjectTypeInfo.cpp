#include "xml/model/ObjectTypeInfo.h"

#include <atomic>

#include "services/CoreError.h"

namespace {
std::atomic<std::uint32_t> g_lastTypeNumber{0};
}

ObjectTypeInfo::ObjectTypeInfo() : typeNumber_(++g_lastTypeNumber) {}

ObjectTypeInfo::~ObjectTypeInfo() = default;

const ObjectTypeInfo::KindTables* ObjectTypeInfo::Tables(std::uint32_t kind) const {
    if (kind < 1 || kind > kKindCount)
        return nullptr;
    return &kinds_[kind - 1];
}

void ObjectTypeInfo::Add(AttributeTypeInfo* description) {
    const std::uint32_t kind = description->GetKind();
    RaiseCoreErrorIf(kind < 1 || kind > kKindCount,
                     u"Internal error (description kind %u is out of range).", kind);
    KindTables& tables = kinds_[kind - 1];
    const SmartPtr<AttributeTypeInfo> held(description);
    const std::uint32_t offset = description->GetOffset();

    tables.all.Append(held);
    bool offsetListed = false;
    for (const auto& member : tables.members) {
        if (member->GetOffset() == offset) {
            offsetListed = true;
            break;
        }
    }
    if (!offsetListed)
        tables.members.Append(held);
    if (offset != 0)
        tables.byOffset[offset] = description;
    tables.byName[description->GetName()] = description;
    if (description->GetId() != 0)
        tables.byId[description->GetId()] = description;
}

const AttributeTypeInfoList* ObjectTypeInfo::GetDescriptions(std::uint32_t kind) const {
    const KindTables* tables = Tables(kind);
    return tables && !tables->all.empty() ? &tables->all : nullptr;
}

const AttributeTypeInfoList* ObjectTypeInfo::GetMemberDescriptions(std::uint32_t kind) const {
    const KindTables* tables = Tables(kind);
    return tables && !tables->members.empty() ? &tables->members : nullptr;
}

AttributeTypeInfo* ObjectTypeInfo::FindByOffset(std::uint32_t kind, std::uint32_t offset) const {
    const KindTables* tables = Tables(kind);
    if (!tables)
        return nullptr;
    const auto found = tables->byOffset.find(offset);
    return found == tables->byOffset.end() ? nullptr : found->second;
}

AttributeTypeInfo* ObjectTypeInfo::FindByName(std::uint32_t kind, std::u16string_view name) const {
    const KindTables* tables = Tables(kind);
    if (!tables)
        return nullptr;
    const auto found = tables->byName.find(name);
    return found == tables->byName.end() ? nullptr : found->second;
}

AttributeTypeInfo* ObjectTypeInfo::FindById(std::uint32_t kind, std::uint32_t id) const {
    const KindTables* tables = Tables(kind);
    if (!tables)
        return nullptr;
    const auto found = tables->byId.find(id);
    return found == tables->byId.end() ? nullptr : found->second;
}

bool ObjectTypeInfo::HasIds(std::uint32_t kind) const {
    const KindTables* tables = Tables(kind);
    return tables && !tables->byId.empty();
}
