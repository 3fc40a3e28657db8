#include "platform/xml/DomDocument.h"

#include <libxml/parserInternals.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

#include <mutex>
#include <new>

#include "platform/com/ComError.h"
#include "platform/xml/LibXml.h"

namespace platform::xml {

using com::E_INVALIDARG;
using com::E_OUTOFMEMORY;
using com::E_POINTER;
using com::Failed;
using com::S_FALSE;
using com::S_OK;

namespace {

// A node of a document (not the document node itself).
class DomNode final : public com::ComObject<IXMLDOMElement> {
public:
    DomNode(DomDocument* owner, xmlNodePtr node) : owner_(owner), node_(node) {
        owner->NodeCreated();
    }

    xmlNodePtr Node() const { return node_; }
    DomDocument* Owner() const { return owner_.Get(); }

    HResult getNodeType(DomNodeType* type) override { return owner_->NodeType(node_, type); }
    HResult getNodeName(std::u16string* name) override { return owner_->NodeName(node_, name); }
    HResult getText(std::u16string* text) override { return owner_->NodeText(node_, text); }
    HResult getXml(std::u16string* xml) override { return owner_->NodeXml(node_, xml); }
    HResult getOwnerDocument(ComPtr<IXMLDOMDocument>& document) override {
        return ComPtr<DomDocument>(owner_).As(document);
    }
    HResult getParentNode(ComPtr<IXMLDOMNode>& parent) override {
        return owner_->NodeParent(node_, parent);
    }
    HResult selectNodes(std::u16string_view query, ComPtr<IXMLDOMNodeList>& nodes) override {
        return owner_->SelectNodes(node_, query, nodes);
    }
    HResult selectSingleNode(std::u16string_view query, ComPtr<IXMLDOMNode>& node) override {
        return owner_->SelectSingleNode(node_, query, node);
    }
    HResult cloneNode(bool deep, ComPtr<IXMLDOMNode>& clone) override {
        return owner_->CloneNode(node_, deep, clone);
    }
    HResult appendChild(IXMLDOMNode* child, ComPtr<IXMLDOMNode>* appended) override {
        return owner_->AppendChild(node_, child, appended);
    }
    HResult getTagName(std::u16string* name) override { return owner_->NodeName(node_, name); }
    HResult getAttribute(std::u16string_view name, std::optional<std::u16string>* value) override {
        return owner_->GetAttribute(node_, name, value);
    }
    HResult setAttribute(std::u16string_view name, std::u16string_view value) override {
        return owner_->SetAttribute(node_, name, value);
    }

private:
    ~DomNode() override { owner_->NodeDestroyed(); }

    bool Answers(const Guid& iid) const override {
        return iid != IXMLDOMElement::kIid || node_->type == XML_ELEMENT_NODE;
    }

    ComPtr<DomDocument> owner_;
    xmlNodePtr node_;
};

class DomNodeList final : public com::ComObject<IXMLDOMNodeList> {
public:
    DomNodeList(DomDocument* owner, std::vector<xmlNodePtr> nodes)
        : owner_(owner), nodes_(std::move(nodes)) {}

    HResult getLength(std::int32_t* length) override {
        if (!length)
            return E_POINTER;
        *length = static_cast<std::int32_t>(nodes_.size());
        return S_OK;
    }
    HResult getItem(std::int32_t index, ComPtr<IXMLDOMNode>& node) override {
        node.Reset();
        if (index < 0 || static_cast<std::size_t>(index) >= nodes_.size())
            return S_FALSE;
        node = owner_->Wrap(nodes_[static_cast<std::size_t>(index)]);
        return S_OK;
    }
    HResult nextNode(ComPtr<IXMLDOMNode>& node) override {
        std::size_t index;
        {
            std::lock_guard lock(mutex_);
            index = cursor_;
            if (cursor_ < nodes_.size())
                ++cursor_;
        }
        node.Reset();
        if (index >= nodes_.size())
            return S_FALSE;
        node = owner_->Wrap(nodes_[index]);
        return S_OK;
    }
    HResult reset() override {
        std::lock_guard lock(mutex_);
        cursor_ = 0;
        return S_OK;
    }

private:
    ComPtr<DomDocument> owner_;
    std::vector<xmlNodePtr> nodes_;
    std::mutex mutex_;
    std::size_t cursor_ = 0;
};

// The first error that makes a load fail, captured on the loading thread.
struct LoadErrors {
    bool failed = false;
    std::u16string message;
    int line = 0;
    int column = 0;
    HResult code = S_OK;
};

thread_local LoadErrors* t_load_errors = nullptr;

void CaptureLoadError(void*, xmlErrorPtr error) {
    LoadErrors* errors = t_load_errors;
    if (!errors || !error || errors->failed)
        return;
    if (error->level == XML_ERR_FATAL ||
        (error->level == XML_ERR_ERROR && error->domain == XML_FROM_NAMESPACE)) {
        errors->failed = true;
        errors->message = ErrorText(error);
        errors->line = error->line;
        errors->column = error->int2;
        errors->code = ResultOfError(error);
    }
}

void IgnoreXPathError(void*, xmlErrorPtr) {}

std::u16string_view XPathProblem(int code) {
    switch (code) {
        case XML_XPATH_NUMBER_ERROR:
            return u"invalid number";
        case XML_XPATH_UNFINISHED_LITERAL_ERROR:
            return u"unfinished literal";
        case XML_XPATH_START_LITERAL_ERROR:
            return u"literal expected";
        case XML_XPATH_UNDEF_VARIABLE_ERROR:
            return u"undefined variable";
        case XML_XPATH_INVALID_PREDICATE_ERROR:
            return u"invalid predicate";
        case XML_XPATH_UNCLOSED_ERROR:
            return u"missing closing bracket";
        case XML_XPATH_UNKNOWN_FUNC_ERROR:
            return u"unknown function";
        case XML_XPATH_INVALID_OPERAND:
            return u"invalid operand";
        case XML_XPATH_INVALID_TYPE:
            return u"invalid type";
        case XML_XPATH_INVALID_ARITY:
            return u"wrong number of function arguments";
        case XML_XPATH_UNDEF_PREFIX_ERROR:
            return u"undefined namespace prefix";
        case XML_XPATH_INVALID_CHAR_ERROR:
            return u"invalid character";
        default:
            return u"invalid expression";
    }
}

std::u16string TakeXmlString(xmlChar* text) {
    std::u16string result;
    if (text) {
        AppendUtf16(result, View(text));
        xmlFree(text);
    }
    return result;
}

bool IsSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

// Parses "xmlns:a='uri' xmlns:b=\"uri\"" (a default declaration is accepted
// and ignored: XPath 1.0 has no default namespace).
bool ParseSelectionNamespaces(std::u16string_view text,
                              std::vector<std::pair<std::string, std::string>>& out) {
    out.clear();
    std::size_t i = 0;
    while (true) {
        while (i < text.size() && IsSpace(text[i]))
            ++i;
        if (i == text.size())
            return true;
        if (text.substr(i, 5) != u"xmlns")
            return false;
        i += 5;
        std::u16string_view prefix;
        if (i < text.size() && text[i] == u':') {
            const std::size_t start = ++i;
            while (i < text.size() && text[i] != u'=' && !IsSpace(text[i]))
                ++i;
            prefix = text.substr(start, i - start);
            if (prefix.empty())
                return false;
        }
        while (i < text.size() && IsSpace(text[i]))
            ++i;
        if (i == text.size() || text[i] != u'=')
            return false;
        ++i;
        while (i < text.size() && IsSpace(text[i]))
            ++i;
        if (i == text.size() || (text[i] != u'\'' && text[i] != u'"'))
            return false;
        const char16_t quote = text[i++];
        const std::size_t end = text.find(quote, i);
        if (end == std::u16string_view::npos)
            return false;
        if (!prefix.empty())
            out.emplace_back(ToUtf8(prefix), ToUtf8(text.substr(i, end - i)));
        i = end + 1;
    }
}

// Appends without merging adjacent text nodes, so node objects stay valid.
void LinkLastChild(xmlNodePtr parent, xmlNodePtr child) {
    child->parent = parent;
    child->next = nullptr;
    child->prev = parent->last;
    if (parent->last) {
        parent->last->next = child;
    } else {
        parent->children = child;
    }
    parent->last = child;
}

bool IsAncestorOrSelf(xmlNodePtr candidate, xmlNodePtr node) {
    for (; node; node = node->parent) {
        if (node == candidate)
            return true;
    }
    return false;
}

xmlDocPtr NewEmptyTree() {
    return xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0"));
}

}  // namespace

HResult DomDocument::Create(const Guid& iid, void** object) {
    EnsureLibXml();
    auto* document = new (std::nothrow) DomDocument;
    if (!document || !document->doc_) {
        delete document;
        return E_OUTOFMEMORY;
    }
    ComPtr<DomDocument> holder(document);
    return holder->QueryInterface(iid, object);
}

DomDocument* DomDocument::From(IUnknown* object) {
    ComPtr<IXMLDOMDocument> document;
    if (!object || Failed(com::QueryInterfaceTo(object, document)))
        return nullptr;
    return dynamic_cast<DomDocument*>(document.Get());
}

DomDocument::DomDocument() : doc_(NewEmptyTree()) {}

DomDocument::~DomDocument() {
    xmlDocPtr tree = std::exchange(doc_, nullptr);
    Retire(tree);
}

void DomDocument::Retire(xmlDocPtr tree) {
    if (tree)
        retired_.push_back(tree);
    if (liveNodes_.load(std::memory_order_relaxed) != 0)
        return;
    // No node object exists: unattached nodes and replaced trees can go.
    // Detached roots first (freeing them reads their tree's dictionary).
    std::vector<xmlNodePtr> roots;
    for (xmlNodePtr node : floating_) {
        if (!node->parent)
            roots.push_back(node);
    }
    floating_.clear();
    for (xmlNodePtr node : roots)
        xmlFreeNode(node);
    for (xmlDocPtr old : retired_) {
        if (old != doc_)
            xmlFreeDoc(old);
    }
    retired_.clear();
}

void DomDocument::ReplaceTree(xmlDocPtr tree) {
    std::unique_lock lock(mutex_);
    xmlDocPtr old = doc_;
    doc_ = tree ? tree : NewEmptyTree();
    parseError_ = {};
    Retire(old);
}

ComPtr<IXMLDOMNode> DomDocument::Wrap(xmlNodePtr node) {
    if (!node)
        return nullptr;
    if (node == reinterpret_cast<xmlNodePtr>(doc_))
        return ComPtr<IXMLDOMNode>(this);
    return ComPtr<IXMLDOMNode>(new DomNode(this, node));
}

// --- node operations -------------------------------------------------------

HResult DomDocument::NodeType(xmlNodePtr node, DomNodeType* type) {
    if (!type)
        return E_POINTER;
    switch (node->type) {
        case XML_ELEMENT_NODE:
            *type = DomNodeType::kElement;
            break;
        case XML_ATTRIBUTE_NODE:
            *type = DomNodeType::kAttribute;
            break;
        case XML_TEXT_NODE:
            *type = DomNodeType::kText;
            break;
        case XML_CDATA_SECTION_NODE:
            *type = DomNodeType::kCData;
            break;
        case XML_ENTITY_REF_NODE:
            *type = DomNodeType::kEntityReference;
            break;
        case XML_ENTITY_NODE:
            *type = DomNodeType::kEntity;
            break;
        case XML_PI_NODE:
            *type = DomNodeType::kProcessingInstruction;
            break;
        case XML_COMMENT_NODE:
            *type = DomNodeType::kComment;
            break;
        case XML_DOCUMENT_NODE:
        case XML_HTML_DOCUMENT_NODE:
            *type = DomNodeType::kDocument;
            break;
        case XML_DOCUMENT_TYPE_NODE:
        case XML_DTD_NODE:
            *type = DomNodeType::kDocumentType;
            break;
        case XML_DOCUMENT_FRAG_NODE:
            *type = DomNodeType::kDocumentFragment;
            break;
        case XML_NOTATION_NODE:
            *type = DomNodeType::kNotation;
            break;
        default:
            return E_INVALIDARG;
    }
    return S_OK;
}

HResult DomDocument::NodeName(xmlNodePtr node, std::u16string* name) {
    if (!name)
        return E_POINTER;
    name->clear();
    std::shared_lock lock(mutex_);
    switch (node->type) {
        case XML_ELEMENT_NODE:
        case XML_ATTRIBUTE_NODE:
            if (node->ns && node->ns->prefix) {
                AppendUtf16(*name, View(node->ns->prefix));
                name->push_back(u':');
            }
            AppendUtf16(*name, View(node->name));
            break;
        case XML_TEXT_NODE:
            *name = u"#text";
            break;
        case XML_CDATA_SECTION_NODE:
            *name = u"#cdata-section";
            break;
        case XML_COMMENT_NODE:
            *name = u"#comment";
            break;
        case XML_DOCUMENT_NODE:
        case XML_HTML_DOCUMENT_NODE:
            *name = u"#document";
            break;
        case XML_DOCUMENT_FRAG_NODE:
            *name = u"#document-fragment";
            break;
        default:
            AppendUtf16(*name, View(node->name));
            break;
    }
    return S_OK;
}

HResult DomDocument::NodeText(xmlNodePtr node, std::u16string* text) {
    if (!text)
        return E_POINTER;
    std::shared_lock lock(mutex_);
    *text = TakeXmlString(xmlNodeGetContent(node));
    return S_OK;
}

HResult DomDocument::NodeXml(xmlNodePtr node, std::u16string* xml) {
    if (!xml)
        return E_POINTER;
    xml->clear();
    std::shared_lock lock(mutex_);
    xmlBufferPtr buffer = xmlBufferCreate();
    if (!buffer)
        return E_OUTOFMEMORY;
    auto dump = [&](xmlNodePtr n) {
        xmlBufferEmpty(buffer);
        xmlNodeDump(buffer, n->doc, n, 0, 0);
        AppendUtf16(*xml, View(xmlBufferContent(buffer), xmlBufferLength(buffer)));
    };
    if (node->type == XML_DOCUMENT_NODE) {
        for (xmlNodePtr child = node->children; child; child = child->next) {
            if (child->type == XML_DTD_NODE)
                continue;
            if (!xml->empty())
                xml->push_back(u'\n');
            dump(child);
        }
    } else {
        dump(node);
    }
    xmlBufferFree(buffer);
    return S_OK;
}

HResult DomDocument::NodeParent(xmlNodePtr node, ComPtr<IXMLDOMNode>& parent) {
    std::shared_lock lock(mutex_);
    parent = Wrap(node->type == XML_DOCUMENT_NODE ? nullptr : node->parent);
    return parent ? S_OK : S_FALSE;
}

HResult DomDocument::Evaluate(xmlNodePtr node, std::u16string_view query,
                              std::vector<xmlNodePtr>& out) {
    out.clear();
    const std::string expression = ToUtf8(query);
    xmlXPathContextPtr context = xmlXPathNewContext(node->doc);
    if (!context)
        return E_OUTOFMEMORY;
    context->node = node;
    context->error = IgnoreXPathError;
    for (const auto& [prefix, uri] : namespaces_) {
        xmlXPathRegisterNs(context, Chars(prefix), Chars(uri));
    }
    xmlXPathObjectPtr result = xmlXPathEvalExpression(Chars(expression), context);
    HResult hr = S_OK;
    if (!result) {
        std::u16string message = u"Invalid XPath expression '" + std::u16string(query) + u"': ";
        message.append(XPathProblem(context->lastError.code));
        message.append(u" at offset ");
        message.append(ToUtf16(std::to_string(context->lastError.int1)));
        message.push_back(u'.');
        com::SetErrorInfo(com::XML_E_XPATH, std::move(message));
        hr = com::XML_E_XPATH;
    } else if (result->type != XPATH_NODESET) {
        com::SetErrorInfo(E_INVALIDARG, u"The XPath expression '" + std::u16string(query) +
                                            u"' does not select nodes.");
        hr = E_INVALIDARG;
    } else if (result->nodesetval) {
        const xmlNodeSetPtr set = result->nodesetval;
        out.reserve(static_cast<std::size_t>(set->nodeNr));
        for (int i = 0; i < set->nodeNr; ++i) {
            // Namespace nodes are copies owned by the result: not offered.
            if (set->nodeTab[i]->type != XML_NAMESPACE_DECL)
                out.push_back(set->nodeTab[i]);
        }
    }
    if (result)
        xmlXPathFreeObject(result);
    xmlXPathFreeContext(context);
    return hr;
}

HResult DomDocument::SelectNodes(xmlNodePtr node, std::u16string_view query,
                                 ComPtr<IXMLDOMNodeList>& nodes) {
    nodes.Reset();
    std::vector<xmlNodePtr> found;
    {
        std::shared_lock lock(mutex_);
        const HResult hr = Evaluate(node, query, found);
        if (Failed(hr))
            return hr;
    }
    auto* list = new (std::nothrow) DomNodeList(this, std::move(found));
    if (!list)
        return E_OUTOFMEMORY;
    return ComPtr<DomNodeList>(list).As(nodes);
}

HResult DomDocument::SelectSingleNode(xmlNodePtr node, std::u16string_view query,
                                      ComPtr<IXMLDOMNode>& result) {
    result.Reset();
    std::vector<xmlNodePtr> found;
    std::shared_lock lock(mutex_);
    const HResult hr = Evaluate(node, query, found);
    if (Failed(hr))
        return hr;
    if (found.empty())
        return S_FALSE;
    result = Wrap(found.front());
    return S_OK;
}

HResult DomDocument::CloneNode(xmlNodePtr node, bool deep, ComPtr<IXMLDOMNode>& clone) {
    clone.Reset();
    if (node->type == XML_DOCUMENT_NODE) {
        ComPtr<IXMLDOMDocument2> copy;
        HResult hr = com::MakeObject<DomDocument>(copy);
        if (Failed(hr))
            return hr;
        auto* target = static_cast<DomDocument*>(copy.Get());
        xmlDocPtr tree;
        {
            std::shared_lock lock(mutex_);
            tree = xmlCopyDoc(reinterpret_cast<xmlDocPtr>(node), deep ? 1 : 0);
            target->namespaces_ = namespaces_;
            target->selectionNamespaces_ = selectionNamespaces_;
            target->selectionLanguage_ = selectionLanguage_;
            target->newParser_ = newParser_;
        }
        if (!tree)
            return E_OUTOFMEMORY;
        target->ReplaceTree(tree);
        return copy.As(clone);
    }
    std::unique_lock lock(mutex_);
    xmlNodePtr copy = xmlDocCopyNode(node, node->doc, deep ? 1 : 2);
    if (!copy)
        return E_OUTOFMEMORY;
    floating_.push_back(copy);
    clone = Wrap(copy);
    return S_OK;
}

HResult DomDocument::AppendChild(xmlNodePtr parent, IXMLDOMNode* child,
                                 ComPtr<IXMLDOMNode>* appended) {
    if (appended)
        appended->Reset();
    if (!child)
        return E_INVALIDARG;
    auto* source = dynamic_cast<DomNode*>(child);
    if (!source)
        return E_INVALIDARG;  // documents and foreign objects
    if (parent->type != XML_ELEMENT_NODE && parent->type != XML_DOCUMENT_NODE &&
        parent->type != XML_DOCUMENT_FRAG_NODE) {
        return E_INVALIDARG;
    }
    xmlNodePtr node = source->Node();
    if (node->type == XML_ATTRIBUTE_NODE || node->type == XML_DOCUMENT_NODE ||
        node->type == XML_NAMESPACE_DECL || node->type == XML_DTD_NODE) {
        return E_INVALIDARG;
    }
    auto fitsParent = [&](xmlNodePtr n) {
        if (parent->type != XML_DOCUMENT_NODE)
            return true;
        if (n->type == XML_TEXT_NODE || n->type == XML_CDATA_SECTION_NODE)
            return false;
        return n->type != XML_ELEMENT_NODE ||
               !xmlDocGetRootElement(reinterpret_cast<xmlDocPtr>(parent));
    };

    DomDocument* other = source->Owner();
    if (other == this && node->doc == parent->doc) {
        // Move within the document.
        std::unique_lock lock(mutex_);
        if (IsAncestorOrSelf(node, parent) || !fitsParent(node))
            return E_INVALIDARG;
        xmlUnlinkNode(node);
        LinkLastChild(parent, node);
        if (node->type == XML_ELEMENT_NODE)
            xmlReconciliateNs(parent->doc, node);
        if (appended)
            *appended = Wrap(node);
        return S_OK;
    }
    // From another document (or another tree of this one): a deep copy.
    xmlNodePtr copy = nullptr;
    if (other == this) {
        std::unique_lock lock(mutex_);
        if (!fitsParent(node))
            return E_INVALIDARG;
        copy = xmlDocCopyNode(node, parent->doc, 1);
        if (!copy)
            return E_OUTOFMEMORY;
        LinkLastChild(parent, copy);
        if (appended)
            *appended = Wrap(copy);
        return S_OK;
    }
    std::shared_lock<std::shared_mutex> sourceLock(other->mutex_, std::defer_lock);
    std::unique_lock<std::shared_mutex> targetLock(mutex_, std::defer_lock);
    std::lock(sourceLock, targetLock);
    if (!fitsParent(node))
        return E_INVALIDARG;
    copy = xmlDocCopyNode(node, parent->doc, 1);
    if (!copy)
        return E_OUTOFMEMORY;
    LinkLastChild(parent, copy);
    if (appended)
        *appended = Wrap(copy);
    return S_OK;
}

HResult DomDocument::GetAttribute(xmlNodePtr node, std::u16string_view name,
                                  std::optional<std::u16string>* value) {
    if (!value)
        return E_POINTER;
    value->reset();
    if (node->type != XML_ELEMENT_NODE)
        return E_INVALIDARG;
    const std::string wanted = ToUtf8(name);
    const std::string_view qname = wanted;
    std::shared_lock lock(mutex_);
    if (qname == "xmlns" || qname.substr(0, 6) == "xmlns:") {
        const std::string_view prefix = qname.size() > 6 ? qname.substr(6) : std::string_view();
        for (xmlNsPtr ns = node->nsDef; ns; ns = ns->next) {
            if (View(ns->prefix) == prefix) {
                *value = ToUtf16(View(ns->href));
                return S_OK;
            }
        }
    }
    for (xmlAttrPtr a = node->properties; a; a = a->next) {
        const std::string_view local = View(a->name);
        bool match;
        if (a->ns && a->ns->prefix) {
            const std::string_view prefix = View(a->ns->prefix);
            match = qname.size() == prefix.size() + 1 + local.size() &&
                    qname.substr(0, prefix.size()) == prefix && qname[prefix.size()] == ':' &&
                    qname.substr(prefix.size() + 1) == local;
        } else {
            match = qname == local;
        }
        if (match) {
            *value = TakeXmlString(xmlNodeGetContent(reinterpret_cast<xmlNodePtr>(a)));
            return S_OK;
        }
    }
    return S_FALSE;
}

HResult DomDocument::SetAttribute(xmlNodePtr node, std::u16string_view name,
                                  std::u16string_view value) {
    if (node->type != XML_ELEMENT_NODE || name.empty())
        return E_INVALIDARG;
    const std::string qname = ToUtf8(name), text = ToUtf8(value);
    std::unique_lock lock(mutex_);
    const std::size_t colon = qname.find(':');
    if (colon != std::string::npos && qname.compare(0, colon, "xmlns") != 0) {
        const std::string prefix = qname.substr(0, colon), local = qname.substr(colon + 1);
        xmlNsPtr ns = xmlSearchNs(node->doc, node, Chars(prefix));
        if (!ns)
            return E_INVALIDARG;
        return xmlSetNsProp(node, ns, Chars(local), Chars(text)) ? S_OK : E_OUTOFMEMORY;
    }
    return xmlSetProp(node, Chars(qname), Chars(text)) ? S_OK : E_OUTOFMEMORY;
}

// --- the document node -------------------------------------------------------

HResult DomDocument::getNodeType(DomNodeType* type) {
    if (!type)
        return E_POINTER;
    *type = DomNodeType::kDocument;
    return S_OK;
}

HResult DomDocument::getNodeName(std::u16string* name) {
    if (!name)
        return E_POINTER;
    *name = u"#document";
    return S_OK;
}

HResult DomDocument::getText(std::u16string* text) {
    std::shared_lock lock(mutex_);
    xmlNodePtr root = xmlDocGetRootElement(doc_);
    lock.unlock();
    if (!text)
        return E_POINTER;
    if (!root) {
        text->clear();
        return S_OK;
    }
    return NodeText(root, text);
}

HResult DomDocument::getXml(std::u16string* xml) {
    xmlNodePtr node;
    {
        std::shared_lock lock(mutex_);
        node = reinterpret_cast<xmlNodePtr>(doc_);
    }
    return NodeXml(node, xml);
}

HResult DomDocument::getOwnerDocument(ComPtr<IXMLDOMDocument>& document) {
    document.Reset();
    return S_FALSE;
}

HResult DomDocument::getParentNode(ComPtr<IXMLDOMNode>& parent) {
    parent.Reset();
    return S_FALSE;
}

HResult DomDocument::selectNodes(std::u16string_view query, ComPtr<IXMLDOMNodeList>& nodes) {
    nodes.Reset();
    std::vector<xmlNodePtr> found;
    {
        std::shared_lock lock(mutex_);
        const HResult hr = Evaluate(reinterpret_cast<xmlNodePtr>(doc_), query, found);
        if (Failed(hr))
            return hr;
    }
    auto* list = new (std::nothrow) DomNodeList(this, std::move(found));
    if (!list)
        return E_OUTOFMEMORY;
    return ComPtr<DomNodeList>(list).As(nodes);
}

HResult DomDocument::selectSingleNode(std::u16string_view query, ComPtr<IXMLDOMNode>& node) {
    node.Reset();
    std::vector<xmlNodePtr> found;
    std::shared_lock lock(mutex_);
    const HResult hr = Evaluate(reinterpret_cast<xmlNodePtr>(doc_), query, found);
    if (Failed(hr))
        return hr;
    if (found.empty())
        return S_FALSE;
    node = Wrap(found.front());
    return S_OK;
}

HResult DomDocument::cloneNode(bool deep, ComPtr<IXMLDOMNode>& clone) {
    xmlNodePtr node;
    {
        std::shared_lock lock(mutex_);
        node = reinterpret_cast<xmlNodePtr>(doc_);
    }
    return CloneNode(node, deep, clone);
}

HResult DomDocument::appendChild(IXMLDOMNode* child, ComPtr<IXMLDOMNode>* appended) {
    xmlNodePtr node;
    {
        std::shared_lock lock(mutex_);
        node = reinterpret_cast<xmlNodePtr>(doc_);
    }
    return AppendChild(node, child, appended);
}

HResult DomDocument::loadXML(std::u16string_view text, bool* successful) {
    if (successful)
        *successful = false;
    EnsureLibXml();
    if (!text.empty() && text.front() == 0xFEFF)
        text.remove_prefix(1);
    const std::string utf8 = ToUtf8(text);

    xmlParserCtxtPtr ctxt = xmlNewParserCtxt();
    if (!ctxt)
        return E_OUTOFMEMORY;
    ctxt->sax->serror = CaptureLoadError;
    LoadErrors errors;
    LoadErrors* outer = std::exchange(t_load_errors, &errors);
    // Entities are kept as references (no XML_PARSE_NOENT), no DTD is loaded
    // and libxml2's default limits hold (no XML_PARSE_HUGE): depth 256.
    xmlDocPtr tree = xmlCtxtReadMemory(ctxt, utf8.data(), static_cast<int>(utf8.size()), nullptr,
                                       "UTF-8", XML_PARSE_NONET | XML_PARSE_IGNORE_ENC);
    t_load_errors = outer;
    const bool wellFormed = ctxt->wellFormed != 0;
    xmlFreeParserCtxt(ctxt);

    const bool ok = tree && wellFormed && !errors.failed;
    if (!ok) {
        if (tree)
            xmlFreeDoc(tree);
        tree = nullptr;
        if (!errors.failed) {
            errors.message = u"The document is not well-formed.";
            errors.code = com::XML_E_PARSE;
        }
    }
    std::unique_lock lock(mutex_);
    xmlDocPtr old = doc_;
    doc_ = ok ? tree : NewEmptyTree();
    Retire(old);
    if (ok) {
        parseError_ = {};
    } else {
        parseError_ = {errors.code, errors.message, errors.line, errors.column};
    }
    if (successful)
        *successful = ok;
    return ok ? S_OK : S_FALSE;
}

HResult DomDocument::getParseError(DomParseError* error) {
    if (!error)
        return E_POINTER;
    std::shared_lock lock(mutex_);
    *error = parseError_;
    return S_OK;
}

HResult DomDocument::getDocumentElement(ComPtr<IXMLDOMElement>& element) {
    element.Reset();
    ComPtr<IXMLDOMNode> node;
    {
        std::shared_lock lock(mutex_);
        node = Wrap(xmlDocGetRootElement(doc_));
    }
    if (!node)
        return S_FALSE;
    return node.As(element);
}

HResult DomDocument::createElement(std::u16string_view tagName, ComPtr<IXMLDOMElement>& element) {
    element.Reset();
    if (tagName.empty())
        return E_INVALIDARG;
    const std::string name = ToUtf8(tagName);
    ComPtr<IXMLDOMNode> node;
    {
        std::unique_lock lock(mutex_);
        xmlNodePtr created = xmlNewDocNode(doc_, nullptr, Chars(name), nullptr);
        if (!created)
            return E_OUTOFMEMORY;
        floating_.push_back(created);
        node = Wrap(created);
    }
    return node.As(element);
}

HResult DomDocument::setProperty(std::u16string_view name, const DomPropertyValue& value) {
    const auto* text = std::get_if<std::u16string>(&value);
    const auto* flag = std::get_if<bool>(&value);
    std::unique_lock lock(mutex_);
    if (name == u"SelectionLanguage") {
        if (!text || *text != u"XPath")
            return E_INVALIDARG;
        selectionLanguage_ = *text;
        return S_OK;
    }
    if (name == u"SelectionNamespaces") {
        if (!text)
            return E_INVALIDARG;
        std::vector<std::pair<std::string, std::string>> parsed;
        if (!ParseSelectionNamespaces(*text, parsed)) {
            com::SetErrorInfo(E_INVALIDARG, u"Malformed namespace declarations: '" + *text + u"'");
            return E_INVALIDARG;
        }
        namespaces_ = std::move(parsed);
        selectionNamespaces_ = *text;
        return S_OK;
    }
    if (name == u"NewParser") {
        if (!flag)
            return E_INVALIDARG;
        newParser_ = *flag;
        return S_OK;
    }
    return E_INVALIDARG;
}

HResult DomDocument::getProperty(std::u16string_view name, DomPropertyValue* value) {
    if (!value)
        return E_POINTER;
    std::shared_lock lock(mutex_);
    if (name == u"SelectionLanguage") {
        *value = selectionLanguage_;
    } else if (name == u"SelectionNamespaces") {
        *value = selectionNamespaces_;
    } else if (name == u"NewParser") {
        *value = newParser_;
    } else {
        return E_INVALIDARG;
    }
    return S_OK;
}

}  // namespace platform::xml
