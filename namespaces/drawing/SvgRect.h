// SvgRect: "rect", in user units.
#pragma once

#include "namespaces/drawing/SvgElement.h"

class SvgRect : public SvgElement {
    COREKIT_XML_CLASS(SvgRect, SvgElement)

public:
    TXmlNonInheritableAttribute<double> x, y, width, height;
    TXmlNonInheritableAttribute<double> rx, ry;  // corner radii
};
