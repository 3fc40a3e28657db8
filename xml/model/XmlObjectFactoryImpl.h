// XmlObjectFactoryImpl<T>: the factory of the element class T. With a root
// and "Max Document Size" on, it first reports sizeof(T) to the root.
#pragma once

#include "xml/io/LoaderSettings.h"
#include "xml/model/NewObject.h"
#include "xml/model/XmlObject.h"
#include "xml/model/XmlObjectFactory.h"

template <class T>
class XmlObjectFactoryImpl final : public XmlObjectFactory {
public:
    XmlObject* CreateObject(XmlObject* root) override {
        if (root && LoaderSettings::maxDocumentSize != 0)
            root->AddDocumentSize(static_cast<std::uint32_t>(sizeof(T)));
        return NewObject<T>(u"XmlObjectFactoryImpl::object");
    }

    static XmlObjectFactoryImpl& Instance() {
        static XmlObjectFactoryImpl factory;
        return factory;
    }
};
