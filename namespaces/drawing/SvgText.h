// SvgText: "text", its position and its character data.
#pragma once

#include "namespaces/drawing/SvgElement.h"
#include "xml/model/TextAttribute.h"

class SvgText : public SvgElement {
    COREKIT_XML_CLASS(SvgText, SvgElement)

public:
    TXmlNonInheritableAttribute<double> x, y;
    TextAttribute text;
};
