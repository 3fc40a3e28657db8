// SvgCircle: "circle", centre and radius in user units.
#pragma once

#include "namespaces/drawing/SvgElement.h"

class SvgCircle : public SvgElement {
    COREKIT_XML_CLASS(SvgCircle, SvgElement)

public:
    TXmlNonInheritableAttribute<double> cx, cy, r;
};
