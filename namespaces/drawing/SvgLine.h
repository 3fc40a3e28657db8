// SvgLine: "line", from (x1, y1) to (x2, y2) in user units.
#pragma once

#include "namespaces/drawing/SvgElement.h"

class SvgLine : public SvgElement {
    COREKIT_XML_CLASS(SvgLine, SvgElement)

public:
    TXmlNonInheritableAttribute<double> x1, y1, x2, y2;
};
