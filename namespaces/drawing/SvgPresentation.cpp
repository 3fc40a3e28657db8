#include "namespaces/drawing/SvgPresentation.h"

#include "namespaces/drawing/SvgAttributeIds.h"
#include "namespaces/drawing/SvgNamespace.h"

COREKIT_DESCRIBE_XML_GROUP(SvgPresentation, SvgNamespace()) {
    c.Attribute(&SvgPresentation::fill, u"fill", kSvgFillId).Inherited().Styled().Default(u"black");
    c.Attribute(&SvgPresentation::stroke, u"stroke", kSvgStrokeId)
        .Inherited()
        .Styled()
        .Default(u"none");
    c.Attribute(&SvgPresentation::strokeWidth, u"stroke-width", kSvgStrokeWidthId)
        .Inherited()
        .Styled()
        .Default(1.0);
    c.Attribute(&SvgPresentation::fontSize, u"font-size", kSvgFontSizeId)
        .Inherited()
        .Styled()
        .Default(16.0);
    c.Attribute(&SvgPresentation::opacity, u"opacity", kSvgOpacityId).Styled().Default(1.0);
}
