// SvgGroup: "g", a container whose attributes its children inherit.
#pragma once

#include "namespaces/drawing/SvgContainer.h"

class SvgGroup : public SvgContainer {
    COREKIT_XML_CLASS(SvgGroup, SvgContainer)
};
