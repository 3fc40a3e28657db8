// The DOM interfaces of the document component: nodes, elements, node lists
// and the document, with XPath 1.0 selection.
//
// Every object handed out holds a reference to its document, so nodes stay
// valid as long as any of them is alive. The document is free-threaded:
// queries may run from several threads at once; changes are serialised.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "platform/com/ComPtr.h"
#include "platform/com/Unknown.h"

namespace platform::xml {

using com::ComPtr;
using com::Guid;
using com::HResult;
using com::IUnknown;
using com::MakeGuid;

enum class DomNodeType {
    kElement = 1,
    kAttribute = 2,
    kText = 3,
    kCData = 4,
    kEntityReference = 5,
    kEntity = 6,
    kProcessingInstruction = 7,
    kComment = 8,
    kDocument = 9,
    kDocumentType = 10,
    kDocumentFragment = 11,
    kNotation = 12,
};

class IXMLDOMDocument;
class IXMLDOMNodeList;

class IXMLDOMNode : public IUnknown {
public:
    using Base = IUnknown;
    static constexpr Guid kIid = MakeGuid("{7B5B809A-F2C0-45EC-AE4D-4129C6194799}");

    virtual HResult getNodeType(DomNodeType* type) = 0;
    // The name as written: "p:local" for a prefixed element, "#text", ...
    virtual HResult getNodeName(std::u16string* name) = 0;
    // The concatenated character data of the node and its descendants.
    virtual HResult getText(std::u16string* text) = 0;
    // The node and its descendants as markup.
    virtual HResult getXml(std::u16string* xml) = 0;
    // The document of the node (for a document: S_FALSE and null).
    virtual HResult getOwnerDocument(ComPtr<IXMLDOMDocument>& document) = 0;
    virtual HResult getParentNode(ComPtr<IXMLDOMNode>& parent) = 0;
    // XPath 1.0 relative to this node, with the document's selection
    // namespaces. An invalid expression gives XML_E_XPATH (description in
    // the thread's error info); an expression that is not a node set gives
    // E_INVALIDARG.
    virtual HResult selectNodes(std::u16string_view query, ComPtr<IXMLDOMNodeList>& nodes) = 0;
    // The first match in document order; S_FALSE and null when none.
    virtual HResult selectSingleNode(std::u16string_view query, ComPtr<IXMLDOMNode>& node) = 0;
    // A copy in the same document, not yet attached anywhere.
    virtual HResult cloneNode(bool deep, ComPtr<IXMLDOMNode>& clone) = 0;
    // Appends `child` as the last child. A node of the same document is
    // moved; a node of another document is copied into this one. *appended
    // (optional) receives the node now in the tree.
    virtual HResult appendChild(IXMLDOMNode* child, ComPtr<IXMLDOMNode>* appended) = 0;

protected:
    ~IXMLDOMNode() = default;
};

class IXMLDOMElement : public IXMLDOMNode {
public:
    using Base = IXMLDOMNode;
    static constexpr Guid kIid = MakeGuid("{0EE118D2-EF90-4770-8DD3-D05DA6378D14}");

    // The qualified name as written in the document.
    virtual HResult getTagName(std::u16string* name) = 0;
    // The value of the attribute with that qualified name; S_FALSE and no
    // value when the element has none.
    virtual HResult getAttribute(std::u16string_view name,
                                 std::optional<std::u16string>* value) = 0;
    virtual HResult setAttribute(std::u16string_view name, std::u16string_view value) = 0;

protected:
    ~IXMLDOMElement() = default;
};

// A snapshot of selected nodes in document order.
class IXMLDOMNodeList : public IUnknown {
public:
    using Base = IUnknown;
    static constexpr Guid kIid = MakeGuid("{56F61699-973D-456D-8A9A-6F0CE844E4D5}");

    virtual HResult getLength(std::int32_t* length) = 0;
    // S_FALSE and null outside 0 .. length - 1.
    virtual HResult getItem(std::int32_t index, ComPtr<IXMLDOMNode>& node) = 0;
    // The node after the last one returned; S_FALSE and null at the end.
    virtual HResult nextNode(ComPtr<IXMLDOMNode>& node) = 0;
    virtual HResult reset() = 0;

protected:
    ~IXMLDOMNodeList() = default;
};

struct DomParseError {
    HResult code = com::S_OK;
    std::u16string reason;  // empty after a successful load
    std::int32_t line = 0;
    std::int32_t column = 0;
};

class IXMLDOMDocument : public IXMLDOMNode {
public:
    using Base = IXMLDOMNode;
    static constexpr Guid kIid = MakeGuid("{A7031021-5BE7-4DBE-9F71-04BCEF4E7224}");

    // Replaces the document's contents with the parsed text (its declared
    // encoding is ignored). S_OK and *successful true on success; S_FALSE
    // and false when the text is not well-formed (see getParseError), the
    // document then being empty.
    virtual HResult loadXML(std::u16string_view text, bool* successful) = 0;
    virtual HResult getParseError(DomParseError* error) = 0;
    // S_FALSE and null for an empty document.
    virtual HResult getDocumentElement(ComPtr<IXMLDOMElement>& element) = 0;
    virtual HResult createElement(std::u16string_view tagName, ComPtr<IXMLDOMElement>& element) = 0;

protected:
    ~IXMLDOMDocument() = default;
};

using DomPropertyValue = std::variant<bool, std::u16string>;

// Properties: "SelectionLanguage" (text, only "XPath"), "SelectionNamespaces"
// (text of xmlns:prefix='uri' declarations separated by white space),
// "NewParser" (bool, remembered; the parser is the same either way).
class IXMLDOMDocument2 : public IXMLDOMDocument {
public:
    using Base = IXMLDOMDocument;
    static constexpr Guid kIid = MakeGuid("{2656C87F-633A-44C7-A1F1-AF9E02021E2E}");

    virtual HResult setProperty(std::u16string_view name, const DomPropertyValue& value) = 0;
    virtual HResult getProperty(std::u16string_view name, DomPropertyValue* value) = 0;

protected:
    ~IXMLDOMDocument2() = default;
};

}  // namespace platform::xml
