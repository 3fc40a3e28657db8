// Attribute groups (kind 1): a member that holds a group object, an
// XmlObject whose own class lists further XML attributes. Groups let
// element classes share sets of attributes; lookups by name and id reach
// into them, and the group object's class is pass-through, so the context
// element of a grouped attribute is the element holding the group.
//
// XmlAttributeGroupTypeInfo is the description base element-class
// libraries derive from; XmlAttributeGroup<G> with its description
// XmlAttributeGroupMemberTypeInfo<G> is the ready-made member that embeds a
// G by value (XmlClassBuilder::Group declares it).
#pragma once

#include <string>
#include <string_view>

#include "xml/model/AttributeClassTypeInfo.h"
#include "xml/model/AttributeTypeInfo.h"
#include "xml/model/XmlElementTypeInfo.h"

namespace platform::xml {
class ISAXAttributes;
}

class XmlAttributeGroupTypeInfo : public AttributeTypeInfo {
public:
    XmlAttributeGroupTypeInfo(std::uint32_t offset, ObjectTypeInfo* owningType,
                              const char16_t* name, const char16_t* prefix = nullptr);

    // The group object held by the member of `owner`.
    virtual XmlObject* GetGroupObject(XmlObject* owner) const = 0;
    // The element description of the group object's class.
    virtual const XmlElementTypeInfo& GetGroupElementTypeInfo() const = 0;
    // Offers an XML attribute of a start tag to the group's own attribute
    // descriptions, then to its nested groups; true when one took it.
    virtual bool TryBindValue(XmlObject* object, XmlObject* root, std::u16string_view namespaceUri,
                              std::u16string_view localName,
                              platform::xml::ISAXAttributes* attributes, std::int32_t index) const;

    const std::u16string& GetQualifiedName() const noexcept { return qualifiedName_; }

private:
    std::u16string qualifiedName_;
};

// The member embedding a group object of class G (an XmlObject subclass
// whose element description is pass-through). Attaching the member makes
// its owner the group object's parent.
template <class G>
class XmlAttributeGroup : public XmlBaseAttribute {
public:
    const ObjectTypeInfo& GetTypeInfo() const override {
        return AttributeClassTypeInfo<XmlAttributeGroup>();
    }
    void SetOwner(XmlObject* owner) override { group_.SetParent(owner); }

    G& Group() noexcept { return group_; }
    const G& Group() const noexcept { return group_; }
    G* operator->() noexcept { return &group_; }
    const G* operator->() const noexcept { return &group_; }

private:
    G group_;
};

template <class G>
class XmlAttributeGroupMemberTypeInfo final : public XmlAttributeGroupTypeInfo {
public:
    using XmlAttributeGroupTypeInfo::XmlAttributeGroupTypeInfo;

    XmlObject* GetGroupObject(XmlObject* owner) const override {
        return &MemberOf<XmlAttributeGroup<G>>(owner).Group();
    }
    const XmlElementTypeInfo& GetGroupElementTypeInfo() const override {
        return G::ClassElementTypeInfo();
    }
};
