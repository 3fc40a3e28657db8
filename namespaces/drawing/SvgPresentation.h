// SvgPresentation: the presentation attributes every SVG element carries,
// as an attribute group. All of them take style values; all but opacity
// inherit from the enclosing element.
#pragma once

#include "xml/model/TXmlAttribute.h"
#include "xml/model/XmlClass.h"

class SvgPresentation : public XmlObject {
    COREKIT_XML_CLASS(SvgPresentation, XmlObject)

public:
    TXmlAttribute<WideString> fill;               // "fill", default "black"
    TXmlAttribute<WideString> stroke;             // "stroke", default "none"
    TXmlAttribute<double> strokeWidth;            // "stroke-width", default 1
    TXmlAttribute<double> fontSize;               // "font-size", default 16
    TXmlNonInheritableAttribute<double> opacity;  // "opacity", default 1
};
