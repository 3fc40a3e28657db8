#include "namespaces/drawing/SvgLine.h"

#include "namespaces/drawing/SvgNamespace.h"

COREKIT_DESCRIBE_XML_ELEMENT(SvgLine, SvgNamespace(), u"line") {
    c.Attribute(&SvgLine::x1, u"x1");
    c.Attribute(&SvgLine::y1, u"y1");
    c.Attribute(&SvgLine::x2, u"x2");
    c.Attribute(&SvgLine::y2, u"y2");
}
