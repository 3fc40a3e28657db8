#include "xml/model/XmlTextAttributeTypeInfo.h"

#include "xml/model/XmlAttributeBinder.h"
#include "xml/model/XmlObject.h"

XmlTextAttributeTypeInfo::XmlTextAttributeTypeInfo(std::uint32_t offset, ObjectTypeInfo* owningType,
                                                   XmlAttributeBinder* binder)
    : AttributeTypeInfo(offset, KindText, owningType, u"#text"), binder_(binder) {}

bool XmlTextAttributeTypeInfo::AppendText(XmlObject* owner, XmlObject* root,
                                          std::u16string_view text) const {
    AppendTextPiece(*binder_, MemberOf<XmlBaseAttribute>(owner), root, text);
    return true;
}
