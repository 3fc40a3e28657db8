#include "platform/xml/SaxReader.h"

#include <libxml/SAX2.h>
#include <libxml/encoding.h>
#include <libxml/entities.h>
#include <libxml/parserInternals.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "platform/com/ComError.h"
#include "platform/com/FileStream.h"
#include "platform/com/Stream.h"
#include "platform/xml/AttributeList.h"
#include "platform/xml/DomDocument.h"
#include "platform/xml/LibXml.h"

namespace platform::xml {

using com::E_FAIL;
using com::E_INVALIDARG;
using com::E_NOTIMPL;
using com::E_POINTER;
using com::E_UNEXPECTED;
using com::Failed;
using com::S_OK;
using com::XML_E_ENCODING;
using com::XML_E_LIMIT;
using com::XML_E_PARSE;

namespace {

bool EqualsAscii(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char16_t x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char16_t>(x + 32);
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char16_t>(y + 32);
        if (x != y)
            return false;
    }
    return true;
}

bool IsPrefixesFeature(std::u16string_view name) {
    return name == kFeatureNamespacePrefixes || name == u"namespace-prefixes";
}
bool IsNamespacesFeature(std::u16string_view name) {
    return name == kFeatureNamespaces || name == u"namespaces";
}

int DigitValue(char c, bool hex) {
    if (c >= '0' && c <= '9')
        return c - '0';
    return hex ? com::detail::HexValue(c) : -1;
}

void AppendCodePoint(std::u16string& out, std::uint32_t c) {
    if (c >= 0x10000) {
        c -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    } else {
        out.push_back(static_cast<char16_t>(c));
    }
}

// The reader's position: live from the parser while a parse runs, fixed
// (error positions, DOM walks, after the parse) otherwise.
class Locator final : public com::ComObject<ISAXLocator> {
public:
    HResult getColumnNumber(std::int32_t* column) override {
        if (!column)
            return E_POINTER;
        *column = live_ && live_->input ? live_->input->col : column_;
        return S_OK;
    }
    HResult getLineNumber(std::int32_t* line) override {
        if (!line)
            return E_POINTER;
        *line = live_ && live_->input ? live_->input->line : line_;
        return S_OK;
    }
    HResult getPublicId(std::u16string* id) override {
        if (!id)
            return E_POINTER;
        id->clear();
        return S_OK;
    }
    HResult getSystemId(std::u16string* id) override {
        if (!id)
            return E_POINTER;
        *id = systemId_;
        return S_OK;
    }

    void Follow(xmlParserCtxtPtr ctxt) { live_ = ctxt; }
    void Fix(int line, int column) {
        live_ = nullptr;
        line_ = line;
        column_ = column;
    }
    // Freezes the current live position.
    void Freeze() {
        if (live_ && live_->input)
            Fix(live_->input->line, live_->input->col);
        live_ = nullptr;
    }
    xmlParserCtxtPtr Live() const { return live_; }
    void SetSystemId(std::u16string id) { systemId_ = std::move(id); }

private:
    xmlParserCtxtPtr live_ = nullptr;
    int line_ = 0;
    int column_ = 0;
    std::u16string systemId_;
};

// The list handed to startElement: owned by the parse, valid during the call.
class ReaderAttributes final : public AttributeList {
public:
    HResult QueryInterface(const Guid& iid, void** object) override {
        if (!object)
            return E_POINTER;
        if (iid == IUnknown::kIid || iid == ISAXAttributes::kIid) {
            *object = static_cast<ISAXAttributes*>(this);
            return S_OK;
        }
        *object = nullptr;
        return com::E_NOINTERFACE;
    }
    std::uint32_t AddRef() override { return 1; }
    std::uint32_t Release() override { return 1; }
};

// Receives the events when no content handler is set.
class NullContentHandler final : public ISAXContentHandler {
public:
    HResult QueryInterface(const Guid&, void** object) override {
        *object = nullptr;
        return com::E_NOINTERFACE;
    }
    std::uint32_t AddRef() override { return 1; }
    std::uint32_t Release() override { return 1; }
    HResult putDocumentLocator(ISAXLocator*) override { return S_OK; }
    HResult startDocument() override { return S_OK; }
    HResult endDocument() override { return S_OK; }
    HResult startPrefixMapping(std::u16string_view, std::u16string_view) override { return S_OK; }
    HResult endPrefixMapping(std::u16string_view) override { return S_OK; }
    HResult startElement(std::u16string_view, std::u16string_view, std::u16string_view,
                         ISAXAttributes*) override {
        return S_OK;
    }
    HResult endElement(std::u16string_view, std::u16string_view, std::u16string_view) override {
        return S_OK;
    }
    HResult characters(std::u16string_view) override { return S_OK; }
    HResult ignorableWhitespace(std::u16string_view) override { return S_OK; }
    HResult processingInstruction(std::u16string_view, std::u16string_view) override {
        return S_OK;
    }
    HResult skippedEntity(std::u16string_view) override { return S_OK; }
};

NullContentHandler g_null_content;

constexpr std::size_t kChunkBytes = 64 * 1024;
constexpr std::size_t kTextFlushUnits = 64 * 1024;
constexpr int kMaxEntityNesting = 40;

}  // namespace

// One parse: the libxml2 context, the callbacks and their scratch buffers.
class SaxReader::Session {
public:
    Session(ISAXContentHandler* content, ISAXErrorHandler* errors, bool prefixes)
        : content_(content ? content : &g_null_content), errors_(errors), prefixes_(prefixes) {
        locator_ = ComPtr<Locator>(new Locator);
    }
    ~Session() {
        locator_->Freeze();  // handlers may keep the locator
        if (ctxt_) {
            if (ctxt_->myDoc)
                xmlFreeDoc(ctxt_->myDoc);
            ctxt_->myDoc = nullptr;
            xmlFreeParserCtxt(ctxt_);
        }
    }

    void SetSystemId(std::u16string id) { locator_->SetSystemId(std::move(id)); }

    // Starts a push parse. `utf8Text`: the input is UTF-8 produced from
    // UTF-16 text, whatever it declares. `charset`: an encoding override.
    bool Begin(const std::string& filename, bool utf8Text, std::u16string_view charset) {
        EnsureLibXml();
        ctxt_ = xmlCreatePushParserCtxt(Handler(), nullptr, nullptr, 0,
                                        filename.empty() ? nullptr : filename.c_str());
        if (!ctxt_) {
            result_ = com::E_OUTOFMEMORY;
            return false;
        }
        ctxt_->_private = this;
        // No XML_PARSE_NOENT, DTDLOAD, DTDATTR or HUGE: entities are not
        // substituted by libxml2, external subsets are never loaded and the
        // default limits hold.
        int options = XML_PARSE_NONET;
        if (utf8Text || !charset.empty())
            options |= XML_PARSE_IGNORE_ENC;
        xmlCtxtUseOptions(ctxt_, options);
        locator_->Follow(ctxt_);
        if (utf8Text) {
            xmlSwitchEncoding(ctxt_, XML_CHAR_ENCODING_UTF8);
        } else if (!charset.empty()) {
            const std::string name = ToUtf8(charset);
            xmlCharEncodingHandlerPtr encoder = xmlFindCharEncodingHandler(name.c_str());
            if (!encoder) {
                Fatal(XML_E_ENCODING, u"Unsupported encoding '" + std::u16string(charset) + u"'", 0,
                      0);
                return false;
            }
            xmlSwitchToEncoding(ctxt_, encoder);
        }
        return true;
    }

    bool Feed(const char* data, std::size_t size) {
        while (size > 0 && !stopped_) {
            const std::size_t n = std::min(size, kChunkBytes);
            fed_ += n;
            xmlParseChunk(ctxt_, data, static_cast<int>(n), 0);
            data += n;
            size -= n;
        }
        return !stopped_;
    }

    HResult Finish() {
        if (ctxt_ && !stopped_)
            xmlParseChunk(ctxt_, nullptr, 0, 1);
        if (ctxt_ && !stopped_ && !ctxt_->wellFormed) {
            Fatal(XML_E_PARSE, u"The document is not well-formed.", CurrentLine(), CurrentColumn());
        }
        locator_->Freeze();
        return result_;
    }

    // Fails the parse from outside the parser (I/O).
    void FailInput(HResult code, std::u16string message) {
        Fatal(code, std::move(message), CurrentLine(), CurrentColumn());
    }

    HResult WalkDocument(xmlDocPtr doc);

private:
    static xmlSAXHandler* Handler();

    static Session* Of(void* ctx) {
        return static_cast<Session*>(static_cast<xmlParserCtxtPtr>(ctx)->_private);
    }

    int CurrentLine() const { return ctxt_ && ctxt_->input ? ctxt_->input->line : 0; }
    int CurrentColumn() const { return ctxt_ && ctxt_->input ? ctxt_->input->col : 0; }

    // Halts a parser context. Entity text is parsed in nested contexts; each
    // of them is halted when it next calls back, so the nesting unwinds
    // without further work. wellFormed is cleared so that libxml2 does not
    // fall back to its own entity lookup.
    static void Halt(xmlParserCtxtPtr ctxt) {
        if (!ctxt || ctxt->instate == XML_PARSER_EOF)
            return;
        xmlStopParser(ctxt);
        ctxt->disableSAX = 1;
        ctxt->wellFormed = 0;
    }

    void Stop(HResult code, void* ctx) {
        if (!stopped_) {
            stopped_ = true;
            result_ = code;
        }
        Halt(ctxt_);
        if (ctx && ctx != ctxt_)
            Halt(static_cast<xmlParserCtxtPtr>(ctx));
    }

    // Reports a handler result; a failure stops the parse with that code and
    // nothing is reported to the error handler.
    bool Check(HResult hr, void* ctx) {
        if (Failed(hr)) {
            Stop(hr, ctx);
            return false;
        }
        return true;
    }

    void Report(xmlErrorLevel level, HResult code, const std::u16string& message, int line,
                int column) {
        if (!errors_)
            return;
        xmlParserCtxtPtr live = locator_->Live();
        locator_->Fix(line, column);
        if (level == XML_ERR_WARNING) {
            errors_->ignorableWarning(locator_.Get(), message, code);
        } else if (level == XML_ERR_ERROR) {
            errors_->error(locator_.Get(), message, code);
        } else {
            errors_->fatalError(locator_.Get(), message, code);
        }
        if (live)
            locator_->Follow(live);
    }

    void Fatal(HResult code, std::u16string message, int line, int column, void* ctx = nullptr) {
        if (stopped_)
            return;
        Report(XML_ERR_FATAL, code, message, line, column);
        Stop(code, ctx);
    }

    bool FlushText(void* ctx) {
        if (stopped_)
            return false;
        if (text_.empty())
            return true;
        const HResult hr = content_->characters(text_);
        text_.clear();
        return Check(hr, ctx);
    }

    // Counts expanded entity text; false (after a fatal error) once the
    // budget is spent.
    bool AccountExpansion(std::size_t amount, void* ctx) {
        expanded_ += amount;
        if (expanded_ > kMaxEntityExpansion &&
            expanded_ > kEntityAmplification * std::max<std::size_t>(fed_, 1)) {
            Fatal(XML_E_LIMIT,
                  u"Entity expansion limit exceeded: the entities expand to more than " +
                      ToUtf16(std::to_string(kMaxEntityExpansion)) + u" characters.",
                  CurrentLine(), CurrentColumn(), ctx);
            return false;
        }
        return true;
    }

    void AppendQName(std::u16string& out, const xmlChar* prefix, const xmlChar* local) {
        out.clear();
        if (prefix) {
            AppendUtf16(out, View(prefix));
            out.push_back(u':');
        }
        AppendUtf16(out, View(local));
    }

    // Namespace URIs are interned by libxml2: the last one converted is
    // reused while the same string comes again.
    void CachedUri(std::u16string& out, const xmlChar* uri) {
        if (uri != uriKey_) {
            uriKey_ = uri;
            uriValue_.clear();
            if (uri)
                AppendUtf16(uriValue_, View(uri));
        }
        out.assign(uriValue_);
    }

    void AppendAttributeValue(std::u16string& out, std::string_view value, bool inEntity,
                              int nesting, void* ctx);

    // libxml2 callbacks.
    static void OnStartDocument(void* ctx);
    static void OnEndDocument(void* ctx);
    static void OnStartElement(void* ctx, const xmlChar* localName, const xmlChar* prefix,
                               const xmlChar* uri, int nbNamespaces, const xmlChar** namespaces,
                               int nbAttributes, int nbDefaulted, const xmlChar** attributes);
    static void OnEndElement(void* ctx, const xmlChar* localName, const xmlChar* prefix,
                             const xmlChar* uri);
    static void OnCharacters(void* ctx, const xmlChar* text, int length);
    static void OnWhitespace(void* ctx, const xmlChar* text, int length);
    static void OnProcessingInstruction(void* ctx, const xmlChar* target, const xmlChar* data);
    static void OnReference(void* ctx, const xmlChar* name);
    static xmlEntityPtr OnGetEntity(void* ctx, const xmlChar* name);
    static void OnError(void* userData, xmlErrorPtr error);

    HResult WalkNode(xmlNodePtr node, int depth);

    ISAXContentHandler* content_;
    ISAXErrorHandler* errors_;
    bool prefixes_;
    ComPtr<Locator> locator_;
    xmlParserCtxtPtr ctxt_ = nullptr;
    HResult result_ = S_OK;
    bool stopped_ = false;
    std::size_t fed_ = 0;
    std::size_t expanded_ = 0;
    int depth_ = 0;

    struct ElementNames {
        std::u16string uri, local, qname;
    };
    std::vector<ElementNames> names_;
    const xmlChar* uriKey_ = nullptr;
    std::u16string uriValue_;

    std::u16string text_;
    std::u16string uri_, local_, qname_, scratch_;
    ReaderAttributes attributes_;
    std::vector<std::u16string> prefixStack_;
    std::size_t prefixTop_ = 0;
    std::vector<int> prefixCounts_;
};

xmlSAXHandler* SaxReader::Session::Handler() {
    static xmlSAXHandler handler = [] {
        xmlSAXHandler h;
        std::memset(&h, 0, sizeof h);
        h.initialized = XML_SAX2_MAGIC;
        // The document type declaration is kept by libxml2's own handlers so
        // that internal entities are known; nothing external is read.
        h.internalSubset = xmlSAX2InternalSubset;
        h.isStandalone = xmlSAX2IsStandalone;
        h.hasInternalSubset = xmlSAX2HasInternalSubset;
        h.hasExternalSubset = xmlSAX2HasExternalSubset;
        h.getParameterEntity = xmlSAX2GetParameterEntity;
        h.entityDecl = xmlSAX2EntityDecl;
        h.notationDecl = xmlSAX2NotationDecl;
        h.attributeDecl = xmlSAX2AttributeDecl;
        h.elementDecl = xmlSAX2ElementDecl;
        h.unparsedEntityDecl = xmlSAX2UnparsedEntityDecl;
        h.getEntity = OnGetEntity;
        h.startDocument = OnStartDocument;
        h.endDocument = OnEndDocument;
        h.startElementNs = OnStartElement;
        h.endElementNs = OnEndElement;
        h.characters = OnCharacters;
        h.cdataBlock = OnCharacters;
        h.ignorableWhitespace = OnWhitespace;
        h.processingInstruction = OnProcessingInstruction;
        h.reference = OnReference;
        h.serror = OnError;
        return h;
    }();
    return &handler;
}

void SaxReader::Session::OnStartDocument(void* ctx) {
    Session* s = Of(ctx);
    // Creates the parser's document, which holds the internal subset.
    xmlSAX2StartDocument(ctx);
    if (s->stopped_)
        return;
    if (!s->Check(s->content_->putDocumentLocator(s->locator_.Get()), ctx))
        return;
    s->Check(s->content_->startDocument(), ctx);
}

void SaxReader::Session::OnEndDocument(void* ctx) {
    Session* s = Of(ctx);
    if (s->stopped_ || !s->ctxt_->wellFormed)
        return;
    if (!s->FlushText(ctx))
        return;
    s->Check(s->content_->endDocument(), ctx);
}

void SaxReader::Session::OnStartElement(void* ctx, const xmlChar* localName, const xmlChar* prefix,
                                        const xmlChar* uri, int nbNamespaces,
                                        const xmlChar** namespaces, int nbAttributes, int,
                                        const xmlChar** attributes) {
    Session* s = Of(ctx);
    if (!s->FlushText(ctx))
        return;
    if (++s->depth_ > kMaxElementDepth) {
        s->Fatal(XML_E_LIMIT,
                 u"Element nesting is deeper than " + ToUtf16(std::to_string(kMaxElementDepth)) +
                     u" levels.",
                 s->CurrentLine(), s->CurrentColumn(), ctx);
        return;
    }
    // Prefix mappings of this element, remembered for their end events.
    s->prefixCounts_.push_back(nbNamespaces);
    for (int i = 0; i < nbNamespaces; ++i) {
        if (s->prefixTop_ == s->prefixStack_.size())
            s->prefixStack_.emplace_back();
        std::u16string& p = s->prefixStack_[s->prefixTop_++];
        p.clear();
        AppendUtf16(p, View(namespaces[2 * i]));
        s->scratch_.clear();
        AppendUtf16(s->scratch_, View(namespaces[2 * i + 1]));
        if (!s->Check(s->content_->startPrefixMapping(p, s->scratch_), ctx))
            return;
    }

    AttributeList& list = s->attributes_;
    list.Reset();
    if (s->prefixes_) {
        for (int i = 0; i < nbNamespaces; ++i) {
            AttributeList::Entry& e = list.Append();
            e.qName.assign(u"xmlns");
            if (namespaces[2 * i]) {
                e.qName.push_back(u':');
                AppendUtf16(e.qName, View(namespaces[2 * i]));
            }
            AppendUtf16(e.value, View(namespaces[2 * i + 1]));
        }
    }
    for (int i = 0; i < nbAttributes; ++i) {
        const xmlChar** a = attributes + 5 * i;
        AttributeList::Entry& e = list.Append();
        AppendUtf16(e.localName, View(a[0]));
        if (a[1]) {
            AppendUtf16(e.qName, View(a[1]));
            e.qName.push_back(u':');
        }
        e.qName.append(e.localName);
        if (a[2])
            AppendUtf16(e.uri, View(a[2]));
        const std::string_view value = View(a[3], static_cast<int>(a[4] - a[3]));
        if (value.find('&') == std::string_view::npos) {
            AppendUtf16(e.value, value);
        } else {
            s->AppendAttributeValue(e.value, value, false, 0, ctx);
            if (s->stopped_)
                return;
        }
    }

    // Names are kept per level for the end event.
    if (static_cast<std::size_t>(s->depth_) > s->names_.size())
        s->names_.emplace_back();
    ElementNames& names = s->names_[static_cast<std::size_t>(s->depth_ - 1)];
    s->CachedUri(names.uri, uri);
    names.local.clear();
    AppendUtf16(names.local, View(localName));
    s->AppendQName(names.qname, prefix, localName);
    s->Check(s->content_->startElement(names.uri, names.local, names.qname, &list), ctx);
}

void SaxReader::Session::OnEndElement(void* ctx, const xmlChar*, const xmlChar*, const xmlChar*) {
    Session* s = Of(ctx);
    if (!s->FlushText(ctx))
        return;
    if (s->depth_ <= 0)
        return;
    const ElementNames& names = s->names_[static_cast<std::size_t>(--s->depth_)];
    if (!s->Check(s->content_->endElement(names.uri, names.local, names.qname), ctx))
        return;
    if (s->prefixCounts_.empty())
        return;
    int count = s->prefixCounts_.back();
    s->prefixCounts_.pop_back();
    while (count-- > 0) {
        if (!s->Check(s->content_->endPrefixMapping(s->prefixStack_[--s->prefixTop_]), ctx)) {
            return;
        }
    }
}

void SaxReader::Session::OnCharacters(void* ctx, const xmlChar* text, int length) {
    Session* s = Of(ctx);
    if (s->stopped_)
        return;
    AppendUtf16(s->text_, View(text, length));
    if (s->text_.size() >= kTextFlushUnits)
        s->FlushText(ctx);
}

void SaxReader::Session::OnWhitespace(void* ctx, const xmlChar* text, int length) {
    Session* s = Of(ctx);
    if (!s->FlushText(ctx))
        return;
    s->scratch_.clear();
    AppendUtf16(s->scratch_, View(text, length));
    s->Check(s->content_->ignorableWhitespace(s->scratch_), ctx);
}

void SaxReader::Session::OnProcessingInstruction(void* ctx, const xmlChar* target,
                                                 const xmlChar* data) {
    Session* s = Of(ctx);
    if (!s->FlushText(ctx))
        return;
    s->local_.clear();
    AppendUtf16(s->local_, View(target));
    s->scratch_.clear();
    AppendUtf16(s->scratch_, View(data));
    s->Check(s->content_->processingInstruction(s->local_, s->scratch_), ctx);
}

void SaxReader::Session::OnReference(void* ctx, const xmlChar* name) {
    Session* s = Of(ctx);
    // libxml2 also reports references whose text it has just delivered;
    // only entities that were not expanded count as skipped.
    xmlDocPtr doc = static_cast<xmlParserCtxtPtr>(ctx)->myDoc;
    xmlEntityPtr entity = doc ? xmlGetDocEntity(doc, name) : nullptr;
    if (entity && entity->etype == XML_INTERNAL_GENERAL_ENTITY)
        return;
    if (!s->FlushText(ctx))
        return;
    s->scratch_.clear();
    AppendUtf16(s->scratch_, View(name));
    s->Check(s->content_->skippedEntity(s->scratch_), ctx);
}

xmlEntityPtr SaxReader::Session::OnGetEntity(void* ctx, const xmlChar* name) {
    Session* s = Of(ctx);
    if (s->stopped_) {
        Halt(static_cast<xmlParserCtxtPtr>(ctx));
        return nullptr;
    }
    xmlEntityPtr entity = xmlSAX2GetEntity(ctx, name);
    if (entity && entity->etype == XML_INTERNAL_GENERAL_ENTITY &&
        !s->AccountExpansion(static_cast<std::size_t>(std::max(entity->length, 0)), ctx)) {
        return nullptr;
    }
    return entity;
}

void SaxReader::Session::OnError(void* userData, xmlErrorPtr error) {
    if (!error)
        return;
    void* ctx = error->ctxt ? error->ctxt : userData;
    if (!ctx)
        return;
    Session* s = Of(ctx);
    if (!s || s->stopped_)
        return;
    const std::u16string message = ErrorText(error);
    // Positions inside entity text are reported at the reference.
    int line = error->line;
    int column = error->int2;
    if (ctx != s->ctxt_ || line <= 0) {
        line = s->CurrentLine();
        column = s->CurrentColumn();
    }
    if (error->level == XML_ERR_WARNING) {
        s->Report(XML_ERR_WARNING, S_OK, message, line, column);
        return;
    }
    // Namespace errors (undeclared prefixes, ...) end the parse like
    // well-formedness errors do; other recoverable errors are reported and
    // the parse goes on.
    if (error->level == XML_ERR_ERROR && error->domain != XML_FROM_NAMESPACE) {
        s->Report(XML_ERR_ERROR, XML_E_PARSE, message, line, column);
        return;
    }
    s->Fatal(ResultOfError(error), message, line, column, ctx);
}

void SaxReader::Session::AppendAttributeValue(std::u16string& out, std::string_view value,
                                              bool inEntity, int nesting, void* ctx) {
    // libxml2 leaves entity references of attribute values unexpanded when it
    // does not substitute entities: '&' then only starts "&#38;" (a literal
    // ampersand), "&name;" or, inside entity text, a character reference.
    std::size_t i = 0;
    while (i < value.size() && !stopped_) {
        const std::size_t amp = value.find('&', i);
        const std::size_t end = amp == std::string_view::npos ? value.size() : amp;
        if (end > i) {
            const std::size_t from = out.size();
            AppendUtf16(out, value.substr(i, end - i));
            if (inEntity) {
                // Attribute-value normalisation of literal white space.
                for (std::size_t k = from; k < out.size(); ++k) {
                    if (out[k] == u'\t' || out[k] == u'\n' || out[k] == u'\r')
                        out[k] = u' ';
                }
            }
        }
        if (amp == std::string_view::npos)
            break;
        const std::size_t semi = value.find(';', amp);
        if (semi == std::string_view::npos) {
            AppendUtf16(out, value.substr(amp));
            break;
        }
        const std::string_view ref = value.substr(amp + 1, semi - amp - 1);
        i = semi + 1;
        if (!ref.empty() && ref[0] == '#') {
            std::uint32_t code = 0;
            bool ok = ref.size() > 1;
            const bool hex = ref.size() > 1 && ref[1] == 'x';
            for (std::size_t k = hex ? 2 : 1; k < ref.size() && ok; ++k) {
                const int digit = DigitValue(ref[k], hex);
                ok = digit >= 0 && code <= 0x10FFFF;
                code = code * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
            }
            if (ok && code <= 0x10FFFF) {
                AppendCodePoint(out, code);
            } else {
                AppendUtf16(out, value.substr(amp, semi + 1 - amp));
            }
            continue;
        }
        const std::string name(ref);
        const xmlChar* xname = reinterpret_cast<const xmlChar*>(name.c_str());
        xmlEntityPtr entity = xmlGetPredefinedEntity(xname);
        if (!entity && ctxt_ && ctxt_->myDoc)
            entity = xmlGetDocEntity(ctxt_->myDoc, xname);
        if (entity && entity->etype == XML_INTERNAL_PREDEFINED_ENTITY) {
            AppendUtf16(out, View(entity->content));
        } else if (entity && entity->etype == XML_INTERNAL_GENERAL_ENTITY && entity->content) {
            if (nesting >= kMaxEntityNesting) {
                Fatal(XML_E_LIMIT, u"Entity references nest too deeply.", CurrentLine(),
                      CurrentColumn(), ctx);
                return;
            }
            if (!AccountExpansion(static_cast<std::size_t>(std::max(entity->length, 0)), ctx)) {
                return;
            }
            AppendAttributeValue(out, View(entity->content), true, nesting + 1, ctx);
        } else {
            // Undeclared or external: libxml2 reported it; keep the reference.
            AppendUtf16(out, value.substr(amp, semi + 1 - amp));
        }
    }
}

HResult SaxReader::Session::WalkDocument(xmlDocPtr doc) {
    locator_->Fix(1, 1);
    if (!Check(content_->putDocumentLocator(locator_.Get()), nullptr))
        return result_;
    if (!Check(content_->startDocument(), nullptr))
        return result_;
    for (xmlNodePtr child = doc ? doc->children : nullptr; child; child = child->next) {
        if (Failed(WalkNode(child, 0)))
            return result_;
    }
    Check(content_->endDocument(), nullptr);
    return result_;
}

HResult SaxReader::Session::WalkNode(xmlNodePtr node, int depth) {
    switch (node->type) {
        case XML_ELEMENT_NODE: {
            if (depth >= 4 * kMaxElementDepth) {
                Fatal(XML_E_LIMIT, u"Element nesting is too deep.", 0, 0);
                return result_;
            }
            const long line = xmlGetLineNo(node);
            locator_->Fix(line > 0 ? static_cast<int>(line) : 1, 1);
            for (xmlNsPtr ns = node->nsDef; ns; ns = ns->next) {
                uri_.clear();
                AppendUtf16(uri_, View(ns->href));
                scratch_.clear();
                AppendUtf16(scratch_, View(ns->prefix));
                if (!Check(content_->startPrefixMapping(scratch_, uri_), nullptr))
                    return result_;
            }
            // The list is rebuilt for each element: children reuse it.
            AttributeList& list = attributes_;
            list.Reset();
            if (prefixes_) {
                for (xmlNsPtr ns = node->nsDef; ns; ns = ns->next) {
                    AttributeList::Entry& e = list.Append();
                    e.qName.assign(u"xmlns");
                    if (ns->prefix) {
                        e.qName.push_back(u':');
                        AppendUtf16(e.qName, View(ns->prefix));
                    }
                    AppendUtf16(e.value, View(ns->href));
                }
            }
            for (xmlAttrPtr a = node->properties; a; a = a->next) {
                AttributeList::Entry& e = list.Append();
                AppendUtf16(e.localName, View(a->name));
                if (a->ns) {
                    AppendUtf16(e.uri, View(a->ns->href));
                    if (a->ns->prefix) {
                        AppendUtf16(e.qName, View(a->ns->prefix));
                        e.qName.push_back(u':');
                    }
                }
                e.qName.append(e.localName);
                xmlChar* value = xmlNodeGetContent(reinterpret_cast<xmlNodePtr>(a));
                AppendUtf16(e.value, View(value));
                xmlFree(value);
            }
            std::u16string uri, local, qname;
            if (node->ns)
                AppendUtf16(uri, View(node->ns->href));
            AppendUtf16(local, View(node->name));
            AppendQName(qname, node->ns ? node->ns->prefix : nullptr, node->name);
            if (!Check(content_->startElement(uri, local, qname, &list), nullptr))
                return result_;
            for (xmlNodePtr child = node->children; child; child = child->next) {
                if (Failed(WalkNode(child, depth + 1)))
                    return result_;
            }
            if (!Check(content_->endElement(uri, local, qname), nullptr))
                return result_;
            // End events in reverse order of the declarations.
            std::vector<xmlNsPtr> declared;
            for (xmlNsPtr ns = node->nsDef; ns; ns = ns->next)
                declared.push_back(ns);
            for (auto it = declared.rbegin(); it != declared.rend(); ++it) {
                scratch_.clear();
                AppendUtf16(scratch_, View((*it)->prefix));
                if (!Check(content_->endPrefixMapping(scratch_), nullptr))
                    return result_;
            }
            return S_OK;
        }
        case XML_TEXT_NODE:
        case XML_CDATA_SECTION_NODE:
            text_.clear();
            AppendUtf16(text_, View(node->content));
            Check(content_->characters(text_), nullptr);
            text_.clear();
            return result_;
        case XML_ENTITY_REF_NODE: {
            xmlEntityPtr entity = xmlGetDocEntity(node->doc, node->name);
            if (entity && entity->etype == XML_INTERNAL_GENERAL_ENTITY && entity->children) {
                for (xmlNodePtr child = entity->children; child; child = child->next) {
                    if (Failed(WalkNode(child, depth + 1)))
                        return result_;
                }
                return S_OK;
            }
            scratch_.clear();
            AppendUtf16(scratch_, View(node->name));
            Check(content_->skippedEntity(scratch_), nullptr);
            return result_;
        }
        case XML_PI_NODE:
            local_.clear();
            AppendUtf16(local_, View(node->name));
            scratch_.clear();
            AppendUtf16(scratch_, View(node->content));
            Check(content_->processingInstruction(local_, scratch_), nullptr);
            return result_;
        default:
            return S_OK;
    }
}

// Marks the reader busy for one parse.
struct SaxReader::ParseGuard {
    explicit ParseGuard(bool& flag) : flag_(flag), busy_(flag) { flag_ = true; }
    ~ParseGuard() {
        if (!busy_)
            flag_ = false;
    }
    bool& flag_;
    bool busy_;
};

HResult SaxReader::Create(const Guid& iid, void** object) {
    auto* reader = new (std::nothrow) SaxReader;
    if (!reader)
        return com::E_OUTOFMEMORY;
    ComPtr<SaxReader> holder(reader);
    return holder->QueryInterface(iid, object);
}

HResult SaxReader::getFeature(std::u16string_view name, bool* value) {
    if (!value)
        return E_POINTER;
    if (IsPrefixesFeature(name)) {
        *value = namespacePrefixes_;
    } else if (IsNamespacesFeature(name)) {
        *value = true;
    } else {
        return E_INVALIDARG;
    }
    return S_OK;
}

HResult SaxReader::putFeature(std::u16string_view name, bool value) {
    if (parsing_)
        return E_UNEXPECTED;
    if (IsPrefixesFeature(name)) {
        namespacePrefixes_ = value;
        return S_OK;
    }
    if (IsNamespacesFeature(name))
        return value ? S_OK : E_NOTIMPL;
    return E_INVALIDARG;
}

HResult SaxReader::getProperty(std::u16string_view name, std::u16string* value) {
    if (!value)
        return E_POINTER;
    if (name != kPropertyCharset)
        return E_INVALIDARG;
    *value = charset_;
    return S_OK;
}

HResult SaxReader::putProperty(std::u16string_view name, std::u16string_view value) {
    if (parsing_)
        return E_UNEXPECTED;
    if (name != kPropertyCharset)
        return E_INVALIDARG;
    charset_.assign(value);
    return S_OK;
}

HResult SaxReader::getContentHandler(ComPtr<ISAXContentHandler>& handler) {
    handler = content_;
    return S_OK;
}

HResult SaxReader::putContentHandler(ISAXContentHandler* handler) {
    content_ = handler;
    return S_OK;
}

HResult SaxReader::getErrorHandler(ComPtr<ISAXErrorHandler>& handler) {
    handler = errors_;
    return S_OK;
}

HResult SaxReader::putErrorHandler(ISAXErrorHandler* handler) {
    errors_ = handler;
    return S_OK;
}

HResult SaxReader::parse(std::u16string_view text) {
    ParseGuard guard(parsing_);
    if (guard.busy_)
        return E_UNEXPECTED;
    // Handlers stay alive for the whole parse even if replaced meanwhile.
    const ComPtr<ISAXContentHandler> content = content_;
    const ComPtr<ISAXErrorHandler> errors = errors_;
    Session session(content.Get(), errors.Get(), namespacePrefixes_);
    session.SetSystemId(u"#text");
    if (!text.empty() && text.front() == 0xFEFF)
        text.remove_prefix(1);
    if (session.Begin(std::string(), true, {})) {
        std::string chunk;
        constexpr std::size_t kUnits = 16 * 1024;
        while (!text.empty()) {
            std::size_t n = std::min(text.size(), kUnits);
            // Never split a surrogate pair between chunks.
            if (n < text.size() && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF)
                --n;
            chunk.clear();
            AppendUtf8(chunk, text.substr(0, n));
            text.remove_prefix(n);
            if (!session.Feed(chunk.data(), chunk.size()))
                break;
        }
    }
    return session.Finish();
}

HResult SaxReader::parse(IUnknown* source) {
    if (!source)
        return E_INVALIDARG;
    ParseGuard guard(parsing_);
    if (guard.busy_)
        return E_UNEXPECTED;
    const ComPtr<ISAXContentHandler> content = content_;
    const ComPtr<ISAXErrorHandler> errors = errors_;

    if (DomDocument* document = DomDocument::From(source)) {
        Session session(content.Get(), errors.Get(), namespacePrefixes_);
        const auto lock = document->ReadLock();
        return session.WalkDocument(document->Tree());
    }
    ComPtr<com::IStream> stream;
    if (Failed(com::QueryInterfaceTo(source, stream)))
        return E_INVALIDARG;

    Session session(content.Get(), errors.Get(), namespacePrefixes_);
    session.SetSystemId(u"#stream");
    if (session.Begin(std::string(), false, charset_)) {
        std::vector<char> buffer(kChunkBytes);
        for (;;) {
            std::uint32_t read = 0;
            const HResult hr =
                stream->read(buffer.data(), static_cast<std::uint32_t>(buffer.size()), &read);
            if (Failed(hr)) {
                session.FailInput(hr,
                                  u"Reading the input stream failed: " + com::DescribeResult(hr));
                break;
            }
            if (read == 0 || !session.Feed(buffer.data(), read))
                break;
        }
    }
    return session.Finish();
}

HResult SaxReader::parseURL(std::u16string_view url) {
    ParseGuard guard(parsing_);
    if (guard.busy_)
        return E_UNEXPECTED;
    const ComPtr<ISAXContentHandler> content = content_;
    const ComPtr<ISAXErrorHandler> errors = errors_;
    Session session(content.Get(), errors.Get(), namespacePrefixes_);
    session.SetSystemId(std::u16string(url));

    std::u16string path;
    HResult hr = PathFromUrl(url, &path);
    if (Failed(hr)) {
        session.FailInput(
            hr, u"Cannot load '" + std::u16string(url) + u"': " + com::DescribeResult(hr));
        session.Finish();
        return hr;
    }
    ComPtr<com::IStream> stream;
    hr = com::FileStream::Open(path, com::FileAccess::kRead, com::FileDisposition::kOpenExisting,
                               com::FileShare::kDenyNone, stream);
    if (Failed(hr)) {
        session.FailInput(hr, u"Cannot open '" + path + u"': " + com::DescribeResult(hr));
        session.Finish();
        return hr;
    }
    if (session.Begin(ToUtf8(path), false, charset_)) {
        std::vector<char> buffer(kChunkBytes);
        for (;;) {
            std::uint32_t read = 0;
            hr = stream->read(buffer.data(), static_cast<std::uint32_t>(buffer.size()), &read);
            if (Failed(hr)) {
                session.FailInput(hr,
                                  u"Reading '" + path + u"' failed: " + com::DescribeResult(hr));
                break;
            }
            if (read == 0 || !session.Feed(buffer.data(), read))
                break;
        }
    }
    return session.Finish();
}

HResult PathFromUrl(std::u16string_view url, std::u16string* path) {
    if (!path)
        return E_POINTER;
    path->clear();
    if (url.empty())
        return E_INVALIDARG;
    // A scheme is letters followed by ':' (a single letter would be a drive).
    std::size_t colon = url.find(u':');
    bool hasScheme = colon != std::u16string_view::npos && colon > 1;
    for (std::size_t i = 0; hasScheme && i < colon; ++i) {
        const char16_t c = url[i];
        hasScheme = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    }
    if (!hasScheme) {
        path->assign(url);
        return S_OK;
    }
    if (!EqualsAscii(url.substr(0, colon), u"file"))
        return E_NOTIMPL;
    std::u16string_view rest = url.substr(colon + 1);
    if (rest.substr(0, 2) == u"//") {
        rest.remove_prefix(2);
        const std::size_t slash = rest.find(u'/');
        if (slash == std::u16string_view::npos)
            return E_INVALIDARG;
        const std::u16string_view host = rest.substr(0, slash);
        if (!host.empty() && !EqualsAscii(host, u"localhost"))
            return E_INVALIDARG;
        rest.remove_prefix(slash);
    }
    if (rest.empty() || rest.front() != u'/')
        return E_INVALIDARG;
    // Percent escapes are bytes of the UTF-8 form.
    std::string bytes;
    const std::string utf8 = ToUtf8(rest);
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] != '%') {
            bytes.push_back(utf8[i]);
            continue;
        }
        if (i + 2 >= utf8.size())
            return E_INVALIDARG;
        const int hi = com::detail::HexValue(utf8[i + 1]);
        const int lo = com::detail::HexValue(utf8[i + 2]);
        if (hi < 0 || lo < 0)
            return E_INVALIDARG;
        bytes.push_back(static_cast<char>(hi * 16 + lo));
        i += 2;
    }
    if (bytes.find('\0') != std::string::npos)
        return E_INVALIDARG;
    *path = ToUtf16(bytes);
    return S_OK;
}

}  // namespace platform::xml
