// Throughput of the parser components against bare libxml2 doing the same
// work, on one generated 20 MB document (nested elements with attributes and
// mixed text, in a namespace):
//   BM_SaxReaderStream against BM_LibXml2Sax2ToUtf16 (a SAX2 parse that
//   converts every name, value and text run to UTF-16); target >= 80 %.
//   BM_XmlWriterText against BM_LibXml2TextWriter, both fed the events of
//   the same document (recorded once, each writer getting its own text
//   form) and writing it to memory; target >= 50 %.
// Compare bytes_per_second within one run.
#include <benchmark/benchmark.h>
#include <libxml/SAX2.h>
#include <libxml/parser.h>
#include <libxml/xmlwriter.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/Utf8.h"
#include "platform/com/ClassTable.h"
#include "platform/com/ComObject.h"
#include "platform/com/MemoryStream.h"
#include "platform/xml/ParserClasses.h"
#include "platform/xml/SaxInterfaces.h"

namespace {

using namespace platform::xml;
using platform::com::ComPtr;
using platform::com::HResult;
using platform::com::S_OK;

const std::string& Document() {
    static const std::string doc = [] {
        std::string d = "<?xml version='1.0'?><c:catalog xmlns:c='urn:catalog' version='2'>\n";
        for (int i = 0; d.size() < 20'000'000; ++i) {
            const std::string n = std::to_string(i);
            d += "  <c:entry id='e" + n + "' kind='book &amp; more'>\n    <title lang='en'>Title " +
                 n + " \xC3\xA9l\xC3\xA8ve</title>\n    <price>" + n +
                 ".95</price>\n    <note>Some text with &lt;markup&gt; " + n +
                 "</note>\n  </c:entry>\n";
        }
        return d + "</c:catalog>\n";
    }();
    return doc;
}

// --- reader ------------------------------------------------------------------

struct Sink {
    std::u16string a, b, c, d;
    std::size_t total = 0;
};

void BareStart(void* ctx, const xmlChar* local, const xmlChar* prefix, const xmlChar* uri, int,
               const xmlChar**, int nbAttributes, int, const xmlChar** attributes) {
    auto* s = static_cast<Sink*>(static_cast<xmlParserCtxtPtr>(ctx)->_private);
    s->a.clear();
    platform::AppendUtf16(s->a, reinterpret_cast<const char*>(local));
    s->b.clear();
    if (prefix)
        platform::AppendUtf16(s->b, reinterpret_cast<const char*>(prefix));
    s->c.clear();
    if (uri)
        platform::AppendUtf16(s->c, reinterpret_cast<const char*>(uri));
    s->total += s->a.size() + s->b.size() + s->c.size();
    for (int i = 0; i < nbAttributes; ++i) {
        const xmlChar** at = attributes + 5 * i;
        s->a.clear();
        platform::AppendUtf16(s->a, reinterpret_cast<const char*>(at[0]));
        s->d.clear();
        platform::AppendUtf16(s->d, std::string_view(reinterpret_cast<const char*>(at[3]),
                                                     static_cast<size_t>(at[4] - at[3])));
        s->total += s->a.size() + s->d.size();
    }
}

void BareEnd(void* ctx, const xmlChar* local, const xmlChar*, const xmlChar* uri) {
    auto* s = static_cast<Sink*>(static_cast<xmlParserCtxtPtr>(ctx)->_private);
    s->a.clear();
    platform::AppendUtf16(s->a, reinterpret_cast<const char*>(local));
    s->c.clear();
    if (uri)
        platform::AppendUtf16(s->c, reinterpret_cast<const char*>(uri));
    s->total += s->a.size() + s->c.size();
}

void BareText(void* ctx, const xmlChar* text, int length) {
    auto* s = static_cast<Sink*>(static_cast<xmlParserCtxtPtr>(ctx)->_private);
    s->d.clear();
    platform::AppendUtf16(
        s->d, std::string_view(reinterpret_cast<const char*>(text), static_cast<size_t>(length)));
    s->total += s->d.size();
}

void BM_LibXml2Sax2ToUtf16(benchmark::State& state) {
    const std::string& doc = Document();
    xmlInitParser();
    xmlSAXHandler sax;
    std::memset(&sax, 0, sizeof sax);
    sax.initialized = XML_SAX2_MAGIC;
    sax.startDocument = xmlSAX2StartDocument;
    sax.startElementNs = BareStart;
    sax.endElementNs = BareEnd;
    sax.characters = BareText;
    for (auto _ : state) {
        Sink sink;
        xmlParserCtxtPtr ctxt = xmlCreatePushParserCtxt(&sax, nullptr, nullptr, 0, nullptr);
        ctxt->_private = &sink;
        for (std::size_t at = 0; at < doc.size(); at += 65536) {
            const std::size_t n = std::min<std::size_t>(65536, doc.size() - at);
            xmlParseChunk(ctxt, doc.data() + at, static_cast<int>(n), 0);
        }
        xmlParseChunk(ctxt, nullptr, 0, 1);
        if (ctxt->myDoc)
            xmlFreeDoc(ctxt->myDoc);
        xmlFreeParserCtxt(ctxt);
        benchmark::DoNotOptimize(sink.total);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * doc.size()));
}
BENCHMARK(BM_LibXml2Sax2ToUtf16)->Unit(benchmark::kMillisecond);

class CountingHandler final : public platform::com::ComObject<ISAXContentHandler> {
public:
    std::size_t total = 0;
    HResult putDocumentLocator(ISAXLocator*) override { return S_OK; }
    HResult startDocument() override { return S_OK; }
    HResult endDocument() override { return S_OK; }
    HResult startPrefixMapping(std::u16string_view p, std::u16string_view u) override {
        total += p.size() + u.size();
        return S_OK;
    }
    HResult endPrefixMapping(std::u16string_view) override { return S_OK; }
    HResult startElement(std::u16string_view uri, std::u16string_view local,
                         std::u16string_view qname, ISAXAttributes* attributes) override {
        total += uri.size() + local.size() + qname.size();
        std::int32_t n = 0;
        attributes->getLength(&n);
        for (std::int32_t i = 0; i < n; ++i) {
            std::u16string_view u, l, q, v;
            attributes->getName(i, &u, &l, &q);
            attributes->getValue(i, &v);
            total += l.size() + v.size();
        }
        return S_OK;
    }
    HResult endElement(std::u16string_view uri, std::u16string_view local,
                       std::u16string_view) override {
        total += uri.size() + local.size();
        return S_OK;
    }
    HResult characters(std::u16string_view text) override {
        total += text.size();
        return S_OK;
    }
    HResult ignorableWhitespace(std::u16string_view) override { return S_OK; }
    HResult processingInstruction(std::u16string_view, std::u16string_view) override {
        return S_OK;
    }
    HResult skippedEntity(std::u16string_view) override { return S_OK; }
};

void BM_SaxReaderStream(benchmark::State& state) {
    const std::string& doc = Document();
    ComPtr<ISAXXMLReader> reader;
    platform::com::CreateInstance(kClsidSaxXmlReader40, reader);
    ComPtr<CountingHandler> handler(new CountingHandler);
    reader->putContentHandler(handler.Get());
    reader->putFeature(kFeatureNamespacePrefixes, true);
    for (auto _ : state) {
        state.PauseTiming();
        auto stream = platform::com::MemoryStream::Create(doc);
        state.ResumeTiming();
        if (reader->parse(static_cast<platform::com::IStream*>(stream.Get())) != S_OK) {
            state.SkipWithError("parse failed");
        }
        benchmark::DoNotOptimize(handler->total);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * doc.size()));
}
BENCHMARK(BM_SaxReaderStream)->Unit(benchmark::kMillisecond);

// --- writer ------------------------------------------------------------------

// The document's events, recorded once: names and texts in UTF-8 for
// xmlTextWriter and in UTF-16 for our writer, so neither pays for the other's
// conversion. Namespace declarations are attributes of their element.
struct RecordedAttribute {
    std::string qname8, value8;
    std::u16string uri, local, qname, value;
};
struct RecordedEvent {
    enum Kind { Start, End, Text } kind;
    std::string qname8, text8;
    std::u16string uri, local, qname, text;
    std::vector<RecordedAttribute> attributes;
};

std::u16string U16(const xmlChar* text) {
    return text ? platform::ToUtf16(reinterpret_cast<const char*>(text)) : std::u16string();
}
std::string QName(const xmlChar* prefix, const xmlChar* local) {
    std::string q = prefix ? std::string(reinterpret_cast<const char*>(prefix)) + ":" : "";
    return q + reinterpret_cast<const char*>(local);
}

void RecordStart(void* ctx, const xmlChar* local, const xmlChar* prefix, const xmlChar* uri,
                 int nbNamespaces, const xmlChar** namespaces, int nbAttributes, int,
                 const xmlChar** attributes) {
    auto* events = static_cast<std::vector<RecordedEvent>*>(static_cast<xmlParserCtxtPtr>(ctx)->_private);
    RecordedEvent e{RecordedEvent::Start, QName(prefix, local), {}, U16(uri), U16(local), {}, {}, {}};
    e.qname = platform::ToUtf16(e.qname8);
    for (int i = 0; i < nbNamespaces; ++i) {
        RecordedAttribute a;
        a.qname8 = namespaces[2 * i] ? "xmlns:" + std::string(reinterpret_cast<const char*>(namespaces[2 * i]))
                                     : std::string("xmlns");
        a.value8 = reinterpret_cast<const char*>(namespaces[2 * i + 1]);
        a.qname = platform::ToUtf16(a.qname8);
        a.value = platform::ToUtf16(a.value8);
        e.attributes.push_back(a);
    }
    for (int i = 0; i < nbAttributes; ++i) {
        const xmlChar** at = attributes + 5 * i;
        RecordedAttribute a;
        a.qname8 = QName(at[1], at[0]);
        a.value8.assign(reinterpret_cast<const char*>(at[3]), static_cast<size_t>(at[4] - at[3]));
        a.uri = U16(at[2]);
        a.local = U16(at[0]);
        a.qname = platform::ToUtf16(a.qname8);
        a.value = platform::ToUtf16(a.value8);
        e.attributes.push_back(a);
    }
    events->push_back(std::move(e));
}

void RecordEnd(void* ctx, const xmlChar* local, const xmlChar* prefix, const xmlChar* uri) {
    auto* events = static_cast<std::vector<RecordedEvent>*>(static_cast<xmlParserCtxtPtr>(ctx)->_private);
    RecordedEvent e{RecordedEvent::End, QName(prefix, local), {}, U16(uri), U16(local), {}, {}, {}};
    e.qname = platform::ToUtf16(e.qname8);
    events->push_back(std::move(e));
}

void RecordText(void* ctx, const xmlChar* text, int length) {
    auto* events = static_cast<std::vector<RecordedEvent>*>(static_cast<xmlParserCtxtPtr>(ctx)->_private);
    if (!events->empty() && events->back().kind == RecordedEvent::Text) {
        events->back().text8.append(reinterpret_cast<const char*>(text), static_cast<size_t>(length));
        events->back().text = platform::ToUtf16(events->back().text8);
        return;
    }
    RecordedEvent e{RecordedEvent::Text, {}, std::string(reinterpret_cast<const char*>(text), static_cast<size_t>(length)),
                    {}, {}, {}, {}, {}};
    e.text = platform::ToUtf16(e.text8);
    events->push_back(std::move(e));
}

const std::vector<RecordedEvent>& Events() {
    static const std::vector<RecordedEvent> events = [] {
        std::vector<RecordedEvent> recorded;
        xmlSAXHandler sax{};
        sax.initialized = XML_SAX2_MAGIC;
        sax.startElementNs = RecordStart;
        sax.endElementNs = RecordEnd;
        sax.characters = RecordText;
        const std::string& doc = Document();
        xmlParserCtxtPtr ctx = xmlCreatePushParserCtxt(&sax, nullptr, nullptr, 0, nullptr);
        ctx->_private = &recorded;
        xmlParseChunk(ctx, doc.data(), static_cast<int>(doc.size()), 1);
        xmlFreeParserCtxt(ctx);
        return recorded;
    }();
    return events;
}

void BM_LibXml2TextWriter(benchmark::State& state) {
    const auto& events = Events();
    std::size_t bytes = 0;
    for (auto _ : state) {
        xmlBufferPtr buffer = xmlBufferCreate();
        xmlTextWriterPtr w = xmlNewTextWriterMemory(buffer, 0);
        xmlTextWriterStartDocument(w, nullptr, "UTF-8", nullptr);
        for (const RecordedEvent& e : events) {
            switch (e.kind) {
                case RecordedEvent::Start:
                    xmlTextWriterStartElement(w, BAD_CAST e.qname8.c_str());
                    for (const auto& a : e.attributes) {
                        xmlTextWriterWriteAttribute(w, BAD_CAST a.qname8.c_str(), BAD_CAST a.value8.c_str());
                    }
                    break;
                case RecordedEvent::End:
                    xmlTextWriterEndElement(w);
                    break;
                case RecordedEvent::Text:
                    xmlTextWriterWriteString(w, BAD_CAST e.text8.c_str());
                    break;
            }
        }
        xmlTextWriterEndDocument(w);
        xmlFreeTextWriter(w);
        bytes = static_cast<std::size_t>(xmlBufferLength(buffer));
        xmlBufferFree(buffer);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Document().size()));
    state.counters["output_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_LibXml2TextWriter)->Unit(benchmark::kMillisecond);

void BM_XmlWriterText(benchmark::State& state) {
    const auto& events = Events();
    ComPtr<IMXWriter> writer;
    platform::com::CreateInstance(kClsidMxXmlWriter40, writer);
    ComPtr<ISAXContentHandler> handler;
    writer.As(handler);
    ComPtr<IMXAttributes> attributes;
    platform::com::CreateInstance(kClsidSaxAttributes40, attributes);
    ComPtr<ISAXAttributes> readable;
    attributes.As(readable);
    std::size_t units = 0;
    for (auto _ : state) {
        writer->putOutput(nullptr);
        handler->startDocument();
        for (const RecordedEvent& e : events) {
            switch (e.kind) {
                case RecordedEvent::Start:
                    attributes->clear();
                    for (const auto& a : e.attributes) {
                        attributes->addAttribute(a.uri, a.local, a.qname, u"", a.value);
                    }
                    handler->startElement(e.uri, e.local, e.qname, readable.Get());
                    break;
                case RecordedEvent::End:
                    handler->endElement(e.uri, e.local, e.qname);
                    break;
                case RecordedEvent::Text:
                    handler->characters(e.text);
                    break;
            }
        }
        handler->endDocument();
        std::u16string text;
        writer->getOutput(&text);
        units = text.size();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Document().size()));
    state.counters["output_units"] = static_cast<double>(units);
}
BENCHMARK(BM_XmlWriterText)->Unit(benchmark::kMillisecond);

}  // namespace
