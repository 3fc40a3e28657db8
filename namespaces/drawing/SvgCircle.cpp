#include "namespaces/drawing/SvgCircle.h"

#include "namespaces/drawing/SvgNamespace.h"

COREKIT_DESCRIBE_XML_ELEMENT(SvgCircle, SvgNamespace(), u"circle") {
    c.Attribute(&SvgCircle::cx, u"cx");
    c.Attribute(&SvgCircle::cy, u"cy");
    c.Attribute(&SvgCircle::r, u"r");
}
