#include "namespaces/drawing/SvgContainer.h"

#include "namespaces/drawing/SvgNamespace.h"

COREKIT_DESCRIBE_XML_ABSTRACT(SvgContainer, SvgNamespace()) {
    c.Children(&SvgContainer::children, SvgNamespace(),
               {u"g", u"rect", u"circle", u"line", u"text", u"style"});
    c.AnyChild(&SvgContainer::children);
}
