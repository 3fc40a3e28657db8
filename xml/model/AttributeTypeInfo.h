// AttributeTypeInfo: one description inside a class's type information: a
// member of the class (an XML attribute, a child slot, the text member, an
// attribute group), the class's own element, or a design-time entry.
#pragma once

#include <cstdint>
#include <string>

#include "xml/model/Attribute.h"
#include "xml/model/RefObject.h"

class ObjectTypeInfo;
class XmlObject;

// Description kinds; the lists of a type information hold kinds 1 to 12.
enum AttributeKind : std::uint32_t {
    KindAttributeGroup = 1,
    KindAttribute = 2,
    KindChildElement = 3,
    KindElement = 4,
    KindAttributeFallback = 5,
    KindText = 6,
    KindEnumValue = 10,
    KindValueEditorType = 12,
};
inline constexpr std::uint32_t kKindCount = 12;

class AttributeTypeInfo : public RefObject {
public:
    // `offset` is the position of the member's XmlBaseAttribute part inside
    // an object of the class, counted from the object's XmlObject base; 0
    // for descriptions of no member.
    AttributeTypeInfo(std::uint32_t offset, std::uint32_t kind, ObjectTypeInfo* owningType,
                      std::u16string name, std::uint32_t id = 0);

    // The member of `object` that this description describes, as its
    // XmlBaseAttribute part (the object itself for descriptions without a
    // member).
    virtual void* GetMember(XmlObject* object) const;

    std::uint32_t GetOffset() const noexcept { return offset_; }
    std::uint32_t GetKind() const noexcept { return kind_; }
    ObjectTypeInfo* GetOwningType() const noexcept { return owningType_; }
    const std::u16string& GetName() const noexcept { return name_; }
    std::uint32_t GetId() const noexcept { return id_; }

    // The member as its own class M.
    template <class M>
    M& MemberOf(XmlObject* object) const {
        return static_cast<M&>(*static_cast<XmlBaseAttribute*>(GetMember(object)));
    }

protected:
    void SetName(std::u16string name) { name_ = std::move(name); }

private:
    std::uint32_t offset_;
    std::uint32_t kind_;
    ObjectTypeInfo* owningType_;
    std::u16string name_;
    std::uint32_t id_;
};
