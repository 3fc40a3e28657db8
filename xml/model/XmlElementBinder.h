// XmlElementBinder: stores child objects into one kind of child member and
// lists them again. Binders have no data; one static instance per binder
// class serves every description.
#pragma once

#include <string>

#include "xml/model/Attribute.h"
#include "xml/model/XmlElementTypeInfo.h"
#include "xml/model/XmlObjectList.h"

class XmlObject;

class XmlElementBinder {
public:
    // Afterwards the member holds the child (a single-child member lets a
    // previous child go, a list appends). Parent links are not set here.
    virtual void Bind(XmlBaseAttribute& member, XmlObject* child) const = 0;
    // Appends every child the member holds, in order, to `list`.
    virtual void Collect(XmlBaseAttribute& member, XmlObjectList<XmlObject>& list) const = 0;

protected:
    ~XmlElementBinder() = default;
};

namespace XmlElementBinderDetail {
// "Can't bind an element of class '%s' to a member holding '%s'." naming the
// child's class and the member's.
[[noreturn]] void RaiseWrongClass(const XmlObject& child, const std::u16string& expectedName);
}  // namespace XmlElementBinderDetail

// The binder of the child member class M (XmlObjPtr<T> or XmlObjectList<T>).
// A child that is not a T is refused with a core error naming both classes.
template <class M>
class XmlElementAttributeValueBinder final : public XmlElementBinder {
public:
    using ChildType = typename M::ChildType;

    void Bind(XmlBaseAttribute& member, XmlObject* child) const override {
        auto* typed = dynamic_cast<ChildType*>(child);
        if (child && !typed)
            RaiseWrongClass(*child);
        auto& slot = static_cast<M&>(member);
        if constexpr (requires { slot.Append(SmartPtr<ChildType>()); })
            slot.Append(SmartPtr<ChildType>(typed));
        else
            slot = typed;
    }
    void Collect(XmlBaseAttribute& member, XmlObjectList<XmlObject>& list) const override {
        auto& slot = static_cast<M&>(member);
        if constexpr (requires { slot.Append(SmartPtr<ChildType>()); }) {
            for (const auto& child : slot)
                list.Append(SmartPtr<XmlObject>(child.Get()));
        } else if (slot.Get()) {
            list.Append(SmartPtr<XmlObject>(slot.Get()));
        }
    }

    static XmlElementAttributeValueBinder& Instance() {
        static XmlElementAttributeValueBinder binder;
        return binder;
    }

private:
    [[noreturn]] static void RaiseWrongClass(const XmlObject& child) {
        XmlElementBinderDetail::RaiseWrongClass(child, ChildType::ClassElementTypeInfo().GetName());
    }
};
