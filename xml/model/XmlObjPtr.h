// XmlObjPtr<T>: a child member holding at most one child element of class
// T. Attaching the member makes its owner the child's parent.
#pragma once

#include "xml/model/Attribute.h"
#include "xml/model/AttributeClassTypeInfo.h"
#include "xml/model/SmartPtr.h"

template <class T>
class XmlObjPtr : public XmlBaseAttribute, public SmartPtr<T> {
public:
    using ChildType = T;

    XmlObjPtr() = default;
    XmlObjPtr& operator=(T* child) {
        SmartPtr<T>::operator=(child);
        return *this;
    }

    const ObjectTypeInfo& GetTypeInfo() const override {
        return AttributeClassTypeInfo<XmlObjPtr>();
    }
    void SetOwner(XmlObject* owner) override {
        if (T* child = this->Get())
            child->SetParent(owner);
    }
};
