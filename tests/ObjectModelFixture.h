// Element classes for the object-model tests, in the namespace
// "urn:corekit:test".
#pragma once

#include "xml/model/TXmlAttribute.h"
#include "xml/model/TextAttribute.h"
#include "xml/model/XmlAnyElement.h"
#include "xml/model/XmlClass.h"
#include "xml/model/XmlObjPtr.h"
#include "xml/model/XmlObjectList.h"

namespace fixture {

XmlNamespace& TestNamespace();
inline constexpr const char16_t* kTestUri = u"urn:corekit:test";

enum : std::uint32_t { kColorId = 1, kSizeId = 2, kDepthId = 3, kWeightId = 4 };

// An attribute group: "color" and "weight" shared by classes that embed it.
class Paint : public XmlObject {
    COREKIT_XML_CLASS(Paint, XmlObject)
public:
    TXmlAttribute<WideString> color;
    TXmlAttribute<std::int32_t> weight;
};

// A group nested in another group.
class Outer : public XmlObject {
    COREKIT_XML_CLASS(Outer, XmlObject)
public:
    TXmlNonInheritableAttribute<WideString> label;
    XmlAttributeGroup<Paint> paint;
};

// Base of the node classes: inherited "size" with a default, and children.
class Node : public XmlObject {
    COREKIT_XML_CLASS(Node, XmlObject)
public:
    TXmlAttribute<std::int32_t> size;
    TXmlNonInheritableAttribute<WideString> name;
    XmlObjectList<XmlObject> children;
};

class Box : public Node {
    COREKIT_XML_CLASS(Box, Node)
public:
    TXmlAttribute<std::int32_t> depth;
    TXmlAttribute<bool> visible;
    TXmlNonInheritableAttribute<double> ratio;
    TXmlNonInheritableAttribute<float> scale;
    TXmlNonInheritableAttribute<std::int64_t> big;
    XmlAttributeGroup<Paint> paint;
    TextAttribute text;
};

// Re-describes Node's "size" with another default.
class Small : public Node {
    COREKIT_XML_CLASS(Small, Node)
};

class Leaf : public XmlObject {
    COREKIT_XML_CLASS(Leaf, XmlObject)
public:
    TXmlAttribute<std::int32_t> size;
    TextAttribute text;
};

class Holder : public XmlObject {
    COREKIT_XML_CLASS(Holder, XmlObject)
public:
    XmlObjPtr<Leaf> leaf;
    XmlAttributeGroup<Outer> outer;
};

}  // namespace fixture
