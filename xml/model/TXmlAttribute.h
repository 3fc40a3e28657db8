// The typed attribute members:
//
//   TXmlAttribute<T>                 inheritable: explicit value, then style
//                                    rules, then the same attribute of the
//                                    enclosing element, then the default
//   TXmlNonInheritableAttribute<T>   explicit value, style rules, default
//
// for T = int32, bool, double, float, int64 and WideString. Members are
// byte-packed: a member takes its bases (virtual table, owner, cached
// description), the size of its value, one flag byte and, when
// inheritable, one source link. WideString members keep the string at its
// natural alignment (its own code assumes it), so their size rounds up to
// that alignment.
//
// GetValue returns the value itself for the scalar types (a packed field
// cannot be referred to) and a reference for strings.
#pragma once

#include <cstdint>
#include <string_view>
#include <type_traits>
#include <utility>

#include "services/CoreError.h"
#include "xml/model/Attribute.h"
#include "xml/model/AttributeClassTypeInfo.h"
#include "xml/model/AttributeValue.h"
#include "xml/model/ValueText.h"
#include "xml/model/XmlAttributeTypeInfo.h"

// The expression policy of the typed attributes: a plain value, nothing is
// evaluated. It takes no storage.
template <class T>
struct NoExpression {};

namespace AttributeLayout {

template <class T>
inline constexpr bool kPacked = std::is_trivially_copyable_v<T>;

template <class T, class Link, bool Packed = kPacked<T>>
struct InheritableFields {
    T value{};
    std::uint8_t flags = 0;
    Link source = nullptr;
};
template <class T, class Link>
struct __attribute__((packed)) InheritableFields<T, Link, true> {
    T value{};
    std::uint8_t flags = 0;
    Link source = nullptr;
};

template <class T, bool Packed = kPacked<T>>
struct PlainFields {
    T value{};
    std::uint8_t set = 0;
};
template <class T>
struct __attribute__((packed)) PlainFields<T, true> {
    T value{};
    std::uint8_t set = 0;
};

// Parses the record's text into the value field; true when the member
// becomes set. Strings append in append mode when already set; a packed
// scalar field is parsed through a copy (it cannot be referred to).
template <class Fields>
bool ParseField(Fields& fields, bool isSet, const ValueText& record) {
    using T = decltype(Fields::value);
    if constexpr (std::is_same_v<T, WideString>) {
        if (record.mode != kValueTextReplace && isSet)
            fields.value += record.text;
        else
            fields.value = record.text;
        return true;
    } else {
        T parsed = fields.value;
        if (!AttributeValue::Parse(record.text, parsed))
            return false;
        fields.value = parsed;
        return true;
    }
}

template <class T>
void FormatValue(const T& value, ValueText& record) {
    if constexpr (std::is_same_v<T, WideString>)
        record.text = value;
    else
        AttributeValue::Format(value, record.text);
}

template <class T>
const T& ZeroValue() {
    static const T zero{};
    return zero;
}

}  // namespace AttributeLayout

template <class T, class E>
class TXmlNonInheritableAttribute;

template <class T, class E = NoExpression<T>>
class TXmlAttribute : public XmlAttribute, public E {
public:
    using ValueType = T;
    using ValueRef = std::conditional_t<AttributeLayout::kPacked<T>, T, const T&>;
    static constexpr bool kInheritable = true;

    TXmlAttribute() = default;
    // Holds `value` and is set.
    explicit TXmlAttribute(T value) {
        fields_.value = std::move(value);
        fields_.flags = kSet;
    }

    const ObjectTypeInfo& GetTypeInfo() const override {
        return AttributeClassTypeInfo<TXmlAttribute>();
    }
    void SetOwner(XmlObject* owner) override {
        owner_ = owner;
        fields_.flags &= static_cast<std::uint8_t>(~(kSourceCached | kHasValueCached));
    }
    void CopyFrom(const XmlAttribute& source, bool effective) override;
    bool IsSet() const override { return (fields_.flags & kSet) != 0; }
    void Reset() override {
        if (!owner_)
            return;
        fields_.flags &= static_cast<std::uint8_t>(~(kSet | kSourceCached | kHasValueCached));
        if (XmlAttribute* defaultMember = GetAttributeInfo().GetDefault()) {
            fields_.flags |= kSourceCached | kHasValueCached | kHasValue;
            fields_.source = static_cast<const TXmlAttribute*>(defaultMember);
        }
    }

    // The explicit value; else a style value; else the value of the
    // source (the enclosing element's attribute, or the default); else the
    // value type's zero.
    ValueRef GetValue() const {
        if (fields_.flags & kSet)
            return fields_.value;
        const XmlAttributeTypeInfo& description = GetAttributeInfo();
        if (description.IsStyled()) {
            TXmlAttribute styled;
            if (AttributeLookup::FindStyledValue(styled, *this, description)) {
                fields_.value = styled.fields_.value;
                return fields_.value;
            }
        }
        if (const TXmlAttribute* source = ResolveSource())
            return source->GetValue();
        return AttributeLayout::ZeroValue<T>();
    }
    void SetValue(T value) {
        fields_.value = std::move(value);
        fields_.flags |= kSet;
    }

    // Whether a value can be had without an explicit one: from the default
    // or from the enclosing elements. The answer is cached.
    bool HasInheritedValue() const {
        if (fields_.flags & kHasValueCached)
            return (fields_.flags & kHasValue) != 0;
        const XmlAttributeTypeInfo& description = GetAttributeInfo();
        bool has = false;
        if (description.GetDefault()) {
            has = true;
        } else if (description.IsInherited()) {
            const TXmlAttribute* parent = SameOnParent(description);
            has = parent && !parent->IsUnspecified();
        }
        fields_.flags |= kHasValueCached;
        if (has)
            fields_.flags |= kHasValue;
        else
            fields_.flags &= static_cast<std::uint8_t>(~kHasValue);
        return has;
    }
    bool IsUnspecified() const { return !IsSet() && !HasInheritedValue(); }

    void SetFromText(ValueText& record) {
        if (AttributeLayout::ParseField(fields_, IsSet(), record))
            fields_.flags |= kSet;
    }
    void ToText(ValueText& record) const { AttributeLayout::FormatValue<T>(GetValue(), record); }

private:
    template <class, class>
    friend class TXmlNonInheritableAttribute;

    static constexpr std::uint8_t kSet = 1;
    static constexpr std::uint8_t kSourceCached = 2;
    static constexpr std::uint8_t kHasValueCached = 4;
    static constexpr std::uint8_t kHasValue = 8;

    const TXmlAttribute* SameOnParent(const XmlAttributeTypeInfo& description) const {
        const XmlAttribute* found = AttributeLookup::FindOnParent(*this, description);
        if (!found || found->GetTypeInfo().GetTypeNumber() != GetTypeInfo().GetTypeNumber())
            return nullptr;
        return static_cast<const TXmlAttribute*>(found);
    }

    // The member that supplies the value while this one is not set. An
    // unset ancestor member without styles would only pass on what its own
    // source gives, so the link goes straight to that member: a cached read
    // costs the same at any depth.
    const TXmlAttribute* ResolveSource() const {
        if (fields_.flags & kSourceCached)
            return fields_.source;
        const XmlAttributeTypeInfo& description = GetAttributeInfo();
        const TXmlAttribute* source = nullptr;
        bool fromParent = false;
        if (description.IsInherited()) {
            if (const TXmlAttribute* parent = SameOnParent(description)) {
                fromParent = true;
                source = parent;
                if (!parent->IsSet() && !parent->GetAttributeInfo().IsStyled())
                    source = parent->ResolveSource();
            }
        }
        if (!fromParent)
            source = static_cast<const TXmlAttribute*>(description.GetDefault());
        fields_.source = source;
        fields_.flags |= kSourceCached;
        return source;
    }

    mutable AttributeLayout::InheritableFields<T, const TXmlAttribute*> fields_;
};

template <class T, class E = NoExpression<T>>
class TXmlNonInheritableAttribute : public XmlAttribute, public E {
public:
    using ValueType = T;
    using ValueRef = std::conditional_t<AttributeLayout::kPacked<T>, T, const T&>;
    static constexpr bool kInheritable = false;

    TXmlNonInheritableAttribute() = default;
    explicit TXmlNonInheritableAttribute(T value) {
        fields_.value = std::move(value);
        fields_.set = 1;
    }

    const ObjectTypeInfo& GetTypeInfo() const override {
        return AttributeClassTypeInfo<TXmlNonInheritableAttribute>();
    }
    void SetOwner(XmlObject* owner) override { owner_ = owner; }
    void CopyFrom(const XmlAttribute& source, bool effective) override;
    bool IsSet() const override { return fields_.set != 0; }
    void Reset() override { fields_.set = 0; }

    // The explicit value; else a style value; else the default's value;
    // else the value type's zero.
    ValueRef GetValue() const {
        if (fields_.set)
            return fields_.value;
        const XmlAttributeTypeInfo& description = GetAttributeInfo();
        if (description.IsStyled()) {
            TXmlNonInheritableAttribute styled;
            if (AttributeLookup::FindStyledValue(styled, *this, description)) {
                fields_.value = styled.fields_.value;
                return fields_.value;
            }
        }
        if (XmlAttribute* defaultMember = description.GetDefault())
            return static_cast<const TXmlNonInheritableAttribute*>(defaultMember)->GetValue();
        return AttributeLayout::ZeroValue<T>();
    }
    void SetValue(T value) {
        fields_.value = std::move(value);
        fields_.set = 1;
    }
    // Without inheritance a value without an explicit one can only come
    // from the default.
    bool HasInheritedValue() const { return GetAttributeInfo().GetDefault() != nullptr; }

    void SetFromText(ValueText& record) {
        if (AttributeLayout::ParseField(fields_, IsSet(), record))
            fields_.set = 1;
    }
    void ToText(ValueText& record) const { AttributeLayout::FormatValue<T>(GetValue(), record); }

private:
    mutable AttributeLayout::PlainFields<T> fields_;
};

namespace AttributeLayout {
[[noreturn]] void RaiseCopyTypeMismatch();

// Reads what CopyFrom copies from a member of either template; false when
// the destination is to become unset.
template <class T, class E>
bool ReadCopySource(const XmlAttribute& source, bool effective, T& value) {
    if (const auto* inheritable = dynamic_cast<const TXmlAttribute<T, E>*>(&source)) {
        if (!inheritable->IsSet() && !(effective && inheritable->HasInheritedValue()))
            return false;
        value = inheritable->GetValue();
        return true;
    }
    if (const auto* plain = dynamic_cast<const TXmlNonInheritableAttribute<T, E>*>(&source)) {
        if (!plain->IsSet() && !(effective && plain->HasInheritedValue()))
            return false;
        value = plain->GetValue();
        return true;
    }
    RaiseCopyTypeMismatch();
}
}  // namespace AttributeLayout

template <class T, class E>
void TXmlAttribute<T, E>::CopyFrom(const XmlAttribute& source, bool effective) {
    if (&source == this)
        return;
    T value{};
    if (AttributeLayout::ReadCopySource<T, E>(source, effective, value)) {
        fields_.value = std::move(value);
        fields_.flags |= kSet;
    } else {
        fields_.flags &= static_cast<std::uint8_t>(~kSet);
    }
}

template <class T, class E>
void TXmlNonInheritableAttribute<T, E>::CopyFrom(const XmlAttribute& source, bool effective) {
    if (&source == this)
        return;
    T value{};
    if (AttributeLayout::ReadCopySource<T, E>(source, effective, value)) {
        fields_.value = std::move(value);
        fields_.set = 1;
    } else {
        fields_.set = 0;
    }
}

// The attribute classes of the system. Their type information lives in the
// library, so a namespace module shares it with the program.
#define COREKIT_TYPED_ATTRIBUTE_CLASSES(X) \
    X(std::int32_t)                        \
    X(bool)                                \
    X(double)                              \
    X(float)                               \
    X(std::int64_t)                        \
    X(WideString)

#define COREKIT_DECLARE_ATTRIBUTE_TYPE_INFO(T)                                        \
    extern template const ObjectTypeInfo& AttributeClassTypeInfo<TXmlAttribute<T>>(); \
    extern template const ObjectTypeInfo& AttributeClassTypeInfo<TXmlNonInheritableAttribute<T>>();
COREKIT_TYPED_ATTRIBUTE_CLASSES(COREKIT_DECLARE_ATTRIBUTE_TYPE_INFO)
#undef COREKIT_DECLARE_ATTRIBUTE_TYPE_INFO

using XmlIntAttribute = TXmlAttribute<std::int32_t>;
using XmlBoolAttribute = TXmlAttribute<bool>;
using XmlDoubleAttribute = TXmlAttribute<double>;
using XmlFloatAttribute = TXmlAttribute<float>;
using XmlInt64Attribute = TXmlAttribute<std::int64_t>;
using XmlStringAttribute = TXmlAttribute<WideString>;
