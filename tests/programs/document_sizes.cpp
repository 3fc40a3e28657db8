// Builds a small tree through a namespace's factories and the text
// description, with a root that records the sizes it is told, and prints
// them: "sizes=<count> total=<bytes> object=<sizeof>".
#include <cstdio>

#include "xml/model/TextAttribute.h"
#include "xml/model/XmlClass.h"
#include "xml/model/XmlObjectList.h"

namespace {

XmlNamespace& Sizes() {
    static XmlNamespace ns(u"z", u"urn:corekit:test:sizes");
    return ns;
}

class Item : public XmlObject {
    COREKIT_XML_CLASS(Item, XmlObject)
public:
    TextAttribute text;
};

class Root : public XmlObject {
    COREKIT_XML_CLASS(Root, XmlObject)
public:
    XmlObjectList<XmlObject> items;
    unsigned reports = 0;
    unsigned total = 0;
    void AddDocumentSize(std::uint32_t bytes) override {
        ++reports;
        total += bytes;
    }
};

COREKIT_DESCRIBE_XML_ELEMENT(Item, Sizes(), u"item") {
    c.Text(&Item::text);
}
COREKIT_DESCRIBE_XML_ELEMENT(Root, Sizes(), u"root") {
    c.Child(&Root::items, Sizes(), u"item");
    c.AnyChild(&Root::items);
}

}  // namespace

int main() {
    SmartPtr<Root> root = new Root;
    const auto& slots = *root->GetTypeInfo().GetDescriptions(KindChildElement);
    const auto& itemSlot = static_cast<const XmlElementAttributeTypeInfo&>(*slots[0]);
    const auto& wildcard = static_cast<const XmlElementAttributeTypeInfo&>(*slots[1]);
    XmlObject* item = itemSlot.CreateChild(root.Get(), root.Get(), u"urn:corekit:test:sizes",
                                           u"item", u"z:item", nullptr, nullptr, {});
    const auto& text = static_cast<const XmlTextAttributeTypeInfo&>(
        *(*item->GetTypeInfo().GetDescriptions(KindText))[0]);
    text.AppendText(item, root.Get(), u"abc");    // 6 bytes
    text.AppendText(item, root.Get(), u"defgh");  // 10 bytes
    text.AppendText(item, nullptr, u"not counted");
    // A wildcard child is never counted.
    wildcard.CreateChild(root.Get(), root.Get(), u"urn:other", u"x", u"x", nullptr, nullptr, {});
    std::printf("sizes=%u total=%u object=%zu\n", root->reports, root->total, sizeof(Item));
    return 0;
}
