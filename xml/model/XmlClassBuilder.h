// XmlClassBuilder<C>: what an element class's description block uses to
// describe the class's members, in declaration order:
//
//   c.Attribute(&C::width, u"width");                   an XML attribute
//   c.Attribute(&C::fill, u"fill", kFillId)            with an id, which
//       .Inherited().Styled().Default(u"black");        inheritance uses
//   c.Child(&C::items, SvgNamespace(), u"rect");        a child slot
//   c.Children(&C::items, SvgNamespace(), {u"rect", u"g"});
//   c.AnyChild(&C::items);                              the wildcard slot
//   c.Text(&C::text);                                   the text member
//   c.Group(&C::presentation, u"presentation");         an attribute group
//   c.Describe<MyFallbackTypeInfo>(&C::other, u"*");    a description class
//                                                       of the library's own
//
// Members are given as member pointers, so the compiler checks that each
// exists and has a fitting member class.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <type_traits>
#include <utility>

#include "xml/model/NewObject.h"
#include "xml/model/TextAttribute.h"
#include "xml/model/XmlAttributeBinder.h"
#include "xml/model/XmlAttributeGroupTypeInfo.h"
#include "xml/model/XmlAttributeTypeInfo.h"
#include "xml/model/XmlElementAttributeTypeInfo.h"
#include "xml/model/XmlElementBinder.h"
#include "xml/model/XmlElementTypeInfo.h"
#include "xml/model/XmlNamespace.h"
#include "xml/model/XmlObject.h"
#include "xml/model/XmlObjectFactoryImpl.h"
#include "xml/model/XmlObjectTypeInfo.h"
#include "xml/model/XmlTextAttributeTypeInfo.h"

namespace XmlClassDetail {

// The position of the member's XmlBaseAttribute part inside a C, counted
// from C's XmlObject base. A data member pointer is the member's offset in
// the Itanium C++ ABI; the base adjustments are taken from casts of
// suitably aligned storage, so nothing is constructed.
template <class C, class M>
std::uint32_t MemberOffset(M C::*member) {
    static_assert(sizeof(member) == sizeof(std::ptrdiff_t), "data member pointers are offsets");
    static_assert(std::is_base_of_v<XmlBaseAttribute, M>, "members derive from XmlBaseAttribute");
    std::ptrdiff_t memberOffset = 0;
    std::memcpy(&memberOffset, &member, sizeof memberOffset);

    alignas(C) unsigned char objectStorage[sizeof(C)];
    auto* object = reinterpret_cast<C*>(objectStorage);
    const std::ptrdiff_t objectBase =
        reinterpret_cast<unsigned char*>(static_cast<XmlObject*>(object)) - objectStorage;
    alignas(M) unsigned char memberStorage[sizeof(M)];
    auto* value = reinterpret_cast<M*>(memberStorage);
    const std::ptrdiff_t memberBase =
        reinterpret_cast<unsigned char*>(static_cast<XmlBaseAttribute*>(value)) - memberStorage;
    return static_cast<std::uint32_t>(memberOffset + memberBase - objectBase);
}

template <class C>
XmlObjectTypeInfo& TypeInfoOf() {
    static XmlObjectTypeInfo& info = []() -> XmlObjectTypeInfo& {
        static XmlObjectTypeInfo storage;
        C::DescribeClass(storage);
        return storage;
    }();
    return info;
}

}  // namespace XmlClassDetail

// Options of one XML-attribute description, set right after it is added.
template <class A>
class XmlAttributeDeclaration {
public:
    explicit XmlAttributeDeclaration(XmlAttributeTypeInfo& description)
        : description_(description) {}

    // Takes the value of the same attribute of the enclosing element when
    // not set.
    XmlAttributeDeclaration& Inherited() {
        static_assert(
            requires { requires A::kInheritable; },
            "only TXmlAttribute members inherit; use TXmlAttribute<T>");
        description_.SetInherited(true);
        return *this;
    }
    // Style rules and inline styles of the document apply.
    XmlAttributeDeclaration& Styled() {
        description_.SetStyled(true);
        return *this;
    }
    // The value when nothing else gives one: a member of the same class
    // made from `arguments`, which must come out set.
    template <class... Args>
    XmlAttributeDeclaration& Default(Args&&... arguments) {
        std::unique_ptr<XmlAttribute> member(
            NewObject<A>(u"default attribute member", std::forward<Args>(arguments)...));
        RaiseCoreErrorIf(!member->IsSet(), u"Internal error (The default of '%s' is not set).",
                         description_.GetName());
        description_.SetDefault(std::move(member));
        return *this;
    }
    // Only an attribute in this namespace binds (its canonical prefix makes
    // the qualified name).
    XmlAttributeDeclaration& Namespace(const XmlNamespace& ns) {
        description_.SetNamespace(ns.GetUri(), ns.GetPrefix());
        return *this;
    }

private:
    XmlAttributeTypeInfo& description_;
};

template <class C>
class XmlClassBuilder {
public:
    explicit XmlClassBuilder(XmlObjectTypeInfo& info) : info_(info) {}

    // The class's element description; with a factory, also entered into
    // the namespace under the local name.
    template <bool WithFactory>
    void Element(XmlNamespace& ns, const char16_t* localName, bool passThrough) {
        XmlObjectFactory* factory = nullptr;
        if constexpr (WithFactory)
            factory = &XmlObjectFactoryImpl<C>::Instance();
        info_.Add(NewObject<XmlElementTypeInfo>(u"XmlElementTypeInfo", &info_, localName,
                                                ns.GetUri(), ns.GetPrefix(), factory, passThrough));
        if (factory)
            ns.RegisterFactory(localName, factory);
    }

    template <class A, class B>
    XmlAttributeDeclaration<A> Attribute(A B::*member, const char16_t* name, std::uint32_t id = 0) {
        static_assert(std::is_base_of_v<B, C>, "the member belongs to another class");
        static_assert(std::is_base_of_v<XmlAttribute, A>,
                      "XML attributes are XmlAttribute members");
        auto* description =
            NewObject<XmlAttributeTypeInfo>(u"XmlAttributeTypeInfo", Offset(member), &info_, name,
                                            id, &XmlAttributeValueBinder<A>::Instance());
        info_.Add(description);
        return XmlAttributeDeclaration<A>(*description);
    }

    // A slot for children named `localName` in `ns`; children of another
    // namespace are not accepted.
    template <class M, class B>
    void Child(M B::*member, const XmlNamespace& ns, const char16_t* localName) {
        AddChild(member, ns.GetUri(), localName, ns.GetPrefix());
    }
    template <class M, class B>
    void Children(M B::*member, const XmlNamespace& ns,
                  std::initializer_list<const char16_t*> localNames) {
        for (const char16_t* localName : localNames)
            AddChild(member, ns.GetUri(), localName, ns.GetPrefix());
    }
    // A slot for children named `localName` in any namespace, each made by
    // its own namespace's factory.
    template <class M, class B>
    void ChildOfAnyNamespace(M B::*member, const char16_t* localName, const char16_t* prefix) {
        AddChild(member, nullptr, localName, prefix);
    }
    // The wildcard slot: elements no other slot takes are captured whole.
    template <class M, class B>
    void AnyChild(M B::*member) {
        const XmlNamespace& any = XmlNamespace::Any();
        AddChild(member, any.GetUri(), u"", any.GetPrefix());
    }

    template <class B>
    void Text(TextAttribute B::*member) {
        static_assert(std::is_base_of_v<B, C>, "the member belongs to another class");
        info_.Add(NewObject<XmlTextAttributeTypeInfo>(
            u"XmlTextAttributeTypeInfo", Offset(member), &info_,
            &XmlAttributeValueBinder<TextAttribute>::Instance()));
    }

    template <class G, class B>
    void Group(XmlAttributeGroup<G> B::*member, const char16_t* name,
               const char16_t* prefix = nullptr) {
        static_assert(std::is_base_of_v<B, C>, "the member belongs to another class");
        info_.Add(NewObject<XmlAttributeGroupMemberTypeInfo<G>>(
            u"XmlAttributeGroupTypeInfo", Offset(member), &info_, name, prefix));
    }

    // Any description class D of the library's own, constructed from
    // (offset, owning type, arguments...): attribute groups and fallbacks.
    template <class D, class M, class B, class... Args>
    D& Describe(M B::*member, Args&&... arguments) {
        static_assert(std::is_base_of_v<B, C>, "the member belongs to another class");
        D* description = NewObject<D>(u"AttributeTypeInfo", Offset(member), &info_,
                                      std::forward<Args>(arguments)...);
        info_.Add(description);
        return *description;
    }

private:
    template <class M, class B>
    static std::uint32_t Offset(M B::*member) {
        M C::*own = member;
        return XmlClassDetail::MemberOffset<C, M>(own);
    }

    template <class M, class B>
    void AddChild(M B::*member, const char16_t* uri, const char16_t* localName,
                  const char16_t* prefix) {
        static_assert(std::is_base_of_v<B, C>, "the member belongs to another class");
        info_.Add(NewObject<XmlElementAttributeTypeInfo>(
            u"XmlElementAttributeTypeInfo", Offset(member), &info_, uri, localName, prefix,
            &XmlElementAttributeValueBinder<M>::Instance()));
    }

    XmlObjectTypeInfo& info_;
};
