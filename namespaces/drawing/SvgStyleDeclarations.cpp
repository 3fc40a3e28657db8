#include "namespaces/drawing/SvgStyleDeclarations.h"

#include "namespaces/drawing/SvgCssText.h"
#include "xml/model/AttributeClassTypeInfo.h"
#include "xml/model/TXmlAttribute.h"
#include "xml/model/XmlAttributeTypeInfo.h"

namespace {

bool HasUpperAscii(std::u16string_view text) {
    for (const char16_t c : text) {
        if (c >= u'A' && c <= u'Z')
            return true;
    }
    return false;
}

void ParseDeclaration(std::u16string_view part, SvgStyleDeclarations::Map& declarations) {
    const std::size_t colon = part.find(u':');
    if (colon == std::u16string_view::npos)
        return;
    const std::u16string_view name = SvgCssText::Trim(part.substr(0, colon));
    const std::u16string_view value = SvgCssText::Trim(part.substr(colon + 1));
    if (name.empty() || value.empty())
        return;
    for (const char16_t c : name) {
        if (!SvgCssText::IsNameChar(c))
            return;
    }
    declarations[SvgCssText::LowerAscii(name)] = std::u16string(value);
}

}  // namespace

SvgStyleDeclarations::SvgStyleDeclarations(std::u16string_view text) {
    Assign(std::u16string(text));
}

const ObjectTypeInfo& SvgStyleDeclarations::GetTypeInfo() const {
    return AttributeClassTypeInfo<SvgStyleDeclarations>();
}

void SvgStyleDeclarations::SetOwner(XmlObject* owner) {
    owner_ = owner;
}

void SvgStyleDeclarations::CopyFrom(const XmlAttribute& source, bool effective) {
    if (&source == this)
        return;
    const auto* from = dynamic_cast<const SvgStyleDeclarations*>(&source);
    if (!from)
        AttributeLayout::RaiseCopyTypeMismatch();
    if (!from->IsSet() && effective && from->GetOwner()) {
        if (const auto* fallback =
                dynamic_cast<const SvgStyleDeclarations*>(from->GetAttributeInfo().GetDefault()))
            from = fallback;
    }
    if (!from->IsSet()) {
        Reset();
        return;
    }
    text_ = from->text_;
    declarations_ = from->declarations_;
    set_ = true;
}

void SvgStyleDeclarations::Reset() {
    text_.clear();
    declarations_.clear();
    set_ = false;
}

std::u16string_view SvgStyleDeclarations::GetPropertyValue(std::u16string_view property) const {
    const auto found = HasUpperAscii(property)
                           ? declarations_.find(SvgCssText::LowerAscii(property))
                           : declarations_.find(property);
    if (found == declarations_.end())
        return {};
    return found->second;
}

void SvgStyleDeclarations::SetFromText(ValueText& record) {
    if (record.mode != kValueTextReplace && set_)
        Assign(text_ + record.text);
    else
        Assign(record.text);
}

void SvgStyleDeclarations::ToText(ValueText& record) const {
    record.text.clear();
    for (const auto& [name, value] : declarations_) {
        if (!record.text.empty())
            record.text.push_back(u';');
        record.text.append(name).append(u":").append(value);
    }
}

void SvgStyleDeclarations::Parse(std::u16string_view text, Map& declarations) {
    const std::u16string plain = SvgCssText::StripComments(text);
    const std::u16string_view view(plain);
    std::size_t begin = 0;
    std::size_t i = 0;
    while (i < view.size()) {
        const char16_t c = view[i];
        if (c == u'"' || c == u'\'') {
            i = SvgCssText::SkipString(view, i);
        } else if (c == u';') {
            ParseDeclaration(view.substr(begin, i - begin), declarations);
            begin = ++i;
        } else {
            ++i;
        }
    }
    ParseDeclaration(view.substr(begin), declarations);
}

void SvgStyleDeclarations::Assign(std::u16string text) {
    text_ = std::move(text);
    declarations_.clear();
    Parse(text_, declarations_);
    set_ = true;
}
