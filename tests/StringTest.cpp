#include "modules/system/String.h"

#include <gtest/gtest.h>

#include <map>

#include "RecordingListener.h"
#include "modules/system/Encoder.h"
#include "modules/system/Exception.h"

using System::String;

namespace {

std::u16string Text(const String& s) {
    return std::u16string(s.View());
}

TEST(String, NullEmptyAndNonEmptyStates) {
    const String null;
    const String fromNullPointer(static_cast<const char16_t*>(nullptr));
    const String empty(u"");
    const String zeroLength(u"abc", 0);
    const String narrowEmpty(std::string(""));
    const String narrowPointerEmpty("");

    EXPECT_TRUE(null.IsNull());
    EXPECT_TRUE(fromNullPointer.IsNull());
    EXPECT_FALSE(empty.IsNull());
    EXPECT_TRUE(zeroLength.IsNull());
    EXPECT_FALSE(narrowEmpty.IsNull());
    EXPECT_TRUE(narrowPointerEmpty.IsNull());
    for (const String* s : {&null, &empty, &zeroLength}) {
        EXPECT_EQ(s->Length(), 0u);
        EXPECT_EQ(std::u16string(s->CStr()), u"");
    }
}

TEST(String, CopiesShareTheBufferUntilOneChanges) {
    String original(u"shared");
    String copy = original;
    EXPECT_EQ(original.CStr(), copy.CStr());  // one buffer

    copy.Append(u'!');
    EXPECT_EQ(Text(original), u"shared");
    EXPECT_EQ(Text(copy), u"shared!");
    EXPECT_NE(original.CStr(), copy.CStr());

    // A pointer taken from one holder stays valid when a sharer changes.
    String third = original;
    const char16_t* pointer = original.CStr();
    third.At(0) = u'S';
    EXPECT_EQ(std::u16string(pointer), u"shared");
    EXPECT_EQ(Text(third), u"Shared");
}

TEST(String, ComparisonOrdersNullFirstAndUnitsUnsigned) {
    EXPECT_TRUE(String() < u"");
    EXPECT_TRUE(String() == nullptr);
    EXPECT_FALSE(String(u"") == nullptr);
    EXPECT_FALSE(String(u"") < u"");
    EXPECT_TRUE(String(u"") == u"");
    EXPECT_TRUE(String(u"ab") < u"abc");  // a proper prefix is less
    EXPECT_FALSE(String(u"abc") < u"ab");
    EXPECT_TRUE(String(u"\u00ff") < u"\uffff");
    EXPECT_TRUE(String(u"Z") < u"a");  // case-sensitive, by code unit
    // The same order keys a map.
    std::map<String, int> map{
        {String(u"b"), 1}, {String(u"B"), 2}, {String(), 3}, {String(u""), 4}};
    std::vector<std::u16string> order;
    for (const auto& [key, value] : map)
        order.push_back(key.IsNull() ? u"<null>" : Text(key));
    EXPECT_EQ(order, (std::vector<std::u16string>{u"<null>", u"", u"B", u"b"}));
}

TEST(String, Searching) {
    const String text(u"a,b,,c");
    EXPECT_EQ(text.IndexOf(u','), 1);
    EXPECT_EQ(text.LastIndexOf(u','), 4);
    EXPECT_EQ(text.IndexOf(u'x'), -1);
    EXPECT_EQ(String().IndexOf(u'a'), -1);
    EXPECT_EQ(text.IndexOf(String(u",,")), 3);
    EXPECT_EQ(text.IndexOf(String(u","), 2), 3);
    EXPECT_EQ(text.IndexOf(String(u""), 6), 6);   // empty text at the start
    EXPECT_EQ(text.IndexOf(String(u""), 7), -1);  // start beyond the length
    EXPECT_EQ(text.IndexOf(String(u"a"), -1), -1);
    EXPECT_EQ(String().IndexOf(String(u"")), -1);
}

TEST(String, SubstringBounds) {
    const String abc(u"abc");
    EXPECT_EQ(Text(abc.Substring(0, 2)), u"abc");
    EXPECT_EQ(Text(abc.Substring(1, 1)), u"b");
    const String empty = abc.Substring(3, 2);
    EXPECT_FALSE(empty.IsNull());
    EXPECT_EQ(empty.Length(), 0u);

    struct Case {
        std::int32_t start, end;
    } failing[] = {{0, 3}, {0, -1}, {3, 1}, {-1, 1}, {5, 2}};
    for (const auto& c : failing) {
        EXPECT_THROW(abc.Substring(c.start, c.end), System::IndexOutOfBoundsException)
            << c.start << "," << c.end;
    }
    EXPECT_THROW(String().Substring(0, 0), System::IndexOutOfBoundsException);
}

TEST(String, Split) {
    struct Case {
        String text;
        std::vector<std::u16string> parts;
    } cases[] = {
        {String(u"one\ntwo\n"), {u"one", u"two", u""}},
        {String(u""), {u""}},
        {String(u"plain"), {u"plain"}},
        {String(u"\n"), {u"", u""}},
        {String(u"a\n\nb"), {u"a", u"", u"b"}},
    };
    for (const auto& c : cases) {
        const auto parts = c.text.Split(u'\n');
        std::vector<std::u16string> texts;
        for (const auto& p : parts) {
            EXPECT_FALSE(p.IsNull());
            texts.push_back(Text(p));
        }
        EXPECT_EQ(texts, c.parts) << Utf8(Text(c.text));
    }
    const auto nullParts = String().Split(u'\n');
    ASSERT_EQ(nullParts.size(), 1u);
    EXPECT_TRUE(nullParts[0].IsNull());
}

TEST(String, Trim) {
    struct Case {
        std::u16string in;
        std::u16string out;
        bool null;
    } cases[] = {
        {u" a b ", u"a b", false}, {u"\t\r\n x  y\f\v", u"x  y", false},
        {u"   ", u"", true},       {u"", u"", true},
        {u"ab", u"ab", false},     {u"a\r", u"a", false},
    };
    for (const auto& c : cases) {
        String s(c.in);
        String sharer = s;
        s.Trim();
        EXPECT_EQ(Text(s), c.out) << Utf8(c.in);
        EXPECT_EQ(s.IsNull(), c.null) << Utf8(c.in);
        EXPECT_EQ(Text(sharer), c.in);  // the sharer keeps its text
    }
    String null;
    try {
        null.Trim();
        FAIL() << "Trim of the null string must raise";
    } catch (const System::NullPointerException& e) {
        EXPECT_EQ(e.GetMessageText(), u"Null pointer exception");
        EXPECT_STREQ(e.GetSourceFile(), "SmartPtr");
    }
}

TEST(String, AppendAndConcatenate) {
    String null;
    null.Append(String());
    EXPECT_FALSE(null.IsNull());
    EXPECT_EQ(null.Length(), 0u);

    String c;
    c.Append(u'x');
    EXPECT_EQ(Text(c), u"x");

    String self(u"ab");
    self.Append(self);
    EXPECT_EQ(Text(self), u"abab");

    const String left(u"left"), right(u"right");
    const String both = left + right;
    EXPECT_EQ(Text(both), u"leftright");
    EXPECT_EQ(Text(left), u"left");
    EXPECT_EQ(Text(right), u"right");
}

TEST(String, Replace) {
    String s(u"hello world");
    s.Replace(6, 0, String(u"big "));
    EXPECT_EQ(Text(s), u"hello world");  // count 0 inserts nothing
    s.Replace(0, 5, String(u"goodbye"));
    EXPECT_EQ(Text(s), u"goodbye world");
    s.Replace(8, 100, String());  // fewer units left than the count
    EXPECT_EQ(Text(s), u"goodbye ");
    EXPECT_THROW(s.Replace(8, 1, String(u"x")), System::IndexOutOfBoundsException);
    String null;
    null.Replace(0, 1, String(u"x"));
    EXPECT_TRUE(null.IsNull());
    String shared(u"abc");
    shared.Replace(1, 1, shared);
    EXPECT_EQ(Text(shared), u"aabcc");
}

TEST(String, AtChecksBoundsAndUnshares) {
    String s(u"abc");
    String sharer = s;
    s.At(1) = u'B';
    EXPECT_EQ(Text(s), u"aBc");
    EXPECT_EQ(Text(sharer), u"abc");
    for (std::int32_t bad : {-1, 3}) {
        try {
            s.At(bad);
            FAIL() << bad;
        } catch (const System::IndexOutOfBoundsException& e) {
            EXPECT_EQ(e.GetMessageText(), u"Index out of bounds");
            EXPECT_STREQ(e.GetSourceFile(), "String");
            EXPECT_GT(e.GetSourceLine(), 0);
        }
    }
    EXPECT_THROW(String().At(0), System::IndexOutOfBoundsException);
    EXPECT_THROW(String().MakeUnique(), System::NullPointerException);
}

TEST(String, NarrowConversions) {
    EXPECT_EQ(Text(String("A\xE9")), (std::u16string{0x41, 0xE9}));
    const std::string longText(300, '\xC4');
    const String converted(longText);
    EXPECT_EQ(converted.Length(), 300u);
    EXPECT_EQ(Text(converted), std::u16string(300, 0xC4));
    EXPECT_EQ(System::Encoder::Utf16ToNarrow(u"A\u00e9"), "A\xE9");
    EXPECT_EQ(System::Encoder::Utf16ToNarrow(static_cast<const char16_t*>(nullptr)), "");
    try {
        System::Encoder::Utf16ToNarrow(u"x\u0100");
        FAIL();
    } catch (const System::Exception& e) {
        EXPECT_EQ(e.GetMessageText(), u"String can not be converted");
        EXPECT_STREQ(e.GetSourceFile(), "Encoder");
    }
}

TEST(String, EmbeddedNullsStopPointerOperationsOnly) {
    const String s(u"a\0b", 3);
    EXPECT_EQ(s.Length(), 3u);
    EXPECT_FALSE(s == u"a");  // lengths differ
    EXPECT_EQ(s, String(u"a\0b", 3));
    EXPECT_EQ(s.IndexOf(u'b'), 2);
}

}  // namespace
