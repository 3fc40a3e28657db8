// SvgStyle: "style", a style sheet inside the document. Its text is read by
// the document (SvgDocument) when the tree is attached.
#pragma once

#include "xml/model/TextAttribute.h"
#include "xml/model/XmlClass.h"

class SvgStyle : public XmlObject {
    COREKIT_XML_CLASS(SvgStyle, XmlObject)

public:
    TextAttribute text;
};
