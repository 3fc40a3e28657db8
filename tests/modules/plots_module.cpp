// A namespace module for the tests that registers nothing.
extern "C" void CorekitTestModuleLoaded(const char* name);

namespace {

struct Announce {
    Announce() { CorekitTestModuleLoaded("plots"); }
} g_announce;

}  // namespace
