#include "namespaces/drawing/SvgText.h"

#include "namespaces/drawing/SvgNamespace.h"

COREKIT_DESCRIBE_XML_ELEMENT(SvgText, SvgNamespace(), u"text") {
    c.Attribute(&SvgText::x, u"x");
    c.Attribute(&SvgText::y, u"y");
    c.Text(&SvgText::text);
}
