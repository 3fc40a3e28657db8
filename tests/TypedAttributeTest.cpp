// Typed attributes: parsing, text forms, set state, inheritance with its
// caches, defaults, Reset and CopyFrom.
#include <gtest/gtest.h>

#include <limits>

#include "ObjectModelFixture.h"
#include "RecordingListener.h"
#include "services/ECoreException.h"

using namespace fixture;

namespace {

template <class A>
void Parse(A& member, std::u16string text, std::uint32_t mode = kValueTextReplace) {
    ValueText record{1, mode, text};
    member.SetFromText(record);
}

template <class A>
std::u16string Text(const A& member) {
    std::u16string text;
    ValueText record{1, kValueTextProduce, text};
    member.ToText(record);
    return text;
}

TEST(TypedAttribute, IntegersParseLikeTheCLibraryWithoutItsUndefinedCorners) {
    const struct {
        const char16_t* text;
        std::int32_t expected;
    } cases[] = {
        {u"42", 42},
        {u"  -17xyz", -17},
        {u"+8", 8},
        {u"0x1A", 26},
        {u"0X1a", 26},
        {u"0x", 0},  // too short for hex: decimal 0
        {u"0xZZ", 0},
        {u"0xFFFFFFFF", -1},
        {u"abc", 0},
        {u"", 0},
        {u"99999999999999999999", std::numeric_limits<std::int32_t>::max()},
        {u"-99999999999999999999", std::numeric_limits<std::int32_t>::min()},
        {u"-2147483648", std::numeric_limits<std::int32_t>::min()},
    };
    for (const auto& c : cases) {
        TXmlNonInheritableAttribute<std::int32_t> member;
        Parse(member, c.text);
        EXPECT_TRUE(member.IsSet()) << Utf8(c.text);
        EXPECT_EQ(member.GetValue(), c.expected) << Utf8(c.text);
    }
    TXmlNonInheritableAttribute<std::int64_t> wide;
    Parse(wide, u"0x1A");  // decimal only
    EXPECT_EQ(wide.GetValue(), 0);
    Parse(wide, u"-9223372036854775808");
    EXPECT_EQ(wide.GetValue(), std::numeric_limits<std::int64_t>::min());
    Parse(wide, u"123456789012345");
    EXPECT_EQ(wide.GetValue(), 123456789012345);
}

TEST(TypedAttribute, BooleansAcceptExactlyTrueAndFalse) {
    TXmlNonInheritableAttribute<bool> member;
    Parse(member, u"TRUE");
    EXPECT_FALSE(member.IsSet());
    Parse(member, u"false");
    EXPECT_TRUE(member.IsSet());
    EXPECT_FALSE(member.GetValue());
    Parse(member, u"yes");  // ignored: keeps false and set
    EXPECT_TRUE(member.IsSet());
    EXPECT_FALSE(member.GetValue());
    Parse(member, u"true");
    EXPECT_TRUE(member.GetValue());
    EXPECT_EQ(Text(member), u"true");
}

TEST(TypedAttribute, FloatingPointTextsRoundTrip) {
    TXmlNonInheritableAttribute<double> d;
    Parse(d, u" 2.5e3 tail");
    EXPECT_EQ(d.GetValue(), 2500.0);
    Parse(d, u"x");
    EXPECT_TRUE(d.IsSet());
    EXPECT_EQ(d.GetValue(), 0.0);
    for (double value : {0.1, -1e300, 3.141592653589793, 1e-310}) {
        TXmlNonInheritableAttribute<double> source(value);
        TXmlNonInheritableAttribute<double> back;
        Parse(back, Text(source));
        EXPECT_EQ(back.GetValue(), value) << Utf8(Text(source));
    }
    TXmlNonInheritableAttribute<float> f;
    Parse(f, u"1e60");  // beyond float range: infinity, not undefined behaviour
    EXPECT_EQ(f.GetValue(), std::numeric_limits<float>::infinity());
    Parse(f, u"0.1");
    EXPECT_EQ(f.GetValue(), 0.1f);
    TXmlNonInheritableAttribute<float> back;
    Parse(back, Text(f));
    EXPECT_EQ(back.GetValue(), 0.1f);
}

TEST(TypedAttribute, StringsAppendOnlyWhenSetAndInAppendMode) {
    TXmlNonInheritableAttribute<WideString> member;
    Parse(member, u"b", kValueTextAppend);  // unset: replaces
    EXPECT_EQ(member.GetValue(), u"b");
    TXmlAttribute<WideString> set(u"a");
    Parse(set, u"b", kValueTextAppend);
    EXPECT_EQ(set.GetValue(), u"ab");
    Parse(set, u"b", kValueTextReplace);
    EXPECT_EQ(set.GetValue(), u"b");
    TextAttribute text;
    Parse(text, u"x");
    Parse(text, u"y", kValueTextAppend);
    EXPECT_EQ(text.GetText(), u"xy");
}

TEST(TypedAttribute, AMemberOutsideATreeCannotFindItsDescription) {
    ScopedListener listener(new RecordingListener);
    Box box;  // never attached
    try {
        box.depth.GetValue();
        FAIL() << "no error";
    } catch (const ECoreException& e) {
        EXPECT_EQ(Utf8(e.GetMessageText()),
                  "Internal error (Can't get XML attribute info because element is not "
                  "initialized).");
    }
    // A set member needs no description.
    box.depth.SetValue(3);
    EXPECT_EQ(box.depth.GetValue(), 3);
}

// root Box > child Box > grandchild Leaf
struct Tree {
    SmartPtr<Box> root = new Box;
    Box* child = new Box;
    Leaf* leaf = new Leaf;
    Tree() {
        root->children.Append(SmartPtr<XmlObject>(child));
        child->children.Append(SmartPtr<XmlObject>(leaf));
        root->SetParent(nullptr);
    }
};

TEST(TypedAttribute, InheritedValuesComeFromTheParentThenTheDefault) {
    Tree tree;
    // Nothing set: the default of Node's "size".
    EXPECT_FALSE(tree.child->size.IsSet());
    EXPECT_TRUE(tree.child->size.HasInheritedValue());
    EXPECT_EQ(tree.child->size.GetValue(), 10);
    // Leaf's "size" has no default but inherits by id from the Box above.
    EXPECT_EQ(tree.leaf->size.GetValue(), 10);

    Tree fresh;
    fresh.root->size.SetValue(5);
    EXPECT_EQ(fresh.leaf->size.GetValue(), 5);
    EXPECT_EQ(fresh.child->size.GetValue(), 5);
    // A parent's value wins over the member's own default; after Reset the
    // default applies.
    fresh.child->size.Reset();
    EXPECT_EQ(fresh.child->size.GetValue(), 10);
    EXPECT_TRUE(fresh.child->size.HasInheritedValue());
}

TEST(TypedAttribute, WithoutSourceOrDefaultTheValueIsZero) {
    Tree tree;
    EXPECT_FALSE(tree.child->depth.HasInheritedValue());
    EXPECT_TRUE(tree.child->depth.IsUnspecified());
    EXPECT_EQ(tree.child->depth.GetValue(), 0);
    EXPECT_EQ(tree.root->name.GetValue(), u"");
}

TEST(TypedAttribute, CachesLastUntilTheTreeIsAttachedAgain) {
    Tree tree;
    EXPECT_EQ(tree.leaf->size.GetValue(), 10);
    tree.root->size.SetValue(7);
    // The source is cached: the grandchild still reads through its first
    // answer (the child's source, the default).
    EXPECT_EQ(tree.leaf->size.GetValue(), 10);
    tree.root->SetParent(nullptr);
    EXPECT_EQ(tree.leaf->size.GetValue(), 7);
}

TEST(TypedAttribute, InheritanceReachesGroupMembersAndTheirDefaults) {
    Tree tree;
    EXPECT_EQ(tree.child->paint->color.GetValue(), u"black");
    tree.root->paint->color.SetValue(u"red");
    tree.root->SetParent(nullptr);
    // The group's context element is the Box holding it, so the value comes
    // from the root Box's group.
    EXPECT_EQ(tree.child->paint->color.GetValue(), u"red");
    EXPECT_FALSE(tree.child->paint->weight.HasInheritedValue());
    tree.root->paint->weight.SetValue(3);
    tree.root->SetParent(nullptr);
    EXPECT_EQ(tree.child->paint->weight.GetValue(), 3);
}

TEST(TypedAttribute, CopyFromTakesExplicitOrEffectiveValues) {
    Tree tree;
    tree.root->size.SetValue(4);
    Box& child = *tree.child;
    Box other;
    other.SetParent(nullptr);
    other.size.CopyFrom(child.size, false);  // child's size is not set
    EXPECT_FALSE(other.size.IsSet());
    other.size.CopyFrom(child.size, true);  // but it has an inherited value
    EXPECT_TRUE(other.size.IsSet());
    EXPECT_EQ(other.size.GetValue(), 4);
    other.ratio.SetValue(0.5);
    child.ratio.CopyFrom(other.ratio, false);
    EXPECT_EQ(child.ratio.GetValue(), 0.5);
    // The same value type through the other template.
    TXmlNonInheritableAttribute<std::int32_t> plain(9);
    other.size.CopyFrom(plain, false);
    EXPECT_EQ(other.size.GetValue(), 9);
    ScopedListener listener(new RecordingListener);
    EXPECT_THROW(other.size.CopyFrom(other.ratio, false), ECoreException);
}

TEST(TypedAttribute, ResetWithoutOwnerChangesNothing) {
    TXmlAttribute<std::int32_t> member(5);
    member.Reset();
    EXPECT_TRUE(member.IsSet());
    TXmlNonInheritableAttribute<std::int32_t> plain(5);
    plain.Reset();
    EXPECT_FALSE(plain.IsSet());
}

// Packed members: no alignment gaps inside a member, and an element object
// costs its members plus one XmlObject header.
TEST(TypedAttribute, ElementObjectsCostTheirPackedMembers) {
    struct Five : XmlObject {
        TXmlAttribute<std::int32_t> a, b, c, d, e;
        TextAttribute text;
        XmlObjectList<XmlObject> children;
    };
    const std::size_t members = 5 * sizeof(TXmlAttribute<std::int32_t>) + sizeof(TextAttribute) +
                                sizeof(XmlObjectList<XmlObject>);
    EXPECT_EQ(sizeof(TXmlAttribute<std::int32_t>), 37u);
    EXPECT_EQ(sizeof(TXmlNonInheritableAttribute<bool>), 26u);
    // Only the class's own alignment (of the text and list members) can add
    // bytes, fewer than one pointer.
    EXPECT_LT(sizeof(Five) - (sizeof(XmlObject) + members), alignof(void*));
}

}  // namespace
