#include "namespaces/drawing/SvgGroup.h"

#include "namespaces/drawing/SvgNamespace.h"

COREKIT_DESCRIBE_XML_ELEMENT(SvgGroup, SvgNamespace(), u"g") {}
