#include "xml/model/XmlAttributeTypeInfo.h"

#include "platform/com/ComError.h"
#include "platform/xml/SaxInterfaces.h"
#include "xml/model/XmlAttributeBinder.h"
#include "xml/model/XmlElementTypeInfo.h"
#include "xml/model/XmlObject.h"

XmlAttributeTypeInfo::XmlAttributeTypeInfo(std::uint32_t offset, ObjectTypeInfo* owningType,
                                           const char16_t* name, std::uint32_t id,
                                           XmlAttributeBinder* binder, const char16_t* namespaceUri,
                                           const char16_t* prefix)
    : AttributeTypeInfo(offset, KindAttribute, owningType, name ? name : u"", id), binder_(binder) {
    SetNamespace(namespaceUri, prefix);
}

XmlAttributeTypeInfo::~XmlAttributeTypeInfo() = default;

void XmlAttributeTypeInfo::SetNamespace(const char16_t* namespaceUri, const char16_t* prefix) {
    namespaceUri_ = namespaceUri;
    namespaceUriLength_ = StaticTextLength(namespaceUri);
    prefix_ = prefix;
    qualifiedName_ = QualifiedName({prefix, StaticTextLength(prefix)}, GetName());
}

void XmlAttributeTypeInfo::SetDefault(std::unique_ptr<XmlAttribute> member) {
    default_ = std::move(member);
}

bool XmlAttributeTypeInfo::TryBindValue(XmlObject* object, XmlObject* /*root*/,
                                        std::u16string_view namespaceUri,
                                        std::u16string_view localName,
                                        platform::xml::ISAXAttributes* attributes,
                                        std::int32_t index) const {
    if (localName != GetName())
        return false;
    if (namespaceUriLength_ != 0 && namespaceUri != GetNamespaceUri())
        return false;
    std::u16string_view value;
    platform::com::ThrowIfFailed(attributes->getValue(index, &value));
    std::u16string text(value);
    ValueText record{1, kValueTextReplace, text};
    binder_->FromText(MemberOf<XmlBaseAttribute>(object), record);
    return true;
}

bool XmlAttributeTypeInfo::AppendText(XmlObject* owner, XmlObject* root,
                                      std::u16string_view text) const {
    AppendTextPiece(*binder_, MemberOf<XmlBaseAttribute>(owner), root, text);
    return true;
}
