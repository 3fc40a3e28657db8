// SvgContainer: the base of the elements that hold other elements ("svg",
// "g"). Its children keep document order; an element it has no class for
// (an SVG element the module does not know, or one of another namespace)
// is captured whole as an XmlAnyElement.
#pragma once

#include "namespaces/drawing/SvgElement.h"
#include "xml/model/XmlObjectList.h"

class SvgContainer : public SvgElement {
    COREKIT_XML_CLASS(SvgContainer, SvgElement)

public:
    XmlObjectList<XmlObject> children;

protected:
    SvgContainer() = default;
};
