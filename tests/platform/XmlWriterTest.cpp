#include <gtest/gtest.h>

#include "XmlTestSupport.h"
#include "platform/com/FileStream.h"
#include "platform/com/MemoryStream.h"
#include "platform/xml/DomInterfaces.h"

namespace {

using namespace xmltest;
using platform::com::E_INVALIDARG;
using platform::com::E_UNEXPECTED;
using platform::com::MemoryStream;

struct WriterRig {
    ComPtr<IMXWriter> writer = Create<IMXWriter>(kClsidMxXmlWriter40);
    ComPtr<ISAXContentHandler> handler;
    ComPtr<IMXAttributes> attributes = Create<IMXAttributes>(kClsidSaxAttributes40);
    ComPtr<ISAXAttributes> readable;

    WriterRig() {
        writer.As(handler);
        attributes.As(readable);
    }

    // <doc xmlns="urn:d" xmlns:p="urn:p" p:a="x&quot;"><item n="1">a &lt; b</item><empty/>
    //   <?pi data?></doc>
    void WriteSample() {
        ASSERT_EQ(handler->startDocument(), S_OK);
        attributes->clear();
        attributes->addAttribute(u"", u"", u"xmlns", u"", u"urn:d");
        attributes->addAttribute(u"", u"p", u"xmlns:p", u"", u"urn:p");
        attributes->addAttribute(u"urn:p", u"a", u"p:a", u"", u"x\"<&>\t\n");
        ASSERT_EQ(handler->startElement(u"urn:d", u"doc", u"doc", readable.Get()), S_OK);
        attributes->clear();
        attributes->addAttribute(u"", u"n", u"n", u"", u"1");
        ASSERT_EQ(handler->startElement(u"urn:d", u"item", u"item", readable.Get()), S_OK);
        ASSERT_EQ(handler->characters(u"a < b & c > d\r\u00e9\U0001F600"), S_OK);
        ASSERT_EQ(handler->endElement(u"urn:d", u"item", u"item"), S_OK);
        attributes->clear();
        ASSERT_EQ(handler->startElement(u"urn:d", u"empty", u"empty", readable.Get()), S_OK);
        ASSERT_EQ(handler->endElement(u"urn:d", u"empty", u"empty"), S_OK);
        ASSERT_EQ(handler->processingInstruction(u"pi", u"data"), S_OK);
        ASSERT_EQ(handler->endElement(u"urn:d", u"doc", u"doc"), S_OK);
        ASSERT_EQ(handler->endDocument(), S_OK);
    }
};

const std::u16string kSampleBody =
    u"<doc xmlns=\"urn:d\" xmlns:p=\"urn:p\" p:a=\"x&quot;&lt;&amp;&gt;&#9;&#10;\">"
    u"<item n=\"1\">a &lt; b &amp; c &gt; d&#13;\u00e9\U0001F600</item><empty/><?pi data?></doc>";

TEST(XmlWriter, WritesTextWithDeclarationAndEscaping) {
    WriterRig rig;
    rig.WriteSample();
    std::u16string text;
    ASSERT_EQ(rig.writer->getOutput(&text), S_OK);
    EXPECT_EQ(text, u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + kSampleBody);

    rig.writer->putOmitXMLDeclaration(true);
    rig.WriteSample();
    rig.writer->getOutput(&text);
    EXPECT_EQ(text, kSampleBody);

    // What the writer produced reads back to the same events.
    ReaderRig reader;
    ASSERT_EQ(reader.reader->parse(text), S_OK);
    EXPECT_EQ(reader.content->events.at(3), "start {urn:d}doc doc [{urn:p}a p:a=x\"<&>\t\n]");
    EXPECT_EQ(reader.content->events.at(5), "text a < b & c > d\r\xC3\xA9\xF0\x9F\x98\x80");
}

TEST(XmlWriter, IndentsElementContentButNotText) {
    WriterRig rig;
    rig.writer->putIndent(true);
    rig.writer->putOmitXMLDeclaration(true);
    rig.handler->startDocument();
    rig.attributes->clear();
    rig.handler->startElement(u"", u"a", u"a", rig.readable.Get());
    rig.handler->startElement(u"", u"b", u"b", rig.readable.Get());
    rig.handler->startElement(u"", u"c", u"c", rig.readable.Get());
    rig.handler->endElement(u"", u"c", u"c");
    rig.handler->endElement(u"", u"b", u"b");
    rig.handler->startElement(u"", u"t", u"t", rig.readable.Get());
    rig.handler->characters(u"x");
    rig.handler->startElement(u"", u"i", u"i", rig.readable.Get());
    rig.handler->endElement(u"", u"i", u"i");
    rig.handler->endElement(u"", u"t", u"t");
    rig.handler->endElement(u"", u"a", u"a");
    rig.handler->endDocument();
    std::u16string text;
    rig.writer->getOutput(&text);
    EXPECT_EQ(text, u"<a>\n  <b>\n    <c/>\n  </b>\n  <t>x<i/></t>\n</a>");
}

TEST(XmlWriter, EncodesStreamOutput) {
    const struct {
        std::u16string_view encoding;
        bool bom;
        std::string expected;
    } cases[] = {
        {u"UTF-8", true, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<a>\xC3\xA9\xE2\x82\xAC</a>"},
        {u"ISO-8859-1", true,
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<a>\xE9&#8364;</a>"},
        {u"UTF-16", true, std::string("\xFF\xFE<\0a\0>\0\xE9\0\xAC\x20<\0/\0a\0>\0", 20)},
        {u"UTF-16", false, std::string("<\0a\0>\0\xE9\0\xAC\x20<\0/\0a\0>\0", 18)},
        {u"UTF-16BE", true, std::string("\xFE\xFF\0<\0a\0>\0\xE9\x20\xAC\0<\0/\0a\0>", 20)},
    };
    for (const auto& c : cases) {
        WriterRig rig;
        auto stream = MemoryStream::Create();
        ASSERT_EQ(rig.writer->putOutput(static_cast<platform::com::IStream*>(stream.Get())), S_OK);
        ASSERT_EQ(rig.writer->putEncoding(c.encoding), S_OK);
        rig.writer->putByteOrderMark(c.bom);
        rig.writer->putOmitXMLDeclaration(c.encoding.substr(0, 6) == u"UTF-16");
        rig.attributes->clear();
        rig.handler->startDocument();
        rig.handler->startElement(u"", u"a", u"a", rig.readable.Get());
        rig.handler->characters(u"\u00e9\u20ac");
        rig.handler->endElement(u"", u"a", u"a");
        ASSERT_EQ(rig.handler->endDocument(), S_OK);
        EXPECT_EQ(stream->Contents(), c.expected) << U8(c.encoding);
        std::u16string text;
        EXPECT_EQ(rig.writer->getOutput(&text), E_UNEXPECTED);
    }
    WriterRig rig;
    EXPECT_EQ(rig.writer->putEncoding(u"no-such-encoding"), platform::com::XML_E_ENCODING);
    std::u16string encoding;
    rig.writer->getEncoding(&encoding);
    EXPECT_EQ(encoding, u"UTF-8");
}

TEST(XmlWriter, LargeStreamOutputIsWrittenInBlocksToAFile) {
    TempDir dir;
    const auto path = dir.Path() / "out.xml";
    ComPtr<platform::com::IStream> file;
    ASSERT_EQ(platform::com::FileStream::Open(platform::ToUtf16(path.string()),
                                              platform::com::FileAccess::kWrite,
                                              platform::com::FileDisposition::kCreateAlways,
                                              platform::com::FileShare::kDenyWrite, file),
              S_OK);
    WriterRig rig;
    rig.writer->putOutput(file.Get());
    rig.handler->startDocument();
    rig.attributes->clear();
    rig.handler->startElement(u"", u"r", u"r", rig.readable.Get());
    for (int i = 0; i < 20000; ++i) {
        rig.handler->startElement(u"", u"i", u"i", rig.readable.Get());
        rig.handler->characters(u"\U0001F600");
        rig.handler->endElement(u"", u"i", u"i");
    }
    // Blocks went out before the end of the document.
    EXPECT_GT(std::filesystem::file_size(path), 0u);
    rig.handler->endElement(u"", u"r", u"r");
    ASSERT_EQ(rig.handler->endDocument(), S_OK);
    file.Reset();

    ReaderRig reader;
    ASSERT_EQ(reader.reader->parseURL(platform::ToUtf16(path.string())), S_OK);
    EXPECT_EQ(reader.content->events.size(), 2u + 3 * 20000 + 2);
    EXPECT_EQ(reader.content->events[3], "text \xF0\x9F\x98\x80");
}

TEST(XmlWriter, BuildsIntoADomDocument) {
    auto document = Create<IXMLDOMDocument2>(kClsidFreeThreadedDomDocument40);
    WriterRig rig;
    ASSERT_EQ(rig.writer->putOutput(document.Get()), S_OK);
    rig.WriteSample();
    std::u16string xml;
    document->getXml(&xml);
    EXPECT_EQ(xml, kSampleBody);

    document->setProperty(u"SelectionNamespaces", std::u16string(u"xmlns:d='urn:d'"));
    ComPtr<IXMLDOMNode> item;
    ASSERT_EQ(document->selectSingleNode(u"/d:doc/d:item[@n='1']", item), S_OK);
    std::u16string text;
    item->getText(&text);
    EXPECT_EQ(text, u"a < b & c > d\r\u00e9\U0001F600");
}

TEST(XmlWriter, PrefixMappingsBecomeDeclarations) {
    WriterRig rig;
    rig.writer->putOmitXMLDeclaration(true);
    rig.handler->startDocument();
    rig.handler->startPrefixMapping(u"q", u"urn:q");
    rig.handler->startPrefixMapping(u"", u"urn:d");
    rig.attributes->clear();
    rig.attributes->addAttribute(u"", u"", u"xmlns:q", u"", u"urn:q");
    rig.handler->startElement(u"urn:q", u"a", u"q:a", rig.readable.Get());
    rig.handler->endElement(u"urn:q", u"a", u"q:a");
    rig.handler->endDocument();
    std::u16string text;
    rig.writer->getOutput(&text);
    EXPECT_EQ(text, u"<q:a xmlns=\"urn:d\" xmlns:q=\"urn:q\"/>");
}

TEST(XmlWriter, RejectsWhatXmlCannotCarry) {
    WriterRig rig;
    rig.handler->startDocument();
    rig.attributes->clear();
    rig.handler->startElement(u"", u"a", u"a", rig.readable.Get());
    EXPECT_EQ(rig.handler->characters(std::u16string(1, u'\x01')),
              platform::com::XML_E_INVALID_CHAR);
    EXPECT_EQ(rig.handler->processingInstruction(u"p", u"a?>b"), E_INVALIDARG);
    EXPECT_EQ(rig.handler->endElement(u"", u"a", u"a"), S_OK);
    EXPECT_EQ(rig.handler->endElement(u"", u"a", u"a"), E_UNEXPECTED);
}

TEST(XmlWriter, ReplaysAParsedDocument) {
    // Reader events straight into the writer: without the namespace-prefixes
    // feature, declarations come from the prefix mappings.
    const std::u16string source = u"<p:a xmlns:p=\"urn:p\" k=\"&lt;\"><b>t&amp;</b><?x y?></p:a>";
    WriterRig writer;
    writer.writer->putOmitXMLDeclaration(true);
    auto reader = Create<ISAXXMLReader>(kClsidSaxXmlReader40);
    reader->putContentHandler(writer.handler.Get());
    ASSERT_EQ(reader->parse(source), S_OK);
    std::u16string text;
    writer.writer->getOutput(&text);
    EXPECT_EQ(text, source);
}

TEST(SaxAttributes, MutableListAnswersTheReadOnlyInterface) {
    auto list = Create<IMXAttributes>(kClsidSaxAttributes30);
    ComPtr<ISAXAttributes> view;
    ASSERT_EQ(list.As(view), S_OK);
    list->addAttribute(u"urn:a", u"x", u"a:x", u"ID", u"1");
    list->addAttribute(u"", u"y", u"y", u"", u"2");
    list->addAttribute(u"", u"z", u"z", u"", u"3");

    std::int32_t length = 0;
    view->getLength(&length);
    EXPECT_EQ(length, 3);
    std::u16string_view uri, local, qname, value, type;
    ASSERT_EQ(view->getName(0, &uri, &local, &qname), S_OK);
    EXPECT_EQ(uri, u"urn:a");
    EXPECT_EQ(local, u"x");
    EXPECT_EQ(qname, u"a:x");
    view->getType(0, &type);
    EXPECT_EQ(type, u"ID");
    view->getType(1, &type);
    EXPECT_EQ(type, u"CDATA");
    std::int32_t index = -1;
    EXPECT_EQ(view->getIndexFromName(u"urn:a", u"x", &index), S_OK);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(view->getIndexFromQName(u"z", &index), S_OK);
    EXPECT_EQ(index, 2);
    EXPECT_EQ(view->getIndexFromQName(u"nope", &index), E_INVALIDARG);
    EXPECT_EQ(index, -1);
    EXPECT_EQ(view->getValueFromQName(u"y", &value), S_OK);
    EXPECT_EQ(value, u"2");
    EXPECT_EQ(view->getValue(3, &value), E_INVALIDARG);
    EXPECT_EQ(view->getValue(-1, &value), E_INVALIDARG);

    ASSERT_EQ(list->setValue(1, u"two"), S_OK);
    ASSERT_EQ(list->removeAttribute(0), S_OK);
    view->getLength(&length);
    EXPECT_EQ(length, 2);
    view->getValue(0, &value);
    EXPECT_EQ(value, u"two");
    EXPECT_EQ(list->removeAttribute(5), E_INVALIDARG);

    list->clear();
    view->getLength(&length);
    EXPECT_EQ(length, 0);
    list->addAttribute(u"", u"w", u"w", u"", u"new");
    view->getName(0, &uri, &local, &qname);
    EXPECT_EQ(uri, u"");
    view->getType(0, &type);
    EXPECT_EQ(type, u"CDATA");
}

}  // namespace
