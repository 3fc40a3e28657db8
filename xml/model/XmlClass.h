// Declaring element classes.
//
// In the class body, COREKIT_XML_CLASS(Class, Base) declares the type
// information accessors and overrides. In one source file, a description
// block names the class's element and describes its members:
//
//   class Rect : public Shape {
//       COREKIT_XML_CLASS(Rect, Shape)
//   public:
//       TXmlNonInheritableAttribute<double> width, height;
//   };
//
//   COREKIT_DESCRIBE_XML_ELEMENT(Rect, SvgNamespace(), u"rect") {
//       c.Attribute(&Rect::width, u"width");
//       c.Attribute(&Rect::height, u"height");
//   }
//
// The block runs once, during start-up: it adds the class's element
// description, then its members in the order written, then describes the
// base class on the same type information, so every list holds the class's
// own descriptions first and its bases' after them. The forms:
//
//   COREKIT_DESCRIBE_XML_ELEMENT(Class, ns, u"name")   with a factory, entered
//                                                      into `ns`
//   COREKIT_DESCRIBE_XML_ABSTRACT(Class, ns)           no factory, no name: a
//                                                      base of other classes
//   COREKIT_DESCRIBE_XML_GROUP(Class, ns)              an attribute group
//                                                      class (pass-through)
//   COREKIT_DESCRIBE_XML_CLASS(Class, ns, u"name", passThrough)
//                                                      with a factory, any
//                                                      name, pass-through chosen
#pragma once

#include "xml/model/XmlClassBuilder.h"

#define COREKIT_XML_CLASS(Class, Base)                              \
public:                                                             \
    using BaseClass = Base;                                         \
    static XmlObjectTypeInfo& ClassTypeInfo();                      \
    static const XmlElementTypeInfo& ClassElementTypeInfo();        \
    static void DescribeClass(XmlObjectTypeInfo& info);             \
    const ObjectTypeInfo& GetTypeInfo() const override {            \
        return ClassTypeInfo();                                     \
    }                                                               \
    const XmlElementTypeInfo* GetElementTypeInfo() const override { \
        return &ClassElementTypeInfo();                             \
    }                                                               \
                                                                    \
private:                                                            \
    static void DescribeMembers(XmlClassBuilder<Class>& c);

#define COREKIT_XML_CONCAT_(a, b) a##b
#define COREKIT_XML_CONCAT(a, b) COREKIT_XML_CONCAT_(a, b)

#define COREKIT_XML_DESCRIPTION_(Class, NamespaceObject, LocalName, WithFactory, PassThrough) \
    XmlObjectTypeInfo& Class::ClassTypeInfo() {                                               \
        return XmlClassDetail::TypeInfoOf<Class>();                                           \
    }                                                                                         \
    const XmlElementTypeInfo& Class::ClassElementTypeInfo() {                                 \
        static const XmlElementTypeInfo& element = FirstElementTypeInfo(ClassTypeInfo());     \
        return element;                                                                       \
    }                                                                                         \
    void Class::DescribeClass(XmlObjectTypeInfo& info) {                                      \
        XmlClassBuilder<Class> builder(info);                                                 \
        builder.Element<WithFactory>(NamespaceObject, LocalName, PassThrough);                \
        DescribeMembers(builder);                                                             \
        BaseClass::DescribeClass(info);                                                       \
        info.Finalize();                                                                      \
    }                                                                                         \
    namespace {                                                                               \
    [[maybe_unused]] const XmlObjectTypeInfo& COREKIT_XML_CONCAT(                             \
        g_described_at_startup_, __LINE__) = Class::ClassTypeInfo();                          \
    }                                                                                         \
    void Class::DescribeMembers([[maybe_unused]] XmlClassBuilder<Class>& c)

#define COREKIT_DESCRIBE_XML_ELEMENT(Class, NamespaceObject, LocalName) \
    COREKIT_XML_DESCRIPTION_(Class, NamespaceObject, LocalName, true, false)
#define COREKIT_DESCRIBE_XML_ABSTRACT(Class, NamespaceObject) \
    COREKIT_XML_DESCRIPTION_(Class, NamespaceObject, u"", false, false)
#define COREKIT_DESCRIBE_XML_GROUP(Class, NamespaceObject) \
    COREKIT_XML_DESCRIPTION_(Class, NamespaceObject, u"", false, true)
#define COREKIT_DESCRIBE_XML_CLASS(Class, NamespaceObject, LocalName, PassThrough) \
    COREKIT_XML_DESCRIPTION_(Class, NamespaceObject, LocalName, true, PassThrough)
