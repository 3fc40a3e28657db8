#include "xml/model/XmlObject.h"

#include "services/CoreError.h"
#include "xml/model/NewObject.h"
#include "xml/model/StyleResolver.h"
#include "xml/model/TextAttribute.h"
#include "xml/model/XmlAttributeBinder.h"
#include "xml/model/XmlAttributeGroupTypeInfo.h"
#include "xml/model/XmlAttributeTypeInfo.h"
#include "xml/model/XmlClassNames.h"
#include "xml/model/XmlElementTypeInfo.h"
#include "xml/model/XmlInlineStyle.h"
#include "xml/model/XmlNamespace.h"
#include "xml/model/XmlObjectTypeInfo.h"

namespace {

[[noreturn]] void RaiseNotAvailable() {
    RaiseCoreError(
        u"Internal error (Document loading and saving are not available in this build).");
}

XmlBaseAttribute& MemberOf(const AttributeTypeInfo& description, XmlObject* object) {
    return description.MemberOf<XmlBaseAttribute>(object);
}

const std::u16string& QualifiedNameOf(const AttributeTypeInfo& description) {
    if (description.GetKind() == KindAttribute)
        return static_cast<const XmlAttributeTypeInfo&>(description).GetQualifiedName();
    if (description.GetKind() == KindAttributeGroup)
        return static_cast<const XmlAttributeGroupTypeInfo&>(description).GetQualifiedName();
    return description.GetName();
}

}  // namespace

XmlObject::~XmlObject() = default;

const ObjectTypeInfo& XmlObject::GetTypeInfo() const {
    return ClassTypeInfo();
}

void XmlObject::LoadFromFile(const char16_t*, const char16_t*, std::int32_t) {
    RaiseNotAvailable();
}
void XmlObject::LoadFromString(const char16_t*, const char16_t*, std::int32_t) {
    RaiseNotAvailable();
}
void XmlObject::LoadFromStream(platform::com::IUnknown*, const char16_t*, std::int32_t) {
    RaiseNotAvailable();
}
void XmlObject::SaveToString(System::String&, std::int32_t) {
    RaiseNotAvailable();
}
void XmlObject::SaveToFile(const char16_t*, const char16_t*, std::int32_t) {
    RaiseNotAvailable();
}
void XmlObject::SaveToStream(platform::com::IUnknown*, const char16_t*, std::int32_t) {
    RaiseNotAvailable();
}
void XmlObject::LoadInnerXml(const char16_t*) {
    RaiseNotAvailable();
}
void XmlObject::GetXml(System::String&) {
    RaiseNotAvailable();
}
platform::xml::ISAXContentHandler* XmlObject::CreateContentHandler(const System::String&,
                                                                   platform::xml::ISAXErrorHandler*,
                                                                   XSchemaValidator*, bool) {
    RaiseNotAvailable();
}

void XmlObject::SetParent(XmlObject* parent) {
    parent_ = parent;
    InitializeMembers();
    OnParentSet();
}

void XmlObject::InitializeMembers() {
    const ObjectTypeInfo& type = GetTypeInfo();
    for (const std::uint32_t kind : {KindAttribute, KindAttributeGroup}) {
        const auto* members = type.GetMemberDescriptions(kind);
        if (!members)
            continue;
        for (const auto& description : *members) {
            try {
                MemberOf(*description, this).SetOwner(this);
            } catch (...) {
                const SourcePosition& position = GetSourcePosition();
                if (position.sourceName.Length() != 0)
                    RaiseCoreErrorAt(position, u"Failed to initialize XML object attribute '%s'.",
                                     QualifiedNameOf(*description));
                RaiseCoreError(u"Failed to initialize XML object attribute '%s'.",
                               QualifiedNameOf(*description));
            }
        }
    }
    if (const auto* children = type.GetMemberDescriptions(KindChildElement)) {
        for (const auto& description : *children)
            MemberOf(*description, this).SetOwner(this);
    }
}

const SourcePosition& XmlObject::GetSourcePosition() const {
    static const SourcePosition none;
    return none;
}

XmlObject* XmlObject::GetDocument() {
    return parent_ ? parent_->GetDocument() : nullptr;
}

StyleResolver* XmlObject::GetStyleResolver() {
    XmlObject* document = GetDocument();
    // A document class that forgot its resolver must not send the call
    // back here for ever.
    if (!document || document == this)
        return nullptr;
    return document->GetStyleResolver();
}

void XmlObject::CopyAttributes(const XmlObject& source) {
    const ObjectTypeInfo& from = source.GetTypeInfo();
    const ObjectTypeInfo& to = GetTypeInfo();
    auto* sourceObject = const_cast<XmlObject*>(&source);
    const auto* fromAttributes = from.GetMemberDescriptions(KindAttribute);
    const auto* toAttributes = to.GetMemberDescriptions(KindAttribute);
    if (fromAttributes && toAttributes) {
        const std::size_t count = std::min(fromAttributes->size(), toAttributes->size());
        for (std::size_t i = 0; i < count; ++i) {
            auto& destination = (*toAttributes)[i]->MemberOf<XmlAttribute>(this);
            destination.CopyFrom((*fromAttributes)[i]->MemberOf<XmlAttribute>(sourceObject), false);
        }
    }
    const auto* fromGroups = from.GetMemberDescriptions(KindAttributeGroup);
    const auto* toGroups = to.GetMemberDescriptions(KindAttributeGroup);
    if (fromGroups && toGroups) {
        const std::size_t count = std::min(fromGroups->size(), toGroups->size());
        for (std::size_t i = 0; i < count; ++i) {
            auto* destination = static_cast<XmlAttributeGroupTypeInfo*>((*toGroups)[i].Get());
            auto* origin = static_cast<XmlAttributeGroupTypeInfo*>((*fromGroups)[i].Get());
            destination->GetGroupObject(this)->CopyAttributes(
                *origin->GetGroupObject(sourceObject));
        }
    }
}

const XmlElementTypeInfo* XmlObject::GetElementTypeInfo() const {
    return &ClassElementTypeInfo();
}

void XmlObject::RecordNamespaceDeclaration(std::u16string_view prefix, std::u16string_view uri) {
    NamespacePrefixMap* prefixes = GetNamespacePrefixes();
    if (!prefixes)
        return;
    const auto found = prefixes->find(prefix);
    if (found == prefixes->end() || found->second.empty()) {
        (*prefixes)[std::u16string(prefix)] = std::u16string(uri);
        return;
    }
    if (found->second != uri)
        RaiseCoreError(u"The same namespace prefix '%s' is mapped to two different namespaces.",
                       prefix);
}

XmlObjectTypeInfo& XmlObject::ClassTypeInfo() {
    static XmlObjectTypeInfo& info = []() -> XmlObjectTypeInfo& {
        static XmlObjectTypeInfo storage;
        DescribeClass(storage);
        return storage;
    }();
    return info;
}

const XmlElementTypeInfo& XmlObject::ClassElementTypeInfo() {
    static const XmlElementTypeInfo& element = FirstElementTypeInfo(ClassTypeInfo());
    return element;
}

void XmlObject::DescribeClass(XmlObjectTypeInfo& info) {
    const XmlNamespace& ns = XmlNamespace::Framework();
    info.Add(NewObject<XmlElementTypeInfo>(u"XmlElementTypeInfo", &info, u"", ns.GetUri(),
                                           ns.GetPrefix(), nullptr));
    info.Finalize();
}

const XmlElementTypeInfo& FirstElementTypeInfo(const XmlObjectTypeInfo& info) {
    const auto* elements = info.GetDescriptions(KindElement);
    if (!elements)
        RaiseCoreError(u"Internal error (a class has no element description).");
    return static_cast<const XmlElementTypeInfo&>(*(*elements)[0]);
}

// --- lookups ---------------------------------------------------------------

XmlAttribute* FindAttributeByName(XmlObject* object, std::u16string_view name) {
    if (!object)
        return nullptr;
    const XmlElementTypeInfo* element = object->GetElementTypeInfo();
    if (XmlAttributeTypeInfo* found = element->FindAttributeByName(name))
        return &found->MemberOf<XmlAttribute>(object);
    if (const auto* groups = object->GetTypeInfo().GetDescriptions(KindAttributeGroup)) {
        for (const auto& group : *groups) {
            auto* description = static_cast<XmlAttributeGroupTypeInfo*>(group.Get());
            if (XmlAttribute* found =
                    FindAttributeByName(description->GetGroupObject(object), name))
                return found;
        }
    }
    return nullptr;
}

const XmlAttribute* FindAttributeByName(const XmlObject* object, std::u16string_view name) {
    return FindAttributeByName(const_cast<XmlObject*>(object), name);
}

XmlAttribute* FindAttributeById(XmlObject* object, std::uint32_t id) {
    while (object) {
        const XmlElementTypeInfo* element = object->GetElementTypeInfo();
        if (XmlAttributeTypeInfo* found = element->FindAttributeById(id))
            return &found->MemberOf<XmlAttribute>(object);
        const auto& type = static_cast<const XmlObjectTypeInfo&>(object->GetTypeInfo());
        XmlAttributeGroupTypeInfo* group = type.FindGroupById(id);
        if (!group)
            return nullptr;
        object = group->GetGroupObject(object);
    }
    return nullptr;
}

XmlObject* GetContextElement(const XmlAttribute& member) {
    XmlObject* element = member.GetOwner();
    while (element && element->GetElementTypeInfo()->IsPassThrough())
        element = element->GetParent();
    return element;
}

bool FindStyledValue(XmlAttribute& result, const XmlAttributeBinder& binder, XmlObject* element,
                     std::u16string_view name) {
    if (!element)
        return false;
    StyleResolver* resolver = element->GetStyleResolver();
    if (!resolver)
        return false;
    const std::u16string_view key = element->GetElementTypeInfo()->GetLocalName();

    // The member itself when it is set, else its default; none without
    // either.
    auto effective = [](const XmlAttribute* member) -> const XmlAttribute* {
        if (!member)
            return nullptr;
        if (member->IsSet())
            return member;
        return member->GetAttributeInfo().GetDefault();
    };
    auto parse = [&](std::u16string text) {
        ValueText record{1, kValueTextReplace, text};
        binder.FromText(result, record);
        return result.IsSet();
    };

    bool found = false;
    if (const XmlAttribute* classMember = FindAttributeByName(element, u"class")) {
        // With a "class" attribute only its classes' rules count.
        if (const auto* names = dynamic_cast<const XmlClassNames*>(effective(classMember))) {
            for (std::size_t i = 0; i < names->GetClassCount(); ++i) {
                std::u16string text = resolver->Lookup(key, names->GetClassName(i), name);
                if (!text.empty()) {
                    found = parse(std::move(text));
                    break;
                }
            }
        }
    } else {
        std::u16string text = resolver->Lookup(key, u"", name);
        if (!text.empty())
            found = parse(std::move(text));
    }

    const XmlAttribute* styleMember = FindAttributeByName(element, u"style");
    if (const auto* style = dynamic_cast<const XmlInlineStyle*>(effective(styleMember))) {
        std::u16string text(style->GetPropertyValue(name));
        if (!text.empty() && parse(std::move(text)))
            found = true;
    }
    return found;
}

namespace AttributeLookup {

XmlObject* GetContextElement(const XmlAttribute& member) {
    return ::GetContextElement(member);
}

XmlAttribute* FindOnParent(const XmlAttribute& member, const XmlAttributeTypeInfo& description) {
    XmlObject* context = ::GetContextElement(member);
    if (!context || !context->GetParent())
        return nullptr;
    XmlObject* parent = context->GetParent();
    if (description.GetId() != 0)
        return FindAttributeById(parent, description.GetId());
    return FindAttributeByName(parent, description.GetName());
}

bool FindStyledValue(XmlAttribute& result, const XmlAttribute& member,
                     const XmlAttributeTypeInfo& description) {
    return ::FindStyledValue(result, *description.GetBinder(), ::GetContextElement(member),
                             description.GetName());
}

}  // namespace AttributeLookup

XmlAttributeTypeInfo& XmlAttribute::GetAttributeInfo() const {
    if (description_)
        return *description_;
    if (!owner_)
        RaiseCoreError(
            u"Internal error (Can't get XML attribute info because element is not initialized).");
    const auto offset = static_cast<std::uint32_t>(
        reinterpret_cast<const char*>(static_cast<const XmlBaseAttribute*>(this)) -
        reinterpret_cast<const char*>(owner_));
    XmlAttributeTypeInfo* found = owner_->GetElementTypeInfo()->FindAttributeByMember(offset);
    if (!found)
        RaiseCoreError(
            u"Internal error (Can't get XML attribute info: the member is not described).");
    description_ = found;
    return *found;
}
