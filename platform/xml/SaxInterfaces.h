// The SAX interfaces of the parser components: the reader, the callbacks it
// drives, attribute lists, and the XML writer that consumes the same events.
//
// Text crosses these interfaces as UTF-16 views. A view handed to a callback
// (names, values, character data) is valid only for the duration of that
// call; a view returned by an attribute list is valid until the list changes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/com/ComPtr.h"
#include "platform/com/Unknown.h"

namespace platform::xml {

using com::ComPtr;
using com::Guid;
using com::HResult;
using com::IUnknown;
using com::MakeGuid;

// The position of the event being reported: 1-based line and column.
class ISAXLocator : public IUnknown {
public:
    using Base = IUnknown;
    static constexpr Guid kIid = MakeGuid("{D35F7072-75F5-4490-8FF2-97ABEE01680D}");

    virtual HResult getColumnNumber(std::int32_t* column) = 0;
    virtual HResult getLineNumber(std::int32_t* line) = 0;
    virtual HResult getPublicId(std::u16string* id) = 0;
    virtual HResult getSystemId(std::u16string* id) = 0;

protected:
    ~ISAXLocator() = default;
};

// A read-only attribute list. Indexes run from 0 to getLength() - 1; an
// index outside gives E_INVALIDARG; a name lookup that finds nothing gives
// E_INVALIDARG and index -1.
class ISAXAttributes : public IUnknown {
public:
    using Base = IUnknown;
    static constexpr Guid kIid = MakeGuid("{EB2E1AC7-43B4-498D-8A5A-495DA27B0383}");

    virtual HResult getLength(std::int32_t* length) = 0;
    virtual HResult getURI(std::int32_t index, std::u16string_view* uri) = 0;
    virtual HResult getLocalName(std::int32_t index, std::u16string_view* localName) = 0;
    virtual HResult getQName(std::int32_t index, std::u16string_view* qName) = 0;
    // Namespace URI, local name and qualified name at once (any may be null).
    virtual HResult getName(std::int32_t index, std::u16string_view* uri,
                            std::u16string_view* localName, std::u16string_view* qName) = 0;
    virtual HResult getIndexFromName(std::u16string_view uri, std::u16string_view localName,
                                     std::int32_t* index) = 0;
    virtual HResult getIndexFromQName(std::u16string_view qName, std::int32_t* index) = 0;
    virtual HResult getType(std::int32_t index, std::u16string_view* type) = 0;
    virtual HResult getValue(std::int32_t index, std::u16string_view* value) = 0;
    virtual HResult getValueFromName(std::u16string_view uri, std::u16string_view localName,
                                     std::u16string_view* value) = 0;
    virtual HResult getValueFromQName(std::u16string_view qName, std::u16string_view* value) = 0;

protected:
    ~ISAXAttributes() = default;
};

// Document events. Returning a failure code from any callback stops the
// parse; the reader's parse call then returns that code.
class ISAXContentHandler : public IUnknown {
public:
    using Base = IUnknown;
    static constexpr Guid kIid = MakeGuid("{1545CDFA-9E4E-4497-A8A4-2BF7D0112C44}");

    virtual HResult putDocumentLocator(ISAXLocator* locator) = 0;
    virtual HResult startDocument() = 0;
    virtual HResult endDocument() = 0;
    virtual HResult startPrefixMapping(std::u16string_view prefix, std::u16string_view uri) = 0;
    virtual HResult endPrefixMapping(std::u16string_view prefix) = 0;
    virtual HResult startElement(std::u16string_view uri, std::u16string_view localName,
                                 std::u16string_view qName, ISAXAttributes* attributes) = 0;
    virtual HResult endElement(std::u16string_view uri, std::u16string_view localName,
                               std::u16string_view qName) = 0;
    virtual HResult characters(std::u16string_view text) = 0;
    virtual HResult ignorableWhitespace(std::u16string_view text) = 0;
    virtual HResult processingInstruction(std::u16string_view target, std::u16string_view data) = 0;
    virtual HResult skippedEntity(std::u16string_view name) = 0;

protected:
    ~ISAXContentHandler() = default;
};

// Diagnostics of the reader. `code` is the result the parse will end with.
class ISAXErrorHandler : public IUnknown {
public:
    using Base = IUnknown;
    static constexpr Guid kIid = MakeGuid("{A60511C4-CCF5-479E-98A3-DC8DC545B7D0}");

    virtual HResult error(ISAXLocator* locator, std::u16string_view message, HResult code) = 0;
    virtual HResult fatalError(ISAXLocator* locator, std::u16string_view message, HResult code) = 0;
    virtual HResult ignorableWarning(ISAXLocator* locator, std::u16string_view message,
                                     HResult code) = 0;

protected:
    ~ISAXErrorHandler() = default;
};

// Feature and property names the reader knows.
inline constexpr std::u16string_view kFeatureNamespaces = u"http://xml.org/sax/features/namespaces";
inline constexpr std::u16string_view kFeatureNamespacePrefixes =
    u"http://xml.org/sax/features/namespace-prefixes";
inline constexpr std::u16string_view kPropertyCharset = u"charset";

// The SAX reader. Features: kFeatureNamespaces (always true) and
// kFeatureNamespacePrefixes (default false; also accepted by the short names
// "namespaces" and "namespace-prefixes"). Property: kPropertyCharset, an
// encoding name that overrides the declared encoding of byte input (streams
// and files); an empty value removes the override.
class ISAXXMLReader : public IUnknown {
public:
    using Base = IUnknown;
    static constexpr Guid kIid = MakeGuid("{EC7CD642-C0B6-4B26-8C69-D315F50040C1}");

    virtual HResult getFeature(std::u16string_view name, bool* value) = 0;
    virtual HResult putFeature(std::u16string_view name, bool value) = 0;
    virtual HResult getProperty(std::u16string_view name, std::u16string* value) = 0;
    virtual HResult putProperty(std::u16string_view name, std::u16string_view value) = 0;
    virtual HResult getContentHandler(ComPtr<ISAXContentHandler>& handler) = 0;
    virtual HResult putContentHandler(ISAXContentHandler* handler) = 0;
    virtual HResult getErrorHandler(ComPtr<ISAXErrorHandler>& handler) = 0;
    virtual HResult putErrorHandler(ISAXErrorHandler* handler) = 0;
    // Parses UTF-16 text; an encoding declared in it is ignored.
    virtual HResult parse(std::u16string_view text) = 0;
    // Parses an IStream (read in chunks from its current position) or walks
    // an IXMLDOMDocument as events. Other objects give E_INVALIDARG.
    virtual HResult parse(IUnknown* source) = 0;
    // Parses a file given by path or by a "file:" URL.
    virtual HResult parseURL(std::u16string_view url) = 0;

protected:
    ~ISAXXMLReader() = default;
};

// A mutable attribute list; its objects also answer ISAXAttributes.
class IMXAttributes : public IUnknown {
public:
    using Base = IUnknown;
    static constexpr Guid kIid = MakeGuid("{D58BC9AD-EB16-4D01-A17D-E12D4F1F14B0}");

    virtual HResult addAttribute(std::u16string_view uri, std::u16string_view localName,
                                 std::u16string_view qName, std::u16string_view type,
                                 std::u16string_view value) = 0;
    virtual HResult clear() = 0;
    virtual HResult removeAttribute(std::int32_t index) = 0;
    virtual HResult setValue(std::int32_t index, std::u16string_view value) = 0;

protected:
    ~IMXAttributes() = default;
};

// The XML writer; its objects also answer ISAXContentHandler, whose events
// produce the markup.
//
// Output: null (the default) collects UTF-16 text that getOutput returns; an
// IStream receives the bytes in the chosen encoding; an IXMLDOMDocument gets
// the tree built into it (at endDocument). Encoding default "UTF-8" (the
// name written into the declaration; for text output only the declaration
// shows it). Indentation, the declaration and the byte-order mark (written
// for UTF-16 byte output only) are options.
class IMXWriter : public IUnknown {
public:
    using Base = IUnknown;
    static constexpr Guid kIid = MakeGuid("{E0AE883B-9EC8-489D-A669-CECD657641D5}");

    virtual HResult putOutput(IUnknown* destination) = 0;
    // The text produced so far; E_UNEXPECTED when the output is not text.
    virtual HResult getOutput(std::u16string* text) = 0;
    virtual HResult putEncoding(std::u16string_view encoding) = 0;
    virtual HResult getEncoding(std::u16string* encoding) = 0;
    virtual HResult putIndent(bool indent) = 0;
    virtual HResult getIndent(bool* indent) = 0;
    virtual HResult putOmitXMLDeclaration(bool omit) = 0;
    virtual HResult getOmitXMLDeclaration(bool* omit) = 0;
    virtual HResult putByteOrderMark(bool write) = 0;
    virtual HResult getByteOrderMark(bool* write) = 0;
    // Passes buffered bytes on to the output stream.
    virtual HResult flush() = 0;

protected:
    ~IMXWriter() = default;
};

}  // namespace platform::xml
