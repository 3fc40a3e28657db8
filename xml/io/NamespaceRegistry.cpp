#include "xml/io/NamespaceRegistry.h"

#include <map>
#include <mutex>

#include "modules/system/ModulePath.h"
#include "services/CoreError.h"
#include "services/Logger.h"

namespace {

struct ModuleEntry {
    const char16_t* uri;
    const char16_t* library;
};

// In the order a URI is compared; matched exactly.
constexpr ModuleEntry kModules[] = {
    {u"http://www.w3.org/2000/svg", u"libdrawing.so"},
    {u"http://www.w3.org/1999/XSL/Format", u"libpagefmt.so"},
    {u"urn:tamsil:plots", u"libplots.so"},
    {u"urn:schemas-microsoft-com:vml", u"libshapes.so"},
};

std::map<System::String, XmlNamespace*>& Registry() {
    static std::map<System::String, XmlNamespace*> registry;
    return registry;
}

std::recursive_mutex& RegistryLock() {
    static std::recursive_mutex lock;
    return lock;
}
// The lock exists before any thread can look a namespace up.
[[maybe_unused]] std::recursive_mutex& g_lock_at_startup = RegistryLock();

XmlNamespace* Find(const System::String& uri) {
    const auto& registry = Registry();
    const auto found = registry.find(uri);
    return found == registry.end() ? nullptr : found->second;
}

}  // namespace

void RegisterNamespace(const System::String& uri, XmlNamespace* object) {
    Registry()[uri.IsNull() ? System::String(u"") : uri] = object;
}

XmlNamespace* LookupNamespace(const System::String& uri) {
    // The caller's string is only read here: copying it would touch its
    // reference count, which belongs to the caller's thread.
    const System::String empty(u"");
    const System::String& key = uri.IsNull() ? empty : uri;
    std::lock_guard guard(RegistryLock());
    if (XmlNamespace* found = Find(key))
        return found;
    for (const ModuleEntry& module : kModules) {
        if (key == module.uri) {
            LoadNamespaceModule(System::String(module.library));
            return Find(key);
        }
    }
    LogWarning(u"Unknown namespace URI: '%s'", key);
    return nullptr;
}

void LoadNamespaceModule(const System::String& fileName) {
    const System::String path = GetModuleDirectory() + System::String(u"/") + fileName;
    const platform::ModuleHandle handle = platform::LoadModule(path.View());
    RaiseCoreErrorIf(handle == nullptr, u"Can't load module %s", path);
}

platform::ModuleHandle GetLibraryModule() {
    return platform::ModuleOfThisCode();
}
