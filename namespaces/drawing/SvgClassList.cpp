#include "namespaces/drawing/SvgClassList.h"

#include "namespaces/drawing/SvgCssText.h"
#include "xml/model/AttributeClassTypeInfo.h"
#include "xml/model/TXmlAttribute.h"
#include "xml/model/XmlAttributeTypeInfo.h"

SvgClassList::SvgClassList(std::u16string_view text) {
    Assign(std::u16string(text));
}

const ObjectTypeInfo& SvgClassList::GetTypeInfo() const {
    return AttributeClassTypeInfo<SvgClassList>();
}

void SvgClassList::SetOwner(XmlObject* owner) {
    owner_ = owner;
}

void SvgClassList::CopyFrom(const XmlAttribute& source, bool effective) {
    if (&source == this)
        return;
    const auto* from = dynamic_cast<const SvgClassList*>(&source);
    if (!from)
        AttributeLayout::RaiseCopyTypeMismatch();
    if (!from->IsSet() && effective && from->GetOwner()) {
        if (const auto* fallback =
                dynamic_cast<const SvgClassList*>(from->GetAttributeInfo().GetDefault()))
            from = fallback;
    }
    if (!from->IsSet()) {
        Reset();
        return;
    }
    text_ = from->text_;
    names_ = from->names_;
    set_ = true;
}

void SvgClassList::Reset() {
    text_.clear();
    names_.clear();
    set_ = false;
}

std::size_t SvgClassList::GetClassCount() const {
    return names_.empty() ? 1 : names_.size();
}

std::u16string_view SvgClassList::GetClassName(std::size_t index) const {
    if (index >= names_.size())
        return {};
    return names_[index];
}

bool SvgClassList::HasClass(std::u16string_view name) const {
    for (const std::u16string& held : names_) {
        if (held == name)
            return true;
    }
    return false;
}

void SvgClassList::SetFromText(ValueText& record) {
    if (record.mode != kValueTextReplace && set_)
        Assign(text_ + record.text);
    else
        Assign(record.text);
}

void SvgClassList::ToText(ValueText& record) const {
    record.text.clear();
    for (const std::u16string& name : names_) {
        if (!record.text.empty())
            record.text.push_back(u' ');
        record.text.append(name);
    }
}

void SvgClassList::Assign(std::u16string text) {
    text_ = std::move(text);
    names_.clear();
    std::size_t i = 0;
    while (i < text_.size()) {
        while (i < text_.size() && SvgCssText::IsBlank(text_[i]))
            ++i;
        const std::size_t begin = i;
        while (i < text_.size() && !SvgCssText::IsBlank(text_[i]))
            ++i;
        if (i > begin)
            names_.emplace_back(text_, begin, i - begin);
    }
    set_ = true;
}
