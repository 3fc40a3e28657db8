#include "ObjectModelFixture.h"

namespace fixture {

XmlNamespace& TestNamespace() {
    static XmlNamespace ns(u"t", kTestUri);
    return ns;
}

COREKIT_DESCRIBE_XML_GROUP(Paint, TestNamespace()) {
    c.Attribute(&Paint::color, u"color", kColorId).Inherited().Default(u"black");
    c.Attribute(&Paint::weight, u"weight", kWeightId).Inherited();
}

COREKIT_DESCRIBE_XML_GROUP(Outer, TestNamespace()) {
    c.Attribute(&Outer::label, u"label");
    c.Group(&Outer::paint, u"paint");
}

COREKIT_DESCRIBE_XML_ABSTRACT(Node, TestNamespace()) {
    c.Attribute(&Node::size, u"size", kSizeId).Inherited().Default(10);
    c.Attribute(&Node::name, u"name");
    c.Children(&Node::children, TestNamespace(), {u"box", u"leaf", u"small"});
    c.AnyChild(&Node::children);
}

COREKIT_DESCRIBE_XML_ELEMENT(Box, TestNamespace(), u"box") {
    c.Attribute(&Box::depth, u"depth", kDepthId).Inherited();
    c.Attribute(&Box::visible, u"visible").Styled();
    c.Attribute(&Box::ratio, u"ratio");
    c.Attribute(&Box::scale, u"scale");
    c.Attribute(&Box::big, u"big");
    c.Group(&Box::paint, u"paint");
    c.Text(&Box::text);
}

COREKIT_DESCRIBE_XML_ELEMENT(Small, TestNamespace(), u"small") {
    c.Attribute(&Small::size, u"size", kSizeId).Inherited().Default(1);
}

COREKIT_DESCRIBE_XML_ELEMENT(Leaf, TestNamespace(), u"leaf") {
    c.Attribute(&Leaf::size, u"size", kSizeId).Inherited();
    c.Text(&Leaf::text);
}

COREKIT_DESCRIBE_XML_ELEMENT(Holder, TestNamespace(), u"holder") {
    c.Child(&Holder::leaf, TestNamespace(), u"leaf");
    c.Group(&Holder::outer, u"outer");
}

}  // namespace fixture
