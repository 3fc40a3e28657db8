#include "xml/model/XmlObjectTypeInfo.h"

#include "xml/model/XmlAttributeGroupTypeInfo.h"
#include "xml/model/XmlElementTypeInfo.h"

void XmlObjectTypeInfo::Finalize() {
    if (const auto* groups = GetDescriptions(KindAttributeGroup)) {
        for (const auto& group : *groups)
            IndexGroup(static_cast<XmlAttributeGroupTypeInfo*>(group.Get()), nullptr);
    }
}

void XmlObjectTypeInfo::IndexGroup(XmlAttributeGroupTypeInfo* group,
                                   XmlAttributeGroupTypeInfo* top) {
    XmlAttributeGroupTypeInfo* entry = top ? top : group;
    const ObjectTypeInfo* groupType = group->GetGroupElementTypeInfo().GetOwningType();
    if (const auto* attributes = groupType->GetDescriptions(KindAttribute)) {
        for (const auto& attribute : *attributes) {
            if (attribute->GetId() != 0)
                groupIndex_[attribute->GetId()] = entry;
        }
    }
    if (const auto* nested = groupType->GetDescriptions(KindAttributeGroup)) {
        for (const auto& inner : *nested)
            IndexGroup(static_cast<XmlAttributeGroupTypeInfo*>(inner.Get()), entry);
    }
}

XmlAttributeGroupTypeInfo* XmlObjectTypeInfo::FindGroupById(std::uint32_t id) const {
    const auto found = groupIndex_.find(id);
    return found == groupIndex_.end() ? nullptr : found->second;
}
