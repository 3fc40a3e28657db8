// XmlNamespace: one XML namespace at run time, mapping the local names of its
// elements to factories. Each namespace object is a static object of the
// code that defines its element classes; constructing it enters it into the
// namespace registry under its URI.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "xml/model/XmlObjectFactory.h"

class XmlNamespace {
public:
    // `prefix` and `uri` are static texts.
    XmlNamespace(const char16_t* prefix, const char16_t* uri);
    XmlNamespace(const XmlNamespace&) = delete;
    XmlNamespace& operator=(const XmlNamespace&) = delete;

    // A later factory for the same name replaces the earlier one; the map
    // does not own the factories.
    void RegisterFactory(std::u16string_view localName, XmlObjectFactory* factory);
    // The factory's new object, or none when the name has no factory.
    XmlObject* CreateObject(XmlObject* root, std::u16string_view localName) const;
    bool HasFactory(std::u16string_view localName) const;

    const char16_t* GetPrefix() const noexcept { return prefix_; }
    const char16_t* GetUri() const noexcept { return uri_; }

    // The framework's own namespaces (made on first use).
    static XmlNamespace& Framework();
    static XmlNamespace& Any();

private:
    std::map<std::u16string, XmlObjectFactory*, std::less<>> factories_;
    const char16_t* prefix_;
    const char16_t* uri_;
};

// The fixed URIs of the framework's namespaces.
inline constexpr const char16_t* kFrameworkNamespaceUri = u"urn:corekit:framework";
inline constexpr const char16_t* kAnyNamespaceUri = u"urn:corekit:any";
