#include "xml/model/XmlAnyElement.h"

#include "platform/com/ComError.h"
#include "xml/io/ParserFactory.h"
#include "xml/model/XmlNamespace.h"

using platform::com::ComError;
using platform::com::HResult;

COREKIT_DESCRIBE_XML_CLASS(XmlAnyElement, XmlNamespace::Any(), u"", /*passThrough*/ false) {}

namespace {

// Throws the COM error of a failed call to the named interface.
HResult Check(HResult code, const char16_t* interfaceName) {
    if (platform::com::Failed(code)) {
        const ComError plain(code);
        throw ComError(code, std::u16string(interfaceName) + u": " + plain.ErrorMessage());
    }
    return code;
}

}  // namespace

XmlAnyElement::~XmlAnyElement() {
    capturedDocument_ = nullptr;
    captureHandler_ = nullptr;
}

void XmlAnyElement::SetUpCapture() {
    platform::com::ComPtr<platform::xml::IMXWriter> writer = CreateXmlWriter();
    platform::com::ComPtr<platform::xml::ISAXContentHandler> handler;
    Check(writer.As(handler), u"ISAXContentHandler");
    platform::com::ComPtr<platform::xml::IXMLDOMDocument> document = CreateDomDocument(true);
    platform::com::ComPtr<platform::xml::IXMLDOMDocument2> document2;
    Check(document.As(document2), u"IXMLDOMDocument2");
    Check(writer->putOutput(document2.Get()), u"IMXWriter");
    captureHandler_ = handler;
    capturedDocument_ = document2;
    Check(captureHandler_->startDocument(), u"ISAXContentHandler");
}

platform::xml::ISAXContentHandler& XmlAnyElement::Handler() const {
    if (!captureHandler_)
        throw ComError(platform::com::E_POINTER);
    return *captureHandler_;
}

HResult XmlAnyElement::StartElement(std::u16string_view namespaceUri, std::u16string_view localName,
                                    std::u16string_view qualifiedName,
                                    platform::xml::ISAXAttributes* attributes) {
    ++depth_;
    if (!captureHandler_)
        SetUpCapture();
    return Check(Handler().startElement(namespaceUri, localName, qualifiedName, attributes),
                 u"ISAXContentHandler");
}

HResult XmlAnyElement::EndElement(std::u16string_view namespaceUri, std::u16string_view localName,
                                  std::u16string_view qualifiedName) {
    --depth_;
    const HResult result =
        Check(Handler().endElement(namespaceUri, localName, qualifiedName), u"ISAXContentHandler");
    if (depth_ == 0)
        return Check(Handler().endDocument(), u"ISAXContentHandler");
    return result;
}

HResult XmlAnyElement::Characters(std::u16string_view text) {
    return Check(Handler().characters(text), u"ISAXContentHandler");
}

HResult XmlAnyElement::IgnorableWhitespace(std::u16string_view text) {
    return Check(Handler().ignorableWhitespace(text), u"ISAXContentHandler");
}

HResult XmlAnyElement::ProcessingInstruction(std::u16string_view target, std::u16string_view data) {
    return Check(Handler().processingInstruction(target, data), u"ISAXContentHandler");
}

HResult XmlAnyElement::SkippedEntity(std::u16string_view name) {
    return Check(Handler().skippedEntity(name), u"ISAXContentHandler");
}

HResult XmlAnyElement::StartPrefixMapping(std::u16string_view prefix, std::u16string_view uri) {
    return Check(Handler().startPrefixMapping(prefix, uri), u"ISAXContentHandler");
}

HResult XmlAnyElement::EndPrefixMapping(std::u16string_view prefix) {
    return Check(Handler().endPrefixMapping(prefix), u"ISAXContentHandler");
}
