// XmlObjectList<T>: a child member holding child elements of class T in
// document order. Attaching the member makes its owner the parent of every
// child, first to last; an empty entry raises System::NullPointerException
// and ends the walk there.
#pragma once

#include "xml/model/Attribute.h"
#include "xml/model/AttributeClassTypeInfo.h"
#include "xml/model/SmartPtr.h"
#include "xml/model/Vector.h"

template <class T>
class XmlObjectList : public XmlBaseAttribute, public Vector<SmartPtr<T>> {
public:
    using ChildType = T;

    const ObjectTypeInfo& GetTypeInfo() const override {
        return AttributeClassTypeInfo<XmlObjectList>();
    }
    void SetOwner(XmlObject* owner) override {
        for (auto& child : *this)
            child->SetParent(owner);
    }
};
