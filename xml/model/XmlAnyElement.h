// XmlAnyElement: the element object that captures an element no class
// describes, with everything inside it, into a DOM document. The events of
// the element are forwarded to a private XML writer whose output is that
// document; when the element's end tag arrives the document is complete.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/com/ComPtr.h"
#include "platform/xml/DomInterfaces.h"
#include "platform/xml/SaxInterfaces.h"
#include "xml/model/XmlClass.h"

class XmlAnyElement : public XmlObject {
    COREKIT_XML_CLASS(XmlAnyElement, XmlObject)

public:
    XmlAnyElement() = default;
    ~XmlAnyElement() override;

    // Each forwards the event to the capture and returns the result code of
    // the forwarded call; a failing call raises the COM error naming
    // ISAXContentHandler. The first StartElement sets up the capture.
    platform::com::HResult StartElement(std::u16string_view namespaceUri,
                                        std::u16string_view localName,
                                        std::u16string_view qualifiedName,
                                        platform::xml::ISAXAttributes* attributes);
    platform::com::HResult EndElement(std::u16string_view namespaceUri,
                                      std::u16string_view localName,
                                      std::u16string_view qualifiedName);
    platform::com::HResult Characters(std::u16string_view text);
    platform::com::HResult IgnorableWhitespace(std::u16string_view text);
    platform::com::HResult ProcessingInstruction(std::u16string_view target,
                                                 std::u16string_view data);
    platform::com::HResult SkippedEntity(std::u16string_view name);
    platform::com::HResult StartPrefixMapping(std::u16string_view prefix, std::u16string_view uri);
    platform::com::HResult EndPrefixMapping(std::u16string_view prefix);

    // The captured element as a document; none before the first event.
    platform::xml::IXMLDOMDocument2* GetCapturedDocument() const noexcept {
        return capturedDocument_.Get();
    }
    // Start tags captured and not yet closed.
    std::int32_t GetDepth() const noexcept { return depth_; }

private:
    void SetUpCapture();
    platform::xml::ISAXContentHandler& Handler() const;

    platform::com::ComPtr<platform::xml::ISAXContentHandler> captureHandler_;
    platform::com::ComPtr<platform::xml::IXMLDOMDocument2> capturedDocument_;
    std::int32_t depth_ = 0;
};
