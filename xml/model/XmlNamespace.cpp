#include "xml/model/XmlNamespace.h"

#include "xml/io/NamespaceRegistry.h"

XmlNamespace::XmlNamespace(const char16_t* prefix, const char16_t* uri)
    : prefix_(prefix), uri_(uri) {
    RegisterNamespace(System::String(uri), this);
}

void XmlNamespace::RegisterFactory(std::u16string_view localName, XmlObjectFactory* factory) {
    factories_[std::u16string(localName)] = factory;
}

XmlObject* XmlNamespace::CreateObject(XmlObject* root, std::u16string_view localName) const {
    const auto found = factories_.find(localName);
    if (found == factories_.end() || !found->second)
        return nullptr;
    return found->second->CreateObject(root);
}

bool XmlNamespace::HasFactory(std::u16string_view localName) const {
    return factories_.find(localName) != factories_.end();
}

XmlNamespace& XmlNamespace::Framework() {
    static XmlNamespace framework(u"xcr", kFrameworkNamespaceUri);
    return framework;
}

XmlNamespace& XmlNamespace::Any() {
    static XmlNamespace any(u"any", kAnyNamespaceUri);
    return any;
}

namespace {
// Both are in the registry before the program's own code runs.
[[maybe_unused]] XmlNamespace& g_framework_at_startup = XmlNamespace::Framework();
[[maybe_unused]] XmlNamespace& g_any_at_startup = XmlNamespace::Any();
}  // namespace
