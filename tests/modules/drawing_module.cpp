// A namespace module for the tests: registers a namespace object for the SVG
// namespace when it is loaded, and tells the test program so.
#include "xml/model/XmlNamespace.h"

extern "C" void CorekitTestModuleLoaded(const char* name);

namespace {

XmlNamespace g_namespace(u"svg", u"http://www.w3.org/2000/svg");

struct Announce {
    Announce() { CorekitTestModuleLoaded("drawing"); }
} g_announce;

}  // namespace
