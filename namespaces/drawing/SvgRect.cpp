#include "namespaces/drawing/SvgRect.h"

#include "namespaces/drawing/SvgNamespace.h"

COREKIT_DESCRIBE_XML_ELEMENT(SvgRect, SvgNamespace(), u"rect") {
    c.Attribute(&SvgRect::x, u"x");
    c.Attribute(&SvgRect::y, u"y");
    c.Attribute(&SvgRect::width, u"width");
    c.Attribute(&SvgRect::height, u"height");
    c.Attribute(&SvgRect::rx, u"rx");
    c.Attribute(&SvgRect::ry, u"ry");
}
