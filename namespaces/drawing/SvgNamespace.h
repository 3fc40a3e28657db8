// The SVG namespace of the drawing module: prefix "svg", the W3C URI. Every
// element class of the module enters its factory here.
#pragma once

#include "xml/model/XmlNamespace.h"

inline constexpr const char16_t* kSvgNamespaceUri = u"http://www.w3.org/2000/svg";
inline constexpr const char16_t* kSvgPrefix = u"svg";

// Made on first use; the module makes it while it is loaded, so the
// namespace registry knows it once dlopen returns.
XmlNamespace& SvgNamespace();
