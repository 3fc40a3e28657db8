#include "xml/model/AttributeTypeInfo.h"

#include <utility>

AttributeTypeInfo::AttributeTypeInfo(std::uint32_t offset, std::uint32_t kind,
                                     ObjectTypeInfo* owningType, std::u16string name,
                                     std::uint32_t id)
    : offset_(offset), kind_(kind), owningType_(owningType), name_(std::move(name)), id_(id) {}

void* AttributeTypeInfo::GetMember(XmlObject* object) const {
    return reinterpret_cast<char*>(object) + offset_;
}
