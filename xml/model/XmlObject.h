// XmlObject: the base class of every element object.
//
// An element class derives from it, declares its attributes, child slots
// and text member as data members and describes them in its type
// information (see XmlClass.h). Objects form a tree: a child knows its
// parent through a plain link, a parent holds its children through its
// child members. SetParent attaches an object and, through its child
// members, its whole subtree.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "modules/system/String.h"
#include "services/SourcePosition.h"
#include "xml/model/Object.h"
#include "xml/model/RefObject16.h"

namespace platform::com {
class IUnknown;
}
namespace platform::xml {
class ISAXContentHandler;
class ISAXErrorHandler;
}  // namespace platform::xml
class StyleResolver;
class XSchemaValidator;
class XmlAttribute;
class XmlAttributeBinder;
class XmlElementTypeInfo;
class XmlObjectTypeInfo;

// A document's map from namespace prefix to namespace URI.
using NamespacePrefixMap = std::map<std::u16string, std::u16string, std::less<>>;

class XmlObject : public Object, public RefObject16 {
public:
    XmlObject() = default;
    XmlObject(const XmlObject&) = delete;
    XmlObject& operator=(const XmlObject&) = delete;
    ~XmlObject() override;

    const ObjectTypeInfo& GetTypeInfo() const override;

    // Loading and saving documents. Loading fills this object as the root;
    // the load options' bit 0 keeps elements nested in unknown ones, the
    // save options' bit 0 indents.
    virtual void LoadFromFile(const char16_t* pathOrUrl, const char16_t* encoding,
                              std::int32_t options);
    virtual void LoadFromString(const char16_t* text, const char16_t* encoding,
                                std::int32_t options);
    virtual void LoadFromStream(platform::com::IUnknown* stream, const char16_t* encoding,
                                std::int32_t options);
    virtual void SaveToString(System::String& text, std::int32_t options);
    virtual void SaveToFile(const char16_t* path, const char16_t* encoding, std::int32_t options);
    virtual void SaveToStream(platform::com::IUnknown* stream, const char16_t* encoding,
                              std::int32_t options);
    virtual void LoadInnerXml(const char16_t* text);
    virtual void GetXml(System::String& text);

    // Sets the parent link and attaches every member to this object: XML
    // attributes and attribute groups first (a failure becomes "Failed to
    // initialize XML object attribute '%s'."), then child members, which
    // attach their children in turn. Ends with OnParentSet.
    virtual void SetParent(XmlObject* parent);
    virtual void OnParentSet() {}
    // Sizes reported while a document is loaded into this object as root.
    virtual void AddDocumentSize(std::uint32_t /*bytes*/) {}
    virtual void SetSourcePosition(const SourcePosition& /*position*/) {}
    // One shared record with an empty name, unless a class keeps its own.
    virtual const SourcePosition& GetSourcePosition() const;
    // False makes the writer skip the object and its subtree.
    virtual bool IsWritable() const { return true; }
    // A document class returns its prefix map; none here.
    virtual NamespacePrefixMap* GetNamespacePrefixes() { return nullptr; }
    // The parent's document; a document class returns itself.
    virtual XmlObject* GetDocument();
    // The document's resolver; a document class supplies its own.
    virtual StyleResolver* GetStyleResolver();
    // Copies the explicit attribute values of `source`, member by member in
    // list order, and of its attribute groups. Children and text stay.
    virtual void CopyAttributes(const XmlObject& source);
    virtual platform::xml::ISAXContentHandler* CreateContentHandler(
        const System::String& documentName, platform::xml::ISAXErrorHandler* errorHandler,
        XSchemaValidator* validator, bool transparentUnknown);
    // The class's own element description.
    virtual const XmlElementTypeInfo* GetElementTypeInfo() const;

    XmlObject* GetParent() const noexcept { return parent_; }

    // Records a namespace declaration met while loading into the root's
    // prefix map; a prefix bound to a different URI raises "The same
    // namespace prefix '%s' is mapped to two different namespaces.".
    void RecordNamespaceDeclaration(std::u16string_view prefix, std::u16string_view uri);

    // The type information of XmlObject itself.
    static XmlObjectTypeInfo& ClassTypeInfo();
    static const XmlElementTypeInfo& ClassElementTypeInfo();
    static void DescribeClass(XmlObjectTypeInfo& info);

private:
    void InitializeMembers();

    XmlObject* parent_ = nullptr;
};

// The attribute member of `object` whose description has `name` (or `id`),
// searching the class first and then its attribute groups; none if absent.
XmlAttribute* FindAttributeByName(XmlObject* object, std::u16string_view name);
XmlAttribute* FindAttributeById(XmlObject* object, std::uint32_t id);
const XmlAttribute* FindAttributeByName(const XmlObject* object, std::u16string_view name);

// The element whose attributes and parent govern the member's style and
// inheritance lookups.
XmlObject* GetContextElement(const XmlAttribute& member);

// The style lookup of `name` on `element` into `result`, an unattached
// member of the attribute's class: class rules first, then the inline
// style. True when a value was put into `result`.
// `binder` parses text into `result`.
bool FindStyledValue(XmlAttribute& result, const XmlAttributeBinder& binder, XmlObject* element,
                     std::u16string_view name);

// The first element description of a type information.
const XmlElementTypeInfo& FirstElementTypeInfo(const XmlObjectTypeInfo& info);
