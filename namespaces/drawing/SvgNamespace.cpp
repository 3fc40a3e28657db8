#include "namespaces/drawing/SvgNamespace.h"

XmlNamespace& SvgNamespace() {
    static XmlNamespace ns(kSvgPrefix, kSvgNamespaceUri);
    return ns;
}

namespace {
// Registered even if no class description happened to ask for it first.
[[maybe_unused]] XmlNamespace& g_svg_at_startup = SvgNamespace();
}  // namespace
