#include "xml/model/TXmlAttribute.h"

#include "xml/model/DTEnumValueTypeInfo.h"
#include "xml/model/DTValueEditorTypeTypeInfo.h"
#include "xml/model/NewObject.h"

namespace AttributeClassDetail {

void DescribeTypedAttribute(ObjectTypeInfo& info, bool boolean) {
    info.Add(NewObject<DTValueEditorTypeTypeInfo>(u"DTValueEditorTypeTypeInfo", &info,
                                                  boolean
                                                      ? DTValueEditorTypeTypeInfo::kBooleanEditor
                                                      : DTValueEditorTypeTypeInfo::kTextEditor));
    if (boolean) {
        info.Add(NewObject<DTEnumValueTypeInfo>(u"DTEnumValueTypeInfo", &info, u"true"));
        info.Add(NewObject<DTEnumValueTypeInfo>(u"DTEnumValueTypeInfo", &info, u"false"));
    }
}

}  // namespace AttributeClassDetail

namespace AttributeLayout {
void RaiseCopyTypeMismatch() {
    RaiseCoreError(
        u"Internal error (Can't copy an attribute value from a member of another type).");
}
}  // namespace AttributeLayout

#define COREKIT_DEFINE_ATTRIBUTE_TYPE_INFO(T)                                  \
    template const ObjectTypeInfo& AttributeClassTypeInfo<TXmlAttribute<T>>(); \
    template const ObjectTypeInfo& AttributeClassTypeInfo<TXmlNonInheritableAttribute<T>>();
COREKIT_TYPED_ATTRIBUTE_CLASSES(COREKIT_DEFINE_ATTRIBUTE_TYPE_INFO)
#undef COREKIT_DEFINE_ATTRIBUTE_TYPE_INFO

// Byte packing: bases (virtual table, owner, description) take 24 bytes;
// then the value, one flag byte and, when inheritable, the source link.
static_assert(sizeof(XmlAttribute) == 24);
static_assert(sizeof(TXmlAttribute<std::int32_t>) == 24 + 4 + 1 + 8);
static_assert(sizeof(TXmlAttribute<bool>) == 24 + 1 + 1 + 8);
static_assert(sizeof(TXmlAttribute<double>) == 24 + 8 + 1 + 8);
static_assert(sizeof(TXmlAttribute<float>) == 24 + 4 + 1 + 8);
static_assert(sizeof(TXmlAttribute<std::int64_t>) == 24 + 8 + 1 + 8);
static_assert(sizeof(TXmlNonInheritableAttribute<std::int32_t>) == 24 + 4 + 1);
static_assert(sizeof(TXmlNonInheritableAttribute<bool>) == 24 + 1 + 1);
static_assert(sizeof(TXmlNonInheritableAttribute<double>) == 24 + 8 + 1);
static_assert(sizeof(TXmlNonInheritableAttribute<float>) == 24 + 4 + 1);
static_assert(sizeof(TXmlNonInheritableAttribute<std::int64_t>) == 24 + 8 + 1);
static_assert(alignof(TXmlAttribute<std::int32_t>) == 1);
// The string keeps its alignment: fields as above, rounded up to it.
static_assert(sizeof(TXmlAttribute<WideString>) == 24 + sizeof(WideString) + 8 + 8);
static_assert(sizeof(TXmlNonInheritableAttribute<WideString>) == 24 + sizeof(WideString) + 8);

namespace {
// Every attribute class is described before the program's own code runs.
[[maybe_unused]] const bool g_attribute_classes_described = [] {
#define COREKIT_DESCRIBE_AT_STARTUP(T)          \
    AttributeClassTypeInfo<TXmlAttribute<T>>(); \
    AttributeClassTypeInfo<TXmlNonInheritableAttribute<T>>();
    COREKIT_TYPED_ATTRIBUTE_CLASSES(COREKIT_DESCRIBE_AT_STARTUP)
#undef COREKIT_DESCRIBE_AT_STARTUP
    return true;
}();
}  // namespace
