#include "namespaces/drawing/SvgStyle.h"

#include "namespaces/drawing/SvgNamespace.h"

COREKIT_DESCRIBE_XML_ELEMENT(SvgStyle, SvgNamespace(), u"style") {
    c.Text(&SvgStyle::text);
}
