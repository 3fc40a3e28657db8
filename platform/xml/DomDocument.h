// The free-threaded DOM document component on libxml2's tree, with XPath 1.0
// selection.
//
// Threading: one reader/writer lock per document. Queries (selection, text,
// names, attributes, serialisation, SAX walks) share it, so any number of
// threads may query one document at once; each selection runs in its own
// xmlXPathContext, with the namespace bindings copied under the lock.
// Changes (loading, properties, cloning, appending, attributes) take it
// exclusively.
//
// Node objects hold a reference to their document. Trees replaced by a later
// load stay allocated while node objects exist (they are freed with the
// document), so a node object never dangles. Clones that are never appended
// are freed with the document.
#pragma once

#include <libxml/tree.h>

#include <atomic>
#include <shared_mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/com/ComObject.h"
#include "platform/xml/DomInterfaces.h"

namespace platform::xml {

class DomDocument final : public com::ComObject<IXMLDOMDocument2> {
public:
    static HResult Create(const Guid& iid, void** object);
    // The document behind an interface of this component, or null.
    static DomDocument* From(IUnknown* object);

    DomDocument();

    // Tree access for the reader (walks) and the writer (builds).
    std::shared_lock<std::shared_mutex> ReadLock() const { return std::shared_lock(mutex_); }
    xmlDocPtr Tree() const { return doc_; }
    // Installs `tree` (ownership passes) as the document's contents.
    void ReplaceTree(xmlDocPtr tree);

    // IXMLDOMNode, on the document node.
    HResult getNodeType(DomNodeType* type) override;
    HResult getNodeName(std::u16string* name) override;
    HResult getText(std::u16string* text) override;
    HResult getXml(std::u16string* xml) override;
    HResult getOwnerDocument(ComPtr<IXMLDOMDocument>& document) override;
    HResult getParentNode(ComPtr<IXMLDOMNode>& parent) override;
    HResult selectNodes(std::u16string_view query, ComPtr<IXMLDOMNodeList>& nodes) override;
    HResult selectSingleNode(std::u16string_view query, ComPtr<IXMLDOMNode>& node) override;
    HResult cloneNode(bool deep, ComPtr<IXMLDOMNode>& clone) override;
    HResult appendChild(IXMLDOMNode* child, ComPtr<IXMLDOMNode>* appended) override;
    // IXMLDOMDocument
    HResult loadXML(std::u16string_view text, bool* successful) override;
    HResult getParseError(DomParseError* error) override;
    HResult getDocumentElement(ComPtr<IXMLDOMElement>& element) override;
    HResult createElement(std::u16string_view tagName, ComPtr<IXMLDOMElement>& element) override;
    // IXMLDOMDocument2
    HResult setProperty(std::u16string_view name, const DomPropertyValue& value) override;
    HResult getProperty(std::u16string_view name, DomPropertyValue* value) override;

    // Node operations behind the node objects (`node` belongs to this document).
    HResult NodeType(xmlNodePtr node, DomNodeType* type);
    HResult NodeName(xmlNodePtr node, std::u16string* name);
    HResult NodeText(xmlNodePtr node, std::u16string* text);
    HResult NodeXml(xmlNodePtr node, std::u16string* xml);
    HResult NodeParent(xmlNodePtr node, ComPtr<IXMLDOMNode>& parent);
    HResult SelectNodes(xmlNodePtr node, std::u16string_view query, ComPtr<IXMLDOMNodeList>& nodes);
    HResult SelectSingleNode(xmlNodePtr node, std::u16string_view query,
                             ComPtr<IXMLDOMNode>& result);
    HResult CloneNode(xmlNodePtr node, bool deep, ComPtr<IXMLDOMNode>& clone);
    HResult AppendChild(xmlNodePtr parent, IXMLDOMNode* child, ComPtr<IXMLDOMNode>* appended);
    HResult GetAttribute(xmlNodePtr node, std::u16string_view name,
                         std::optional<std::u16string>* value);
    HResult SetAttribute(xmlNodePtr node, std::u16string_view name, std::u16string_view value);

    // A node object for `node` (the document itself for the document node).
    ComPtr<IXMLDOMNode> Wrap(xmlNodePtr node);
    void NodeCreated() { liveNodes_.fetch_add(1, std::memory_order_relaxed); }
    void NodeDestroyed() { liveNodes_.fetch_sub(1, std::memory_order_relaxed); }

private:
    ~DomDocument() override;

    // Runs the query under the caller's lock; fills `out` in document order.
    HResult Evaluate(xmlNodePtr node, std::u16string_view query, std::vector<xmlNodePtr>& out);
    void Retire(xmlDocPtr tree);

    mutable std::shared_mutex mutex_;
    xmlDocPtr doc_ = nullptr;
    std::vector<xmlDocPtr> retired_;
    std::vector<xmlNodePtr> floating_;
    std::atomic<int> liveNodes_{0};
    std::vector<std::pair<std::string, std::string>> namespaces_;  // prefix, URI (UTF-8)
    std::u16string selectionNamespaces_;
    std::u16string selectionLanguage_ = u"XPath";
    bool newParser_ = false;
    DomParseError parseError_;
};

}  // namespace platform::xml
