#include "platform/xml/XmlWriter.h"

#include <new>

#include "platform/com/ComError.h"
#include "platform/xml/DomDocument.h"
#include "platform/xml/LibXml.h"

namespace platform::xml {

using com::E_INVALIDARG;
using com::E_POINTER;
using com::E_UNEXPECTED;
using com::Failed;
using com::S_OK;
using com::Succeeded;

namespace {

constexpr std::size_t kFlushUnits = 32 * 1024;

char16_t LowerAscii(char16_t c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char16_t>(c + 32) : c;
}

bool SameName(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    }
    return true;
}

std::u16string_view PrefixOf(std::u16string_view qName) {
    const std::size_t colon = qName.find(u':');
    return colon == std::u16string_view::npos ? std::u16string_view() : qName.substr(0, colon);
}

std::u16string_view LocalOf(std::u16string_view qName) {
    const std::size_t colon = qName.find(u':');
    return colon == std::u16string_view::npos ? qName : qName.substr(colon + 1);
}

bool IsDeclaration(std::u16string_view qName) {
    return qName == u"xmlns" || qName.substr(0, 6) == u"xmlns:";
}

}  // namespace

HResult XmlWriter::Create(const Guid& iid, void** object) {
    auto* writer = new (std::nothrow) XmlWriter;
    if (!writer)
        return com::E_OUTOFMEMORY;
    ComPtr<XmlWriter> holder(writer);
    return holder->QueryInterface(iid, object);
}

XmlWriter::~XmlWriter() {
    CloseEncoder();
    if (building_)
        xmlFreeDoc(building_);
}

void XmlWriter::CloseEncoder() {
    if (encoder_)
        xmlCharEncCloseFunc(encoder_);
    encoder_ = nullptr;
}

HResult XmlWriter::putOutput(IUnknown* destination) {
    stream_.Reset();
    documentHolder_.Reset();
    document_ = nullptr;
    target_ = Target::kText;
    ResetState();
    if (!destination)
        return S_OK;
    if (DomDocument* document = DomDocument::From(destination)) {
        documentHolder_ = destination;
        document_ = document;
        target_ = Target::kDocument;
        return S_OK;
    }
    if (Failed(com::QueryInterfaceTo(destination, stream_)))
        return E_INVALIDARG;
    target_ = Target::kStream;
    return S_OK;
}

HResult XmlWriter::getOutput(std::u16string* text) {
    if (!text)
        return E_POINTER;
    if (target_ != Target::kText)
        return E_UNEXPECTED;
    *text = text_;
    return S_OK;
}

HResult XmlWriter::putEncoding(std::u16string_view encoding) {
    if (encoding.empty())
        return E_INVALIDARG;
    Encoding kind = Encoding::kOther;
    if (SameName(encoding, u"UTF-8") || SameName(encoding, u"UTF8")) {
        kind = Encoding::kUtf8;
    } else if (SameName(encoding, u"UTF-16") || SameName(encoding, u"UTF-16LE") ||
               SameName(encoding, u"UCS-2") || SameName(encoding, u"Unicode")) {
        kind = Encoding::kUtf16Le;
    } else if (SameName(encoding, u"UTF-16BE")) {
        kind = Encoding::kUtf16Be;
    } else {
        EnsureLibXml();
        const std::string name = ToUtf8(encoding);
        xmlCharEncodingHandlerPtr handler = xmlFindCharEncodingHandler(name.c_str());
        if (!handler) {
            com::SetErrorInfo(com::XML_E_ENCODING,
                              u"Unsupported encoding '" + std::u16string(encoding) + u"'");
            return com::XML_E_ENCODING;
        }
        xmlCharEncCloseFunc(handler);
    }
    encodingName_.assign(encoding);
    encoding_ = kind;
    return S_OK;
}

HResult XmlWriter::getEncoding(std::u16string* encoding) {
    if (!encoding)
        return E_POINTER;
    *encoding = encodingName_;
    return S_OK;
}

HResult XmlWriter::putIndent(bool indent) {
    indent_ = indent;
    return S_OK;
}
HResult XmlWriter::getIndent(bool* indent) {
    if (!indent)
        return E_POINTER;
    *indent = indent_;
    return S_OK;
}
HResult XmlWriter::putOmitXMLDeclaration(bool omit) {
    omitDeclaration_ = omit;
    return S_OK;
}
HResult XmlWriter::getOmitXMLDeclaration(bool* omit) {
    if (!omit)
        return E_POINTER;
    *omit = omitDeclaration_;
    return S_OK;
}
HResult XmlWriter::putByteOrderMark(bool write) {
    byteOrderMark_ = write;
    return S_OK;
}
HResult XmlWriter::getByteOrderMark(bool* write) {
    if (!write)
        return E_POINTER;
    *write = byteOrderMark_;
    return S_OK;
}

HResult XmlWriter::flush() {
    if (target_ != Target::kStream)
        return S_OK;
    return FlushBytes(true);
}

void XmlWriter::ResetState() {
    text_.clear();
    bytes_.clear();
    bomWritten_ = false;
    tagOpen_ = false;
    topLevelItems_ = 0;
    levels_.clear();
    pendingPrefixes_.clear();
    failure_ = S_OK;
    CloseEncoder();
    if (building_)
        xmlFreeDoc(building_);
    building_ = nullptr;
    current_ = nullptr;
}

HResult XmlWriter::FlushBytes(bool all) {
    if (Failed(failure_))
        return failure_;
    std::u16string_view pending = text_;
    // A high surrogate waits for its partner.
    char16_t held = 0;
    if (!all && !pending.empty() && pending.back() >= 0xD800 && pending.back() <= 0xDBFF) {
        held = pending.back();
        pending.remove_suffix(1);
    }
    bytes_.clear();
    switch (encoding_) {
        case Encoding::kUtf8:
            AppendUtf8(bytes_, pending);
            break;
        case Encoding::kUtf16Le:
        case Encoding::kUtf16Be: {
            const bool little = encoding_ == Encoding::kUtf16Le;
            if (byteOrderMark_ && !bomWritten_) {
                bytes_ += little ? "\xFF\xFE" : "\xFE\xFF";
            }
            bytes_.reserve(bytes_.size() + 2 * pending.size());
            for (char16_t c : pending) {
                const char lo = static_cast<char>(c & 0xFF);
                const char hi = static_cast<char>(c >> 8);
                bytes_.push_back(little ? lo : hi);
                bytes_.push_back(little ? hi : lo);
            }
            break;
        }
        case Encoding::kOther: {
            if (!encoder_) {
                const std::string name = ToUtf8(encodingName_);
                encoder_ = xmlFindCharEncodingHandler(name.c_str());
                if (!encoder_)
                    return failure_ = com::XML_E_ENCODING;
            }
            std::string utf8;
            AppendUtf8(utf8, pending);
            xmlBufferPtr in = xmlBufferCreate();
            xmlBufferPtr out = xmlBufferCreate();
            xmlBufferAdd(in, reinterpret_cast<const xmlChar*>(utf8.data()),
                         static_cast<int>(utf8.size()));
            // Unrepresentable characters become character references.
            const int converted = xmlCharEncOutFunc(encoder_, out, in);
            if (converted >= 0 || xmlBufferLength(out) > 0) {
                bytes_.assign(reinterpret_cast<const char*>(xmlBufferContent(out)),
                              static_cast<std::size_t>(xmlBufferLength(out)));
            }
            const bool complete = converted >= 0 && xmlBufferLength(in) == 0;
            xmlBufferFree(in);
            xmlBufferFree(out);
            if (!complete)
                return failure_ = com::XML_E_ENCODING;
            break;
        }
    }
    bomWritten_ = true;
    text_.clear();
    if (held)
        text_.push_back(held);
    if (!bytes_.empty()) {
        const HResult hr =
            stream_->write(bytes_.data(), static_cast<std::uint32_t>(bytes_.size()), nullptr);
        if (Failed(hr))
            return failure_ = hr;
    }
    return S_OK;
}

void XmlWriter::CloseStartTag() {
    if (tagOpen_) {
        text_.push_back(u'>');
        tagOpen_ = false;
    }
}

void XmlWriter::NewLine(std::size_t depth) {
    text_.push_back(u'\n');
    text_.append(2 * depth, u' ');
}

HResult XmlWriter::Escape(std::u16string_view text, bool attribute) {
    std::size_t run = 0;
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char16_t c = text[i];
        if (c > u'>') {
            if (c < 0xFFFE)
                continue;
        } else if (c >= 0x20 && c != u'&' && c != u'<' && c != u'>' && (c != u'"' || !attribute)) {
            continue;
        } else if ((c == u'\t' || c == u'\n') && !attribute) {
            continue;
        }
        text_.append(text.substr(run, i - run));
        run = i + 1;
        switch (c) {
            case u'&':
                text_.append(u"&amp;");
                break;
            case u'<':
                text_.append(u"&lt;");
                break;
            case u'>':
                text_.append(u"&gt;");
                break;
            case u'"':
                text_.append(u"&quot;");
                break;
            case u'\t':
                text_.append(u"&#9;");
                break;
            case u'\n':
                text_.append(u"&#10;");
                break;
            case u'\r':
                text_.append(u"&#13;");
                break;
            default:
                com::SetErrorInfo(com::XML_E_INVALID_CHAR,
                                  u"The text contains a character that XML cannot represent.");
                return com::XML_E_INVALID_CHAR;
        }
    }
    text_.append(text.substr(run));
    return S_OK;
}

HResult XmlWriter::WriteAttribute(std::u16string_view qName, std::u16string_view value) {
    text_.push_back(u' ');
    text_.append(qName);
    text_.append(u"=\"");
    const HResult hr = Escape(value, true);
    text_.push_back(u'"');
    return hr;
}

HResult XmlWriter::putDocumentLocator(ISAXLocator*) {
    return S_OK;
}

HResult XmlWriter::startDocument() {
    ResetState();
    if (target_ == Target::kDocument) {
        EnsureLibXml();
        building_ = xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0"));
        if (!building_)
            return com::E_OUTOFMEMORY;
        current_ = reinterpret_cast<xmlNodePtr>(building_);
        return S_OK;
    }
    if (!omitDeclaration_) {
        text_.append(u"<?xml version=\"1.0\" encoding=\"");
        text_.append(encodingName_);
        text_.append(u"\"?>\n");
    }
    return S_OK;
}

HResult XmlWriter::endDocument() {
    if (Failed(failure_))
        return failure_;
    if (target_ == Target::kDocument) {
        if (!building_)
            return E_UNEXPECTED;
        document_->ReplaceTree(building_);
        building_ = nullptr;
        current_ = nullptr;
        return S_OK;
    }
    CloseStartTag();
    if (target_ == Target::kStream) {
        const HResult hr = FlushBytes(true);
        CloseEncoder();
        return hr;
    }
    return S_OK;
}

HResult XmlWriter::startPrefixMapping(std::u16string_view prefix, std::u16string_view uri) {
    pendingPrefixes_.emplace_back(prefix, uri);
    return S_OK;
}

HResult XmlWriter::endPrefixMapping(std::u16string_view) {
    return S_OK;
}

HResult XmlWriter::startElement(std::u16string_view uri, std::u16string_view localName,
                                std::u16string_view qName, ISAXAttributes* attributes) {
    if (Failed(failure_))
        return failure_;
    if (target_ == Target::kDocument)
        return BuildStartElement(uri, localName, qName, attributes);
    const std::u16string_view name = qName.empty() ? localName : qName;
    if (name.empty())
        return E_INVALIDARG;
    if (!levels_.empty()) {
        CloseStartTag();
        Level& parent = levels_.back();
        parent.hasChildren = true;
        if (indent_ && !parent.hasText)
            NewLine(levels_.size());
    } else if (indent_ && topLevelItems_ > 0) {
        NewLine(0);
    }
    text_.push_back(u'<');
    text_.append(name);
    HResult hr = S_OK;
    for (const auto& [prefix, value] : pendingPrefixes_) {
        std::u16string declaration = prefix.empty() ? u"xmlns" : u"xmlns:" + prefix;
        std::int32_t index = -1;
        if (attributes && Succeeded(attributes->getIndexFromQName(declaration, &index)))
            continue;
        hr = WriteAttribute(declaration, value);
        if (Failed(hr))
            return hr;
    }
    pendingPrefixes_.clear();
    if (attributes) {
        std::int32_t count = 0;
        hr = attributes->getLength(&count);
        if (Failed(hr))
            return hr;
        for (std::int32_t i = 0; i < count; ++i) {
            std::u16string_view local, qualified, value;
            hr = attributes->getName(i, nullptr, &local, &qualified);
            if (Failed(hr))
                return hr;
            hr = attributes->getValue(i, &value);
            if (Failed(hr))
                return hr;
            hr = WriteAttribute(qualified.empty() ? local : qualified, value);
            if (Failed(hr))
                return hr;
        }
    }
    tagOpen_ = true;
    levels_.emplace_back();
    return S_OK;
}

HResult XmlWriter::endElement(std::u16string_view, std::u16string_view localName,
                              std::u16string_view qName) {
    if (Failed(failure_))
        return failure_;
    if (target_ == Target::kDocument) {
        if (!current_ || current_ == reinterpret_cast<xmlNodePtr>(building_))
            return E_UNEXPECTED;
        current_ = current_->parent;
        return S_OK;
    }
    if (levels_.empty())
        return E_UNEXPECTED;
    const Level level = levels_.back();
    levels_.pop_back();
    if (tagOpen_) {
        text_.append(u"/>");
        tagOpen_ = false;
    } else {
        if (indent_ && level.hasChildren && !level.hasText)
            NewLine(levels_.size());
        text_.append(u"</");
        text_.append(qName.empty() ? localName : qName);
        text_.push_back(u'>');
    }
    if (levels_.empty())
        ++topLevelItems_;
    if (target_ == Target::kStream && text_.size() >= kFlushUnits)
        return FlushBytes(false);
    return S_OK;
}

HResult XmlWriter::characters(std::u16string_view text) {
    if (Failed(failure_))
        return failure_;
    if (target_ == Target::kDocument) {
        if (!building_ || current_ == reinterpret_cast<xmlNodePtr>(building_))
            return S_OK;
        const std::string utf8 = ToUtf8(text);
        xmlNodePtr node = xmlNewDocTextLen(building_, Chars(utf8), static_cast<int>(utf8.size()));
        if (!node)
            return com::E_OUTOFMEMORY;
        xmlAddChild(current_, node);
        return S_OK;
    }
    if (!levels_.empty()) {
        CloseStartTag();
        levels_.back().hasText = true;
    }
    const HResult hr = Escape(text, false);
    if (Failed(hr))
        return hr;
    if (target_ == Target::kStream && text_.size() >= kFlushUnits)
        return FlushBytes(false);
    return S_OK;
}

HResult XmlWriter::ignorableWhitespace(std::u16string_view text) {
    return characters(text);
}

HResult XmlWriter::processingInstruction(std::u16string_view target, std::u16string_view data) {
    if (Failed(failure_))
        return failure_;
    if (target.empty() || data.find(u"?>") != std::u16string_view::npos)
        return E_INVALIDARG;
    if (target_ == Target::kDocument) {
        if (!building_)
            return E_UNEXPECTED;
        const std::string t = ToUtf8(target), d = ToUtf8(data);
        xmlNodePtr node = xmlNewDocPI(building_, Chars(t), d.empty() ? nullptr : Chars(d));
        if (!node)
            return com::E_OUTOFMEMORY;
        xmlAddChild(current_, node);
        return S_OK;
    }
    if (!levels_.empty()) {
        CloseStartTag();
        Level& parent = levels_.back();
        parent.hasChildren = true;
        if (indent_ && !parent.hasText)
            NewLine(levels_.size());
    } else if (indent_ && topLevelItems_ > 0) {
        NewLine(0);
    }
    text_.append(u"<?");
    text_.append(target);
    if (!data.empty()) {
        text_.push_back(u' ');
        text_.append(data);
    }
    text_.append(u"?>");
    if (levels_.empty())
        ++topLevelItems_;
    return S_OK;
}

HResult XmlWriter::skippedEntity(std::u16string_view) {
    return S_OK;
}

HResult XmlWriter::BuildStartElement(std::u16string_view uri, std::u16string_view localName,
                                     std::u16string_view qName, ISAXAttributes* attributes) {
    if (!building_ || !current_)
        return E_UNEXPECTED;
    const std::u16string_view name = qName.empty() ? localName : qName;
    if (name.empty())
        return E_INVALIDARG;
    if (current_ == reinterpret_cast<xmlNodePtr>(building_) && xmlDocGetRootElement(building_)) {
        return E_UNEXPECTED;  // a second document element
    }
    const std::string local = ToUtf8(localName.empty() ? LocalOf(name) : localName);
    xmlNodePtr node = xmlNewDocNode(building_, nullptr, Chars(local), nullptr);
    if (!node)
        return com::E_OUTOFMEMORY;
    xmlAddChild(current_, node);
    current_ = node;

    auto declare = [&](std::u16string_view prefix, std::u16string_view href) {
        const std::string p = ToUtf8(prefix), h = ToUtf8(href);
        xmlNewNs(node, Chars(h), prefix.empty() ? nullptr : Chars(p));
    };
    for (const auto& [prefix, href] : pendingPrefixes_)
        declare(prefix, href);
    pendingPrefixes_.clear();

    std::int32_t count = 0;
    if (attributes && Failed(attributes->getLength(&count)))
        return E_INVALIDARG;
    for (std::int32_t i = 0; i < count; ++i) {
        std::u16string_view q, v;
        if (Failed(attributes->getQName(i, &q)) || Failed(attributes->getValue(i, &v))) {
            return E_INVALIDARG;
        }
        if (IsDeclaration(q))
            declare(q.size() > 6 ? q.substr(6) : std::u16string_view(), v);
    }

    auto resolve = [&](std::u16string_view prefix, std::u16string_view href) -> xmlNsPtr {
        const std::string p = ToUtf8(prefix);
        xmlNsPtr ns = xmlSearchNs(building_, node, prefix.empty() ? nullptr : Chars(p));
        if (!ns && !href.empty()) {
            const std::string h = ToUtf8(href);
            ns = xmlNewNs(node, Chars(h), prefix.empty() ? nullptr : Chars(p));
        }
        return ns;
    };
    xmlSetNs(node, resolve(PrefixOf(name), uri));

    for (std::int32_t i = 0; i < count; ++i) {
        std::u16string_view u, l, q, v;
        attributes->getName(i, &u, &l, &q);
        attributes->getValue(i, &v);
        if (q.empty())
            q = l;
        if (IsDeclaration(q))
            continue;
        const std::string value = ToUtf8(v);
        const std::u16string_view prefix = PrefixOf(q);
        if (prefix.empty()) {
            const std::string attrName = ToUtf8(q);
            xmlNewProp(node, Chars(attrName), Chars(value));
        } else {
            const std::string attrLocal = ToUtf8(l.empty() ? LocalOf(q) : l);
            xmlNewNsProp(node, resolve(prefix, u), Chars(attrLocal), Chars(value));
        }
    }
    return S_OK;
}

}  // namespace platform::xml
