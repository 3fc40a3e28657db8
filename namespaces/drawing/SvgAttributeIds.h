// Ids of the presentation attributes. Inheritance finds the same attribute
// on the enclosing element by id, through the presentation group.
#pragma once

#include <cstdint>

enum SvgAttributeId : std::uint32_t {
    kSvgFillId = 1,
    kSvgStrokeId = 2,
    kSvgStrokeWidthId = 3,
    kSvgFontSizeId = 4,
    kSvgOpacityId = 5,
};
