// SvgElement: the base of the SVG element classes: "id", "class", "style"
// and the presentation attributes.
#pragma once

#include "namespaces/drawing/SvgClassList.h"
#include "namespaces/drawing/SvgPresentation.h"
#include "namespaces/drawing/SvgStyleDeclarations.h"
#include "xml/model/TXmlAttribute.h"
#include "xml/model/XmlClass.h"

class SvgElement : public XmlObject {
    COREKIT_XML_CLASS(SvgElement, XmlObject)

public:
    TXmlNonInheritableAttribute<WideString> id;
    SvgClassList classes;        // "class"
    SvgStyleDeclarations style;  // "style"
    XmlAttributeGroup<SvgPresentation> presentation;

protected:
    SvgElement() = default;
};
