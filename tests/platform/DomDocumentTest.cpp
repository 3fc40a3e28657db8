#include <gtest/gtest.h>

#include <thread>

#include "XmlTestSupport.h"
#include "platform/com/ComError.h"
#include "platform/xml/DomInterfaces.h"

namespace {

using namespace xmltest;
using platform::com::E_INVALIDARG;
using platform::com::S_FALSE;
using platform::com::XML_E_XPATH;

const std::u16string kSchema =
    u"<validate xmlns='urn:schema' xmlns:o='urn:other'>"
    u"<namespace uri='urn:a' prefix='a' root-element='doc'>"
    u"<elements><element name='doc'><auto-fill>filled</auto-fill></element>"
    u"<element name='part'/></elements>"
    u"<attributes><attribute name='color'><type><enum><item>left</item><item>right</item>"
    u"</enum><string role='length'/></type></attribute></attributes>"
    u"</namespace>"
    u"<namespace uri='urn:b' prefix='b'><o:extra/></namespace>"
    u"</validate>";

ComPtr<IXMLDOMDocument2> Load(const std::u16string& text) {
    auto document = Create<IXMLDOMDocument2>(kClsidFreeThreadedDomDocument40);
    bool ok = false;
    EXPECT_EQ(document->loadXML(text, &ok), S_OK);
    EXPECT_TRUE(ok);
    EXPECT_EQ(document->setProperty(u"SelectionLanguage", std::u16string(u"XPath")), S_OK);
    EXPECT_EQ(
        document->setProperty(u"SelectionNamespaces",
                              std::u16string(u"xmlns:xs='urn:schema'  xmlns:o=\"urn:other\"")),
        S_OK);
    return document;
}

std::vector<std::string> Texts(IXMLDOMNodeList* list) {
    std::vector<std::string> texts;
    ComPtr<IXMLDOMNode> node;
    while (list->nextNode(node) == S_OK) {
        std::u16string name, text;
        node->getNodeName(&name);
        node->getText(&text);
        texts.push_back(U8(name) + "=" + U8(text));
    }
    return texts;
}

TEST(DomDocument, SelectsWithNamespacesAndUnion) {
    auto document = Load(kSchema);
    ComPtr<IXMLDOMNodeList> sections;
    ASSERT_EQ(document->selectNodes(u"xs:validate/xs:namespace", sections), S_OK);
    std::int32_t length = 0;
    sections->getLength(&length);
    EXPECT_EQ(length, 2);

    ComPtr<IXMLDOMNode> section;
    ASSERT_EQ(document->selectSingleNode(u"xs:validate/xs:namespace[@uri='urn:a']", section), S_OK);
    ComPtr<IXMLDOMNodeList> values;
    ASSERT_EQ(section->selectNodes(u"xs:attributes/xs:attribute[@name='color']/xs:type/xs:enum/"
                                   u"xs:item | xs:attributes/xs:attribute[@name='color']/"
                                   u"xs:type/xs:string",
                                   values),
              S_OK);
    const std::vector<std::string> expected = {"item=left", "item=right", "string="};
    EXPECT_EQ(Texts(values.Get()), expected);
    // The walk ends with null; reset starts again; items by index.
    ComPtr<IXMLDOMNode> node;
    EXPECT_EQ(values->nextNode(node), S_FALSE);
    EXPECT_FALSE(node);
    values->reset();
    EXPECT_EQ(values->nextNode(node), S_OK);
    EXPECT_EQ(values->getItem(2, node), S_OK);
    EXPECT_EQ(values->getItem(3, node), S_FALSE);

    ComPtr<IXMLDOMNode> fill;
    ASSERT_EQ(section->selectSingleNode(u"xs:elements/xs:element[@name='doc']/xs:auto-fill", fill),
              S_OK);
    std::u16string text;
    fill->getText(&text);
    EXPECT_EQ(text, u"filled");
    EXPECT_EQ(section->selectSingleNode(u"xs:elements/xs:element[@name='none']", fill), S_FALSE);
    EXPECT_FALSE(fill);

    // Prefixed tag names read as written.
    ComPtr<IXMLDOMNode> extra;
    ASSERT_EQ(document->selectSingleNode(u"//o:extra", extra), S_OK);
    ComPtr<IXMLDOMElement> element;
    ASSERT_EQ(extra.As(element), S_OK);
    element->getTagName(&text);
    EXPECT_EQ(text, u"o:extra");
}

TEST(DomDocument, InvalidQueriesFailWithADescription) {
    auto document = Load(kSchema);
    const struct {
        std::u16string_view query;
        HResult code;
    } cases[] = {
        {u"xs:validate/xs:namespace[@uri='it's']", XML_E_XPATH},
        {u"zz:validate", XML_E_XPATH},
        {u"xs:validate[", XML_E_XPATH},
        {u"count(xs:validate)", E_INVALIDARG},
    };
    for (const auto& c : cases) {
        ComPtr<IXMLDOMNodeList> list;
        EXPECT_EQ(document->selectNodes(c.query, list), c.code) << U8(c.query);
        EXPECT_FALSE(list);
        const auto description = platform::com::TakeErrorInfo(c.code);
        ASSERT_TRUE(description) << U8(c.query);
        EXPECT_NE(description->find(c.query), std::u16string::npos) << U8(*description);
    }
}

TEST(DomDocument, ReadsAttributesAsOptionalValues) {
    auto document = Load(u"<r xmlns:p='urn:p' a='1' p:b='2&amp;' e=''/>");
    ComPtr<IXMLDOMElement> root;
    ASSERT_EQ(document->getDocumentElement(root), S_OK);
    const struct {
        std::u16string_view name;
        std::optional<std::u16string> value;
    } cases[] = {
        {u"a", u"1"},
        {u"p:b", u"2&"},
        {u"e", u""},
        {u"b", std::nullopt},
        {u"missing", std::nullopt},
        {u"xmlns:p", u"urn:p"},
    };
    for (const auto& c : cases) {
        std::optional<std::u16string> value = u"stale";
        EXPECT_EQ(root->getAttribute(c.name, &value), c.value ? S_OK : S_FALSE) << U8(c.name);
        EXPECT_EQ(value, c.value) << U8(c.name);
    }
    ASSERT_EQ(root->setAttribute(u"a", u"3"), S_OK);
    std::optional<std::u16string> value;
    root->getAttribute(u"a", &value);
    EXPECT_EQ(value, u"3");
}

TEST(DomDocument, ClonesAndAppendsAcrossDocuments) {
    // The schema merge: the first section of a further document, cloned and
    // appended to the first document's element.
    auto first = Load(kSchema);
    auto second = Load(
        u"<validate xmlns='urn:schema'><namespace uri='urn:c' prefix='c'><elements>"
        u"<element name='c1'/></elements></namespace></validate>");
    ComPtr<IXMLDOMNode> section;
    ASSERT_EQ(second->selectSingleNode(u"xs:validate/xs:namespace", section), S_OK);
    ComPtr<IXMLDOMNode> clone;
    ASSERT_EQ(section->cloneNode(true, clone), S_OK);
    ComPtr<IXMLDOMDocument> owner;
    ASSERT_EQ(clone->getOwnerDocument(owner), S_OK);
    EXPECT_EQ(static_cast<IUnknown*>(owner.Get()),
              static_cast<IUnknown*>(static_cast<IXMLDOMDocument*>(second.Get())));
    ComPtr<IXMLDOMElement> root;
    first->getDocumentElement(root);
    ComPtr<IXMLDOMNode> appended;
    ASSERT_EQ(root->appendChild(clone.Get(), &appended), S_OK);

    ComPtr<IXMLDOMNodeList> names;
    ASSERT_EQ(first->selectNodes(u"xs:validate/xs:namespace/@uri", names), S_OK);
    const std::vector<std::string> uris = {"uri=urn:a", "uri=urn:b", "uri=urn:c"};
    EXPECT_EQ(Texts(names.Get()), uris);
    ComPtr<IXMLDOMNode> c1;
    EXPECT_EQ(first->selectSingleNode(
                  u"xs:validate/xs:namespace[@uri='urn:c']/xs:elements/xs:element[@name='c1']", c1),
              S_OK);
    // The further document is unchanged.
    ASSERT_EQ(second->selectNodes(u"//xs:namespace", names), S_OK);
    std::int32_t length = 0;
    names->getLength(&length);
    EXPECT_EQ(length, 1);

    // Within one document a node moves; a node cannot go below itself.
    ComPtr<IXMLDOMNode> part, elements;
    first->selectSingleNode(u"//xs:element[@name='part']", part);
    first->selectSingleNode(u"//xs:namespace[@uri='urn:b']", elements);
    ASSERT_EQ(elements->appendChild(part.Get(), nullptr), S_OK);
    ComPtr<IXMLDOMNode> parent;
    part->getParentNode(parent);
    std::u16string name;
    parent->getNodeName(&name);
    EXPECT_EQ(name, u"namespace");
    EXPECT_EQ(part->appendChild(elements.Get(), nullptr), E_INVALIDARG);
    EXPECT_EQ(root->appendChild(first.Get(), nullptr), E_INVALIDARG);

    // A shallow clone keeps the attributes, not the children.
    ComPtr<IXMLDOMNode> shallow;
    ASSERT_EQ(elements->cloneNode(false, shallow), S_OK);
    std::u16string xml;
    shallow->getXml(&xml);
    // The clone carries the namespace it had in the tree.
    EXPECT_EQ(xml, u"<namespace xmlns=\"urn:schema\" uri=\"urn:b\" prefix=\"b\"/>");
}

TEST(DomDocument, FailedLoadReportsTheErrorAndEmptiesTheDocument) {
    auto document = Load(u"<ok/>");
    std::string deep;
    for (int i = 0; i < 100000; ++i)
        deep += "<d>";
    const struct {
        std::u16string text;
        int line;
    } cases[] = {
        {u"<a>\n<b></a>", 2},
        {u"<a>\n<p:b/></a>", 2},
        {platform::ToUtf16(deep), 1},
        {u"", 1},
    };
    for (const auto& c : cases) {
        bool ok = true;
        EXPECT_EQ(document->loadXML(c.text, &ok), S_FALSE);
        EXPECT_FALSE(ok);
        DomParseError error;
        document->getParseError(&error);
        EXPECT_TRUE(platform::com::Failed(error.code));
        EXPECT_FALSE(error.reason.empty());
        EXPECT_EQ(error.line, c.line) << U8(error.reason);
        ComPtr<IXMLDOMElement> root;
        EXPECT_EQ(document->getDocumentElement(root), S_FALSE);
    }
}

TEST(DomDocument, PropertiesAreCheckedAndRemembered) {
    auto document = Create<IXMLDOMDocument2>(kClsidFreeThreadedDomDocument40);
    EXPECT_EQ(document->setProperty(u"NewParser", true), S_OK);
    DomPropertyValue value;
    ASSERT_EQ(document->getProperty(u"NewParser", &value), S_OK);
    EXPECT_EQ(value, DomPropertyValue(true));
    EXPECT_EQ(document->setProperty(u"NewParser", std::u16string(u"yes")), E_INVALIDARG);
    EXPECT_EQ(document->setProperty(u"SelectionLanguage", std::u16string(u"XSLPattern")),
              E_INVALIDARG);
    EXPECT_EQ(document->setProperty(u"SelectionNamespaces", std::u16string(u"xmlns:a=noquote")),
              E_INVALIDARG);
    EXPECT_EQ(document->setProperty(u"Unknown", true), E_INVALIDARG);
    // A document's nodes stay usable after it is reloaded.
    auto loaded = Load(u"<a><b>x</b></a>");
    ComPtr<IXMLDOMNode> b;
    loaded->selectSingleNode(u"/a/b", b);
    bool ok = false;
    loaded->loadXML(u"<c/>", &ok);
    std::u16string text;
    b->getText(&text);
    EXPECT_EQ(text, u"x");
}

TEST(DomDocument, ConcurrentQueriesMatchSerialOnes) {
    std::u16string text = u"<validate xmlns='urn:schema'>";
    for (int i = 0; i < 100; ++i) {
        const std::u16string n = platform::ToUtf16(std::to_string(i));
        text += u"<namespace uri='urn:" + n + u"' prefix='p" + n + u"'><elements>";
        for (int k = 0; k < 5; ++k) {
            text += u"<element name='e" + platform::ToUtf16(std::to_string(k)) + u"'/>";
        }
        text += u"</elements></namespace>";
    }
    text += u"</validate>";
    auto document = Load(text);

    auto query = [&](int i) {
        std::string result;
        const std::u16string n = platform::ToUtf16(std::to_string(i % 100));
        ComPtr<IXMLDOMNode> section;
        if (document->selectSingleNode(u"xs:validate/xs:namespace[@uri='urn:" + n + u"']",
                                       section) != S_OK) {
            return std::string("missing");
        }
        ComPtr<IXMLDOMElement> element;
        section.As(element);
        std::optional<std::u16string> prefix;
        element->getAttribute(u"prefix", &prefix);
        result += U8(prefix.value_or(u"?"));
        ComPtr<IXMLDOMNodeList> list;
        section->selectNodes(u"xs:elements/xs:element/@name | xs:elements/xs:element[1]", list);
        for (const auto& t : Texts(list.Get()))
            result += " " + t;
        return result;
    };
    constexpr int kQueries = 200;
    std::vector<std::string> serial;
    for (int i = 0; i < kQueries; ++i)
        serial.push_back(query(i));

    std::vector<std::vector<std::string>> parallel(4);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kQueries; ++i)
                parallel[t].push_back(query(i));
        });
    }
    for (auto& thread : threads)
        thread.join();
    for (const auto& results : parallel)
        EXPECT_EQ(results, serial);
    EXPECT_EQ(serial[7], "p7 element= name=e0 name=e1 name=e2 name=e3 name=e4");
}

}  // namespace
