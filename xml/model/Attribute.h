// The bases of the attribute members that element classes declare:
//
//   Attribute          an Object with a virtual destructor
//   XmlBaseAttribute   adds SetOwner: attaching the member to its element
//   XmlAttribute       a member bound to one XML attribute: owner link,
//                      cached description, CopyFrom, IsSet and Reset
//
// The bases are byte-packed so that the typed members built on them carry
// no alignment gaps.
#pragma once

#include <cstdint>

#include "xml/model/Object.h"

class XmlObject;
class XmlAttributeTypeInfo;

#pragma pack(push, 1)

class Attribute : public Object {
public:
    Attribute() = default;
    Attribute(const Attribute&) = delete;
    Attribute& operator=(const Attribute&) = delete;
    virtual ~Attribute() = default;
};

class XmlBaseAttribute : public Attribute {
public:
    virtual void SetOwner(XmlObject* owner) = 0;
};

class XmlAttribute : public XmlBaseAttribute {
public:
    // Copies value and set state from `source`, a member of the same value
    // type: only an explicit value, or with `effective` the value it reads.
    virtual void CopyFrom(const XmlAttribute& source, bool effective) = 0;
    virtual bool IsSet() const = 0;
    virtual void Reset() = 0;

    XmlObject* GetOwner() const noexcept { return owner_; }
    // The member's description, found through the owner's element class on
    // first use. Raises an internal error while the member has no owner.
    XmlAttributeTypeInfo& GetAttributeInfo() const;

protected:
    XmlObject* owner_ = nullptr;
    mutable XmlAttributeTypeInfo* description_ = nullptr;
};

#pragma pack(pop)

// Lookups the typed members make on the tree around them.
namespace AttributeLookup {
// The element whose parent and styles govern the member: its owner, or the
// first element above it whose class is not pass-through; none outside a
// tree.
XmlObject* GetContextElement(const XmlAttribute& member);
// The same attribute on the parent of the member's context element, by id
// when the description has one, else by name; none when absent.
XmlAttribute* FindOnParent(const XmlAttribute& member, const XmlAttributeTypeInfo& description);
// Runs the style lookup for the member into `result`, an unattached member
// of the same class; true when it put a value there.
bool FindStyledValue(XmlAttribute& result, const XmlAttribute& member,
                     const XmlAttributeTypeInfo& description);
}  // namespace AttributeLookup
