#include "namespaces/drawing/SvgElement.h"

#include "namespaces/drawing/SvgNamespace.h"

COREKIT_DESCRIBE_XML_ABSTRACT(SvgElement, SvgNamespace()) {
    c.Attribute(&SvgElement::id, u"id");
    // The empty default makes an element without a class attribute ask
    // for the rules of its element name (see SvgClassList).
    c.Attribute(&SvgElement::classes, u"class").Default(u"");
    c.Attribute(&SvgElement::style, u"style");
    c.Group(&SvgElement::presentation, u"presentation");
}
