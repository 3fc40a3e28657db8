#include <gtest/gtest.h>

#include "XmlTestSupport.h"
#include "platform/com/FileStream.h"
#include "platform/com/MemoryStream.h"
#include "platform/xml/DomInterfaces.h"
#include "platform/xml/SaxReader.h"

namespace {

using namespace xmltest;
using platform::com::E_FAIL;
using platform::com::E_INVALIDARG;
using platform::com::Failed;
using platform::com::MemoryStream;
using platform::com::XML_E_PARSE;

using Events = std::vector<std::string>;

TEST(SaxReader, ReportsEventsInOrderWithPositions) {
    ReaderRig rig;
    rig.content->positions = true;
    const std::u16string text =
        u"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
        u"<?setup mode=fast?>\n"
        u"<r:root xmlns:r=\"urn:r\" xmlns=\"urn:d\" id=\"7\" r:kind=\"a&amp;b\">\n"
        u"  <item n=\"1\">t\u00e9xt <b>bold</b> tail</item>\n"
        u"  <![CDATA[<raw>]]>\n"
        u"</r:root>\n"
        u"<?after?>";
    ASSERT_EQ(rig.reader->parse(text), S_OK);
    // Elements are positioned at the end of their tags; a run of text is
    // delivered (and positioned) when the next markup is reached.
    const Events expected = {
        "startDocument @1:44",
        "pi setup mode=fast @2:20",
        "startPrefix r=urn:r @3:62",
        "startPrefix =urn:d @3:62",
        "start {urn:r}root r:root [{}id id=7] [{urn:r}kind r:kind=a&b] @3:62",
        "text \n   @4:14",
        "start {urn:d}item item [{}n n=1] @4:14",
        "text t\xC3\xA9xt  @4:22",
        "start {urn:d}b b @4:22",
        "text bold @4:31",
        "end {urn:d}b b @4:31",
        "text  tail @4:43",
        "end {urn:d}item item @4:43",
        "text \n  <raw>\n @6:10",
        "end {urn:r}root r:root @6:10",
        "endPrefix  @6:10",
        "endPrefix r @6:10",
        "pi after  @7:10",
        "endDocument @7:10",
    };
    EXPECT_EQ(rig.content->events, expected);
    EXPECT_TRUE(rig.errors->reports.empty());
}

TEST(SaxReader, NamespacePrefixesFeatureReportsDeclarationsAsAttributes) {
    const std::u16string text = u"<a xmlns=\"urn:d\" xmlns:p=\"urn:p\" p:x=\"1\"/>";
    for (const bool on : {false, true}) {
        ReaderRig rig;
        ASSERT_EQ(rig.reader->putFeature(kFeatureNamespacePrefixes, on), S_OK);
        bool value = !on;
        rig.reader->getFeature(u"namespace-prefixes", &value);
        EXPECT_EQ(value, on);
        ASSERT_EQ(rig.reader->parse(text), S_OK);
        const std::string element =
            on ? "start {urn:d}a a [{} xmlns=urn:d] [{} xmlns:p=urn:p] [{urn:p}x p:x=1]"
               : "start {urn:d}a a [{urn:p}x p:x=1]";
        EXPECT_EQ(rig.content->events.at(3), element);
    }
    ReaderRig rig;
    EXPECT_EQ(rig.reader->putFeature(u"http://example.com/unknown", true), E_INVALIDARG);
    EXPECT_EQ(rig.reader->putFeature(kFeatureNamespaces, true), S_OK);
}

TEST(SaxReader, HandlerFailureStopsTheParseWithItsCode) {
    const std::u16string text = u"<a><b/><c/><d/></a>";
    struct Case {
        int failAt;  // index of the event that fails
        HResult code;
        std::size_t events;
    } cases[] = {
        {0, E_FAIL, 1},                                 // startDocument
        {1, E_FAIL, 2},                                 // start a
        {3, platform::com::E_ABORT, 4},                 // end b
        {7, platform::com::MakeResult(0x80041234), 8},  // end a
    };
    for (const auto& c : cases) {
        ReaderRig rig;
        rig.content->failAt = c.failAt;
        rig.content->failure = c.code;
        EXPECT_EQ(rig.reader->parse(text), c.code) << c.failAt;
        EXPECT_EQ(rig.content->events.size(), c.events) << c.failAt;
        // The reader adds no diagnostic of its own: the handler's stays last.
        EXPECT_TRUE(rig.errors->reports.empty()) << c.failAt;
    }
}

TEST(SaxReader, MalformedInputReportsMessageAndPosition) {
    struct Case {
        const char* name;
        std::string bytes;
        int line;
        const char* fragment;  // part of the message
    } cases[] = {
        {"truncated", "<a>\n<b>text", 2, ""},
        {"mismatched tag", "<a>\n<b></c></a>", 2, "mismatch"},
        {"duplicate attribute", "<a x='1' x='2'/>", 1, "redefined"},
        {"undeclared prefix", "<a>\n <p:b/></a>", 2, "prefix"},
        {"NUL byte", std::string("<a>x\0y</a>", 10), 1, ""},
        {"bad UTF-8", "<?xml version='1.0' encoding='UTF-8'?>\n<a>\xC3\x28</a>", 2, "UTF-8"},
        {"empty", "", 1, ""},
        {"text after root", "<a/>junk", 1, "Extra content"},
        {"undeclared entity", "<a>&nope;</a>", 1, "nope"},
    };
    for (const auto& c : cases) {
        ReaderRig rig;
        auto stream = MemoryStream::Create(c.bytes);
        EXPECT_TRUE(Failed(rig.reader->parse(stream.Get()))) << c.name;
        const Diagnostic* fatal = rig.errors->Fatal();
        ASSERT_NE(fatal, nullptr) << c.name;
        EXPECT_EQ(fatal->line, c.line) << c.name << ": " << fatal->message;
        EXPECT_GT(fatal->column, 0) << c.name;
        EXPECT_NE(fatal->message.find(c.fragment), std::string::npos)
            << c.name << ": " << fatal->message;
        EXPECT_TRUE(Failed(fatal->code)) << c.name;
        // No end of document after a fatal error.
        EXPECT_TRUE(rig.content->events.empty() || rig.content->events.back() != "endDocument")
            << c.name;
    }
}

TEST(SaxReader, InternalEntitiesExpandInTextAndAttributes) {
    ReaderRig rig;
    const std::u16string text =
        u"<!DOCTYPE a [<!ENTITY who 'W&#233;\tx'><!ENTITY both '&who;!'>]>"
        u"<a v='[&both;] &amp;&#38;&lt;&#9;'>&both;&amp;</a>";
    ASSERT_EQ(rig.reader->parse(text), S_OK) << rig.errors->reports.size();
    const Events expected = {
        "startDocument",
        // Literal white space of entity text is normalised in attributes.
        "start {}a a [{}v v=[W\xC3\xA9 x!] &&<\t]",
        "text W\xC3\xA9\tx!&",
        "end {}a a",
        "endDocument",
    };
    EXPECT_EQ(rig.content->events, expected);
}

// Documents that try to make the parser read files, expand without bound or
// nest without end. Each fails (or parses without expansion) quickly.
TEST(SaxReaderSafety, HostileDocumentsStayBounded) {
    TempDir dir;
    const auto secret = dir.Write("secret.txt", "TOPSECRET");
    const std::string secretUrl = "file://" + secret.string();

    std::string laughs = "<!DOCTYPE l [<!ENTITY l0 'ha'>";
    for (int i = 1; i <= 10; ++i) {
        laughs += "<!ENTITY l" + std::to_string(i) + " '";
        for (int k = 0; k < 10; ++k)
            laughs += "&l" + std::to_string(i - 1) + ";";
        laughs += "'>";
    }
    laughs += "]><l>&l10;</l>";

    const std::string big(50000, 'x');
    std::string quadratic = "<!DOCTYPE q [<!ENTITY big '" + big + "'>]><q>";
    for (int i = 0; i < 5000; ++i)
        quadratic += "&big;";
    quadratic += "</q>";

    std::string deep;
    for (int i = 0; i < 100000; ++i)
        deep += "<d>";

    struct Case {
        const char* name;
        std::string bytes;
        bool fails;
        const char* fragment;
    } cases[] = {
        {"billion laughs", laughs, true, ""},
        {"quadratic blowup", quadratic, true, "ntity"},
        {"deep nesting", deep, true, "256"},
        {"external entity", "<!DOCTYPE x [<!ENTITY ext SYSTEM '" + secretUrl + "'>]><x>&ext;</x>",
         false, ""},
        {"external parameter entity",
         "<!DOCTYPE x [<!ENTITY % ext SYSTEM '" + secretUrl + "'>%ext;]><x/>", false, ""},
        {"external DTD", "<!DOCTYPE x SYSTEM '" + secretUrl + "'><x/>", false, ""},
        {"network DTD", "<!DOCTYPE x SYSTEM 'http://127.0.0.1:9/x.dtd'><x/>", false, ""},
    };
    for (const auto& c : cases) {
        ReaderRig rig;
        auto stream = MemoryStream::Create(c.bytes);
        const HResult hr = rig.reader->parse(stream.Get());
        std::string all;
        for (const auto& e : rig.content->events)
            all += e + "\n";
        EXPECT_EQ(all.find("TOPSECRET"), std::string::npos) << c.name;
        EXPECT_LT(all.size(), 20u * 1000 * 1000) << c.name;
        if (!c.fails) {
            EXPECT_EQ(hr, S_OK) << c.name;
            continue;
        }
        EXPECT_TRUE(Failed(hr)) << c.name;
        const Diagnostic* fatal = rig.errors->Fatal();
        ASSERT_NE(fatal, nullptr) << c.name;
        EXPECT_GT(fatal->line, 0) << c.name;
        EXPECT_NE(fatal->message.find(c.fragment), std::string::npos)
            << c.name << ": " << fatal->message;
    }
}

TEST(SaxReaderSafety, ExternalEntityIsReportedAsSkipped) {
    TempDir dir;
    const auto secret = dir.Write("secret.txt", "TOPSECRET");
    ReaderRig rig;
    const std::u16string text = u"<!DOCTYPE x [<!ENTITY ext SYSTEM 'file://" +
                                platform::ToUtf16(secret.string()) + u"'>]><x>&ext;</x>";
    ASSERT_EQ(rig.reader->parse(text), S_OK);
    const Events expected = {"startDocument", "start {}x x", "skipped ext", "end {}x x",
                             "endDocument"};
    EXPECT_EQ(rig.content->events, expected);
}

TEST(SaxReader, ReadsStreamsInChunksAndHonoursTheCharset) {
    // Larger than one read so the push parser sees several chunks, with a
    // multi-byte character across a chunk boundary.
    std::string body;
    while (body.size() < 200000)
        body += "<i a='\xC3\xA9'>\xE2\x82\xAC</i>";
    ReaderRig rig;
    auto stream = MemoryStream::Create("<r>" + body + "</r>");
    ASSERT_EQ(rig.reader->parse(stream.Get()), S_OK);
    ASSERT_GT(rig.content->events.size(), 3u);
    EXPECT_EQ(rig.content->events[2], "start {}i i [{}a a=\xC3\xA9]");
    EXPECT_EQ(rig.content->events[3], "text \xE2\x82\xAC");

    // Latin-1 bytes that claim to be UTF-8: the property decides.
    const std::string latin1 = "<?xml version='1.0' encoding='UTF-8'?><a>caf\xE9</a>";
    ReaderRig overridden;
    ASSERT_EQ(overridden.reader->putProperty(kPropertyCharset, u"ISO-8859-1"), S_OK);
    stream = MemoryStream::Create(latin1);
    ASSERT_EQ(overridden.reader->parse(stream.Get()), S_OK);
    EXPECT_EQ(overridden.content->events[2], "text caf\xC3\xA9");

    ReaderRig declared;
    stream = MemoryStream::Create(latin1);
    EXPECT_TRUE(Failed(declared.reader->parse(stream.Get())));

    ReaderRig unknown;
    unknown.reader->putProperty(kPropertyCharset, u"no-such-charset");
    stream = MemoryStream::Create(latin1);
    EXPECT_EQ(unknown.reader->parse(stream.Get()), platform::com::XML_E_ENCODING);
    ASSERT_NE(unknown.errors->Fatal(), nullptr);
    EXPECT_NE(unknown.errors->Fatal()->message.find("no-such-charset"), std::string::npos);

    EXPECT_EQ(rig.reader->putProperty(u"unknown", u"x"), E_INVALIDARG);
    std::u16string charset;
    overridden.reader->getProperty(kPropertyCharset, &charset);
    EXPECT_EQ(charset, u"ISO-8859-1");
}

TEST(SaxReader, ParsesFilesByPathAndFileUrl) {
    TempDir dir;
    // UTF-16 with a byte-order mark, in a folder with a non-ASCII name.
    std::filesystem::create_directory(dir.Path() / "d\xC3\xA9j\xC3\xA0");
    const std::u16string content = u"\uFEFF<?xml version='1.0' encoding='UTF-16'?><a>\u20ac</a>";
    std::string bytes;
    for (char16_t c : content) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    const auto file = dir.Write("d\xC3\xA9j\xC3\xA0/doc file.xml", bytes);
    const std::u16string path = platform::ToUtf16(file.string());
    const std::u16string url =
        u"file://" + platform::ToUtf16(dir.Path().string()) + u"/d%C3%A9j%C3%A0/doc%20file.xml";
    for (const std::u16string& source : {path, url}) {
        ReaderRig rig;
        ASSERT_EQ(rig.reader->parseURL(source), S_OK) << U8(source);
        EXPECT_EQ(rig.content->events.at(2), "text \xE2\x82\xAC");
        std::u16string systemId;
        rig.content->locator->getSystemId(&systemId);
        EXPECT_EQ(systemId, source);
    }
    ReaderRig missing;
    EXPECT_EQ(missing.reader->parseURL(path + u".missing"), platform::com::E_FILE_NOT_FOUND);
    ASSERT_NE(missing.errors->Fatal(), nullptr);
    EXPECT_NE(missing.errors->Fatal()->message.find(".missing"), std::string::npos);
}

TEST(SaxReader, UrlsBecomePaths) {
    const struct {
        std::u16string_view url;
        HResult result;
        std::u16string_view path;
    } cases[] = {
        {u"/tmp/a.xml", S_OK, u"/tmp/a.xml"},
        {u"relative/a.xml", S_OK, u"relative/a.xml"},
        {u"file:///tmp/a%20b.xml", S_OK, u"/tmp/a b.xml"},
        {u"FILE://localhost/tmp/x.xml", S_OK, u"/tmp/x.xml"},
        {u"file:/tmp/x.xml", S_OK, u"/tmp/x.xml"},
        {u"file:///tmp/%C3%A9.xml", S_OK, u"/tmp/\u00e9.xml"},
        {u"file://server/share/x.xml", E_INVALIDARG, u""},
        {u"file:///tmp/%zz", E_INVALIDARG, u""},
        {u"file:///tmp/%00", E_INVALIDARG, u""},
        {u"http://host/x.xml", platform::com::E_NOTIMPL, u""},
    };
    for (const auto& c : cases) {
        std::u16string path;
        EXPECT_EQ(PathFromUrl(c.url, &path), c.result) << U8(c.url);
        EXPECT_EQ(path, c.path) << U8(c.url);
    }
}

TEST(SaxReader, WalksADomDocumentAsEvents) {
    auto document = Create<IXMLDOMDocument>(kClsidFreeThreadedDomDocument40);
    bool ok = false;
    ASSERT_EQ(document->loadXML(u"<?p d?><x:a xmlns:x='urn:x' k='v&amp;'>t<b x:m='1'/>"
                                u"<![CDATA[c]]></x:a>",
                                &ok),
              S_OK);
    ReaderRig rig;
    rig.reader->putFeature(kFeatureNamespacePrefixes, true);
    ASSERT_EQ(rig.reader->parse(document.Get()), S_OK);
    const Events expected = {
        "startDocument",
        "pi p d",
        "startPrefix x=urn:x",
        "start {urn:x}a x:a [{} xmlns:x=urn:x] [{}k k=v&]",
        "text t",
        "start {}b b [{urn:x}m x:m=1]",
        "end {}b b",
        "text c",
        "end {urn:x}a x:a",
        "endPrefix x",
        "endDocument",
    };
    EXPECT_EQ(rig.content->events, expected);

    ReaderRig failing;
    failing.content->failAt = 3;
    EXPECT_EQ(failing.reader->parse(document.Get()), E_FAIL);
    EXPECT_EQ(failing.content->events.size(), 4u);

    ReaderRig other;
    auto writer = Create<IUnknown>(kClsidMxXmlWriter40);
    EXPECT_EQ(other.reader->parse(writer.Get()), E_INVALIDARG);
}

TEST(SaxReader, TextInputIgnoresTheDeclaredEncoding) {
    for (const std::u16string& text :
         {std::u16string(u"<?xml version='1.0' encoding='UTF-16'?><a>\U0001F600</a>"),
          std::u16string(
              u"\uFEFF<?xml version='1.0' encoding='windows-1252'?><a>\U0001F600</a>")}) {
        ReaderRig rig;
        ASSERT_EQ(rig.reader->parse(text), S_OK);
        EXPECT_EQ(rig.content->events.at(2), "text \xF0\x9F\x98\x80");
    }
    // A long text crosses the conversion chunks, surrogate pairs included.
    std::u16string big = u"<a>";
    while (big.size() < 100000)
        big += u"\U0001F600x";
    big += u"</a>";
    ReaderRig rig;
    ASSERT_EQ(rig.reader->parse(big), S_OK);
    std::string text;
    for (const auto& e : rig.content->events) {
        if (e.rfind("text ", 0) == 0)
            text += e.substr(5);
    }
    EXPECT_EQ(platform::ToUtf16(text), big.substr(3, big.size() - 7));
}

}  // namespace
