// The XML writer component: SAX events in, markup out.
//
// Text output is UTF-16 (getOutput). Byte output (a stream) uses the
// encoding property: UTF-8 and UTF-16 (LE, BE) are encoded directly, other
// names through libxml2's converters, with characters the encoding cannot
// represent written as character references. The byte-order mark option
// applies to UTF-16 byte output; UTF-8 and single-byte output never carry
// one. Bytes reach the stream in blocks while writing and at endDocument.
//
// Markup: elements without content are written as <a/>; text escapes & < >
// and carriage returns; attribute values also escape " and tab/line breaks.
// Characters that XML 1.0 cannot carry (C0 controls other than tab, line
// feed and carriage return; U+FFFE, U+FFFF) fail the event with
// XML_E_INVALID_CHAR. Indentation puts each element on its own line,
// indented by two spaces per level, except inside elements that hold text.
// The declaration is <?xml version="1.0" encoding="NAME"?> and a line feed.
//
// Prefix mappings reported by startPrefixMapping are written as xmlns
// attributes of the next element (unless its attribute list declares them).
#pragma once

#include <libxml/encoding.h>
#include <libxml/tree.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/com/ComObject.h"
#include "platform/com/Stream.h"
#include "platform/xml/SaxInterfaces.h"

namespace platform::xml {

class DomDocument;

class XmlWriter final : public com::ComObject<IMXWriter, ISAXContentHandler> {
public:
    static HResult Create(const Guid& iid, void** object);

    // IMXWriter
    HResult putOutput(IUnknown* destination) override;
    HResult getOutput(std::u16string* text) override;
    HResult putEncoding(std::u16string_view encoding) override;
    HResult getEncoding(std::u16string* encoding) override;
    HResult putIndent(bool indent) override;
    HResult getIndent(bool* indent) override;
    HResult putOmitXMLDeclaration(bool omit) override;
    HResult getOmitXMLDeclaration(bool* omit) override;
    HResult putByteOrderMark(bool write) override;
    HResult getByteOrderMark(bool* write) override;
    HResult flush() override;

    // ISAXContentHandler
    HResult putDocumentLocator(ISAXLocator* locator) override;
    HResult startDocument() override;
    HResult endDocument() override;
    HResult startPrefixMapping(std::u16string_view prefix, std::u16string_view uri) override;
    HResult endPrefixMapping(std::u16string_view prefix) override;
    HResult startElement(std::u16string_view uri, std::u16string_view localName,
                         std::u16string_view qName, ISAXAttributes* attributes) override;
    HResult endElement(std::u16string_view uri, std::u16string_view localName,
                       std::u16string_view qName) override;
    HResult characters(std::u16string_view text) override;
    HResult ignorableWhitespace(std::u16string_view text) override;
    HResult processingInstruction(std::u16string_view target, std::u16string_view data) override;
    HResult skippedEntity(std::u16string_view name) override;

private:
    enum class Target { kText, kStream, kDocument };
    enum class Encoding { kUtf8, kUtf16Le, kUtf16Be, kOther };
    struct Level {
        bool hasChildren = false;
        bool hasText = false;
    };

    ~XmlWriter() override;

    void ResetState();
    void CloseStartTag();
    void NewLine(std::size_t depth);
    HResult Escape(std::u16string_view text, bool attribute);
    HResult WriteAttribute(std::u16string_view qName, std::u16string_view value);
    HResult FlushBytes(bool all);
    void CloseEncoder();

    HResult BuildStartElement(std::u16string_view uri, std::u16string_view localName,
                              std::u16string_view qName, ISAXAttributes* attributes);

    // Options.
    std::u16string encodingName_ = u"UTF-8";
    Encoding encoding_ = Encoding::kUtf8;
    bool indent_ = false;
    bool omitDeclaration_ = false;
    bool byteOrderMark_ = true;

    // Destination.
    Target target_ = Target::kText;
    ComPtr<com::IStream> stream_;
    ComPtr<IUnknown> documentHolder_;
    DomDocument* document_ = nullptr;

    // Writing state.
    std::u16string text_;  // the text output, or bytes not yet encoded
    std::string bytes_;
    bool bomWritten_ = false;
    bool tagOpen_ = false;
    std::size_t topLevelItems_ = 0;
    std::vector<Level> levels_;
    std::vector<std::pair<std::u16string, std::u16string>> pendingPrefixes_;
    HResult failure_ = com::S_OK;
    xmlCharEncodingHandlerPtr encoder_ = nullptr;

    // Tree building (document output).
    xmlDocPtr building_ = nullptr;
    xmlNodePtr current_ = nullptr;
};

}  // namespace platform::xml
