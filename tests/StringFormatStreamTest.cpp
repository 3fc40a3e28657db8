#include "modules/system/StringFormatStream.h"

#include <gtest/gtest.h>

#include "RecordingListener.h"
#include "modules/system/Format.h"
#include "modules/system/MessageTable.h"

using System::Format;
using System::String;
using System::StringFormatStream;

namespace {

std::u16string Text(const String& s) {
    return std::u16string(s.View());
}

TEST(StringFormatStream, FillsPlaceholders) {
    struct Case {
        const char16_t* format;
        std::vector<String> strings;  // pushed in order
        std::u16string expected;
    } cases[] = {
        {u"no placeholders", {String(u"x"), String(u"y")}, u"no placeholders"},
        {u"{0}{0}", {String(u"ab")}, u"abab"},
        {u"{0}{0}", {String(u"")}, u""},
        {u"[{0}]", {String()}, u"[]"},
        {u"\\{0} {0}", {String(u"v")}, u"\\{0} v"},  // escaped, backslash stays
        {u"{1}-{0}", {String(u"a"), String(u"b")}, u"b-a"},
        {u"{0}", {String(u"{1}"), String(u"two")}, u"two"},  // later pass fills inserted text
        {u"{0}", {String(u"\\{1}"), String(u"two")}, u"\\{1}"},
        {u"open {0", {String(u"x")}, u"open {0"},
        {u"{ 0 }", {String(u"x")}, u"x"},  // blanks before the digits, rest ignored
        {u"{0x}", {String(u"x")}, u"x"},
        {u"{0:hex}", {String(u"str")}, u"str"},  // "hex" applies to integers only
        {u"{5}", {String(u"x")}, u"{5}"},
        {u"{0}{0}{0}", {String(u"{0}")}, u"{0}{0}{0}"},  // inserted text is not rescanned
    };
    for (const auto& c : cases) {
        StringFormatStream stream(c.format);
        for (const auto& s : c.strings)
            stream << s;
        EXPECT_EQ(Text(stream.ToString()), c.expected) << Utf8(c.format);
    }
}

TEST(StringFormatStream, IntegerArguments) {
    struct Case {
        const char16_t* format;
        std::int32_t value;
        std::u16string expected;
    } cases[] = {
        {u"{0:hex}", 255, u"ff"},
        {u"{0}", 255, u"255"},
        {u"{0:HEX}", 255, u"255"},
        {u"{0}", -1, u"-1"},
        {u"{0:hex}", -1, u"ffffffff"},
        {u"{0:hex}", 0, u"0"},
        {u"{0}", INT32_MIN, u"-2147483648"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Text(StringFormatStream::Format(c.format, c.value)), c.expected)
            << Utf8(c.format) << " " << c.value;
    }
}

TEST(StringFormatStream, WorkedExampleFromTheMessageTable) {
    EXPECT_EQ(Text(StringFormatStream::Format(System::LookupMessage(1016), String(u"/tmp/f"), 512,
                                              String(u"Disk full"))),
              u"Can not read 512 bytes from file '/tmp/f'; last system error is 'Disk full'");
}

TEST(StringFormatStream, BadPlaceholderNumbersRaiseTheEmptyMessage) {
    for (const char16_t* format : {u"a {} b", u"{x}", u"{:hex}"}) {
        ScopedListener listener(new RecordingListener);
        StringFormatStream stream(format);
        try {
            stream << String(u"arg");
            FAIL() << Utf8(format);
        } catch (const System::Exception& e) {
            EXPECT_EQ(e.GetMessageText(), u"");
            EXPECT_STREQ(e.GetSourceFile(), "Format");
        }
        ASSERT_EQ(listener->messages.size(), 1u);
        EXPECT_EQ(listener->messages[0], (RecordingListener::Message{1, u""}));
    }
    // Arguments applied before the failing pass stay applied.
    StringFormatStream stream(u"{0} {1} {}");
    EXPECT_THROW(stream << String(u"first"), System::Exception);
    EXPECT_EQ(Text(stream.ToString()), u"first {1} {}");
}

TEST(StringFormatStream, NullFormatRaises) {
    try {
        StringFormatStream stream(nullptr);
        FAIL();
    } catch (const System::NullPointerException& e) {
        EXPECT_STREQ(e.GetSourceFile(), "StringFormatStream");
    }
}

TEST(Format, ParseInt) {
    struct Case {
        const char16_t* text;
        std::int32_t value;
    } ok[] = {{u" 42abc", 42}, {u"-17", -17},      {u"+8", 8},
              {u"\t\n7", 7},   {u"4294967297", 1}, {u"2147483648", INT32_MIN},
              {u"007", 7}};
    for (const auto& c : ok)
        EXPECT_EQ(Format::ParseInt(String(c.text)), c.value) << Utf8(c.text);
    for (const char16_t* bad : {u"abc", u"", u"-", u" + 1", u"x1"}) {
        EXPECT_THROW(Format::ParseInt(String(bad)), System::Exception) << Utf8(bad);
    }
    EXPECT_THROW(Format::ParseInt(String()), System::Exception);
}

TEST(Format, ParseHex) {
    struct Case {
        const char16_t* text;
        std::uint32_t value;
    } ok[] = {{u"0x1f", 31},
              {u"0x 1f", 31},
              {u"0x1G7", 1},
              {u"0xFFffFFff", ~0u},
              {u"0x123456789", 0x23456789},
              {u"0x-1", ~0u},
              {u"0x+10", 16},
              {u"0x0x10", 16},
              {u"0x0X10", 16},
              {u"0x0", 0}};
    for (const auto& c : ok) {
        EXPECT_EQ(static_cast<std::uint32_t>(Format::ParseHex(String(c.text))), c.value)
            << Utf8(c.text);
    }
    for (const char16_t* bad : {u"0X1f", u"0xg", u"0x", u"0xZZ", u"0x-", u"1f", u"", u" 0x1"}) {
        try {
            Format::ParseHex(String(bad));
            FAIL() << Utf8(bad);
        } catch (const System::Exception& e) {
            EXPECT_EQ(e.GetMessageText(), u"");
            EXPECT_STREQ(e.GetSourceFile(), "Format");
        }
    }
}

TEST(Format, IntToString) {
    EXPECT_EQ(Text(Format::IntToString(-42)), u"-42");
    EXPECT_EQ(Text(Format::IntToString(3054, String(u"hex"))), u"bee");
    EXPECT_EQ(Text(Format::IntToString(3054, String(u"Hex"))), u"3054");
}

}  // namespace
