// Type information: lists, indexes and their first/last rules, type
// numbers, group index, the framework's own descriptions.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "ObjectModelFixture.h"
#include "xml/model/DTEnumValueTypeInfo.h"
#include "xml/model/DTValueEditorTypeTypeInfo.h"

using namespace fixture;

namespace {

std::vector<std::u16string> Names(const AttributeTypeInfoList* list) {
    std::vector<std::u16string> names;
    if (list)
        for (const auto& d : *list)
            names.push_back(d->GetName());
    return names;
}

TEST(TypeInfo, ListsHoldTheClassFirstThenItsBases) {
    const ObjectTypeInfo& box = Box::ClassTypeInfo();
    EXPECT_EQ(Names(box.GetDescriptions(KindAttribute)),
              (std::vector<std::u16string>{u"depth", u"visible", u"ratio", u"scale", u"big",
                                           u"size", u"name"}));
    EXPECT_EQ(Names(box.GetDescriptions(KindElement)),
              (std::vector<std::u16string>{u"t:box", u"t:", u"xcr:"}));
    EXPECT_EQ(Names(box.GetDescriptions(KindChildElement)),
              (std::vector<std::u16string>{u"t:box", u"t:leaf", u"t:small", u"any:"}));
    // One member list entry per child member, however many names it takes.
    ASSERT_NE(box.GetMemberDescriptions(KindChildElement), nullptr);
    EXPECT_EQ(box.GetMemberDescriptions(KindChildElement)->size(), 1u);
    EXPECT_EQ(Names(box.GetDescriptions(KindText)), (std::vector<std::u16string>{u"#text"}));
    EXPECT_EQ(box.GetDescriptions(KindAttributeFallback), nullptr);
    EXPECT_EQ(box.GetMemberDescriptions(KindEnumValue), nullptr);
}

TEST(TypeInfo, ARedescribedMemberIsListedOnceAndIndexedByTheBase) {
    const ObjectTypeInfo& small = Small::ClassTypeInfo();
    const auto* all = small.GetDescriptions(KindAttribute);
    ASSERT_NE(all, nullptr);
    ASSERT_EQ(all->size(), 3u);  // Small's size, Node's size, Node's name
    const auto* members = small.GetMemberDescriptions(KindAttribute);
    ASSERT_EQ(members->size(), 2u);
    // The member list keeps the first added (Small's), the indexes the last
    // added (Node's).
    AttributeTypeInfo* own = (*all)[0].Get();
    AttributeTypeInfo* base = (*all)[1].Get();
    EXPECT_EQ((*members)[0].Get(), own);
    EXPECT_EQ(small.FindByName(KindAttribute, u"size"), base);
    EXPECT_EQ(small.FindByOffset(KindAttribute, own->GetOffset()), base);
    EXPECT_EQ(small.FindById(KindAttribute, kSizeId), base);
    EXPECT_EQ(own->GetOffset(), base->GetOffset());
}

TEST(TypeInfo, LookupsByOffsetNameAndId) {
    const XmlElementTypeInfo& box = Box::ClassElementTypeInfo();
    Box object;
    const auto offset =
        static_cast<std::uint32_t>(reinterpret_cast<char*>(&object.ratio) -
                                   reinterpret_cast<char*>(static_cast<XmlObject*>(&object)));
    ASSERT_NE(box.FindAttributeByMember(offset), nullptr);
    EXPECT_EQ(box.FindAttributeByMember(offset)->GetName(), u"ratio");
    EXPECT_EQ(box.FindAttributeByName(u"Ratio"), nullptr);  // case-sensitive
    EXPECT_EQ(box.FindAttributeById(kDepthId)->GetName(), u"depth");
    EXPECT_EQ(box.FindAttributeById(999), nullptr);
    // A class without ids answers none at once.
    EXPECT_FALSE(Holder::ClassTypeInfo().HasIds(KindAttribute));
    EXPECT_EQ(Holder::ClassElementTypeInfo().FindAttributeById(kSizeId), nullptr);
}

TEST(TypeInfo, ElementDescriptionsOfTheFramework) {
    const XmlElementTypeInfo& object = XmlObject::ClassElementTypeInfo();
    EXPECT_EQ(object.GetName(), u"xcr:");
    EXPECT_EQ(object.GetFactory(), nullptr);
    EXPECT_EQ(object.GetNamespaceUri(), kFrameworkNamespaceUri);
    const XmlElementTypeInfo& any = XmlAnyElement::ClassElementTypeInfo();
    EXPECT_EQ(any.GetName(), u"any:");
    EXPECT_TRUE(any.IsWildcardNamespace());
    ASSERT_NE(any.GetFactory(), nullptr);
    EXPECT_TRUE(XmlNamespace::Any().HasFactory(u""));
    // XmlAnyElement's list: its own element, then XmlObject's.
    EXPECT_EQ(Names(XmlAnyElement::ClassTypeInfo().GetDescriptions(KindElement)),
              (std::vector<std::u16string>{u"any:", u"xcr:"}));
}

TEST(TypeInfo, TypeNumbersAreDistinctPerClassAndSharedByItsObjects) {
    std::set<std::uint32_t> numbers;
    for (const ObjectTypeInfo* info :
         {static_cast<const ObjectTypeInfo*>(&XmlObject::ClassTypeInfo()),
          static_cast<const ObjectTypeInfo*>(&XmlAnyElement::ClassTypeInfo()),
          static_cast<const ObjectTypeInfo*>(&Box::ClassTypeInfo()),
          static_cast<const ObjectTypeInfo*>(&Node::ClassTypeInfo()),
          &AttributeClassTypeInfo<TXmlAttribute<std::int32_t>>(),
          &AttributeClassTypeInfo<TXmlNonInheritableAttribute<std::int32_t>>(),
          &AttributeClassTypeInfo<TextAttribute>()})
        numbers.insert(info->GetTypeNumber());
    EXPECT_EQ(numbers.size(), 7u);
    EXPECT_EQ(numbers.count(0), 0u);
    Box box;
    EXPECT_EQ(box.GetTypeInfo().GetTypeNumber(), Box::ClassTypeInfo().GetTypeNumber());
    EXPECT_EQ(box.depth.GetTypeInfo().GetTypeNumber(),
              AttributeClassTypeInfo<TXmlAttribute<std::int32_t>>().GetTypeNumber());
}

TEST(TypeInfo, AttributeClassesCarryTheirDesignTimeEntries) {
    const ObjectTypeInfo& boolean = AttributeClassTypeInfo<TXmlAttribute<bool>>();
    const auto* editor = boolean.GetDescriptions(KindValueEditorType);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(static_cast<DTValueEditorTypeTypeInfo&>(*(*editor)[0]).GetEditorType(), 2u);
    EXPECT_EQ(Names(boolean.GetDescriptions(KindEnumValue)),
              (std::vector<std::u16string>{u"true", u"false"}));
    const ObjectTypeInfo& text = AttributeClassTypeInfo<TXmlNonInheritableAttribute<WideString>>();
    EXPECT_EQ(
        static_cast<DTValueEditorTypeTypeInfo&>(*(*text.GetDescriptions(KindValueEditorType))[0])
            .GetEditorType(),
        1u);
    EXPECT_EQ(text.GetDescriptions(KindEnumValue), nullptr);
    EXPECT_EQ(AttributeClassTypeInfo<TextAttribute>().GetDescriptions(KindValueEditorType),
              nullptr);
}

TEST(TypeInfo, TheGroupIndexLeadsThroughNestedGroupsToTheTopGroup) {
    const XmlObjectTypeInfo& holder = Holder::ClassTypeInfo();
    // Paint's ids are reached through Outer's group, indexed under Holder's
    // own group description "outer".
    ASSERT_NE(holder.FindGroupById(kColorId), nullptr);
    EXPECT_EQ(holder.FindGroupById(kColorId)->GetName(), u"outer");
    EXPECT_EQ(holder.FindGroupById(kWeightId)->GetName(), u"outer");
    EXPECT_EQ(holder.FindGroupById(kSizeId), nullptr);
    EXPECT_TRUE(Paint::ClassElementTypeInfo().IsPassThrough());
}

}  // namespace
