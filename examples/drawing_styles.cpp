// Builds a small drawing through the SVG namespace module (libdrawing.so,
// loaded from this program's folder on first use of the SVG namespace) and
// prints what each shape's presentation attributes resolve to: explicit
// values, style rules, inline styles, inheritance and defaults.
//
//   <svg>
//     <style>rect { fill: red } .warn { fill: orange }</style>
//     <g fill="purple" font-size="20">
//       <rect/>  <rect class="warn"/>  <rect style="fill: green"/>
//       <circle/>  <text>Hello</text>
//     </g>
//   </svg>
#include <cstdio>
#include <string>
#include <vector>

#include "xml/io/NamespaceRegistry.h"
#include "xml/io/ParserFactory.h"
#include "xml/model/ObjectTypeInfo.h"
#include "xml/model/TXmlAttribute.h"
#include "xml/model/XmlElementAttributeTypeInfo.h"
#include "xml/model/XmlNamespace.h"
#include "xml/model/XmlObject.h"
#include "xml/model/XmlTextAttributeTypeInfo.h"

namespace {

const char16_t* const kSvg = u"http://www.w3.org/2000/svg";

std::string Narrow(std::u16string_view text) {
    return std::string(text.begin(), text.end());
}

// Offers a start tag to the parent's child slots in order, as a loader
// does; the first slot that makes an object wins.
XmlObject* Add(XmlObject* parent, XmlObject* root, const char16_t* name,
               const std::vector<std::pair<std::u16string, std::u16string>>& attributes = {}) {
    auto list = CreateSaxAttributes();
    for (const auto& [attribute, value] : attributes)
        list->addAttribute(u"", attribute, attribute, u"CDATA", value);
    platform::com::ComPtr<platform::xml::ISAXAttributes> read;
    list.As(read);
    for (const auto& slot : *parent->GetTypeInfo().GetDescriptions(KindChildElement)) {
        const auto& description = static_cast<const XmlElementAttributeTypeInfo&>(*slot);
        if (description.IsWildcard())
            continue;
        if (XmlObject* child =
                description.CreateChild(parent, root, kSvg, name, name, read.Get(), nullptr, {}))
            return child;
    }
    return nullptr;
}

void AppendText(XmlObject* object, std::u16string_view text) {
    const auto& description = static_cast<const XmlTextAttributeTypeInfo&>(
        *(*object->GetTypeInfo().GetDescriptions(KindText))[0]);
    description.AppendText(object, nullptr, text);
}

template <class T>
T Value(XmlObject* object, std::u16string_view name) {
    auto* member = dynamic_cast<TXmlAttribute<T>*>(FindAttributeByName(object, name));
    return member ? static_cast<T>(member->GetValue()) : T();
}

}  // namespace

int main() {
    XmlNamespace* svg = LookupNamespace(System::String(kSvg));
    if (!svg) {
        std::fprintf(stderr, "The SVG namespace module is not available.\n");
        return 1;
    }
    SmartPtr<XmlObject> document(svg->CreateObject(nullptr, u"svg"));
    AppendText(Add(document.Get(), document.Get(), u"style"),
               u"rect { fill: red } .warn { fill: orange }");
    XmlObject* group =
        Add(document.Get(), document.Get(), u"g", {{u"fill", u"purple"}, {u"font-size", u"20"}});
    std::vector<std::pair<const char*, XmlObject*>> shapes = {
        {"rect", Add(group, document.Get(), u"rect")},
        {"rect class=warn", Add(group, document.Get(), u"rect", {{u"class", u"warn"}})},
        {"rect style", Add(group, document.Get(), u"rect", {{u"style", u"fill: green"}})},
        {"circle", Add(group, document.Get(), u"circle")},
        {"text", Add(group, document.Get(), u"text")},
    };
    AppendText(shapes.back().second, u"Hello");
    // Attaching the finished tree sets every parent link and reads the
    // document's style sheet.
    document->SetParent(nullptr);

    for (const auto& [label, shape] : shapes)
        std::printf("%-16s fill=%-7s stroke=%-5s font-size=%g\n", label,
                    Narrow(Value<WideString>(shape, u"fill")).c_str(),
                    Narrow(Value<WideString>(shape, u"stroke")).c_str(),
                    Value<double>(shape, u"font-size"));
    return 0;
}
