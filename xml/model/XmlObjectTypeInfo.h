// XmlObjectTypeInfo: the type information of an element class. Besides the
// lists and indexes it keeps the group index: for each attribute id reached
// through an attribute group of the class (at any depth), the class's own
// group description that leads to it.
#pragma once

#include <map>

#include "xml/model/ObjectTypeInfo.h"

class XmlAttributeGroupTypeInfo;

class XmlObjectTypeInfo : public ObjectTypeInfo {
public:
    void Finalize() override;
    XmlAttributeGroupTypeInfo* FindGroupById(std::uint32_t id) const;

private:
    void IndexGroup(XmlAttributeGroupTypeInfo* group, XmlAttributeGroupTypeInfo* top);

    std::map<std::uint32_t, XmlAttributeGroupTypeInfo*> groupIndex_;
};
