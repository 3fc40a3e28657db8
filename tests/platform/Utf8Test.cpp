#include "platform/Utf8.h"

#include <gtest/gtest.h>

namespace {

TEST(Utf8, RoundTripsEveryPlane) {
    const std::u16string text = u"A\u00e9\u20ac\U0001F600z";
    const std::string utf8 = platform::ToUtf8(text);
    EXPECT_EQ(utf8, "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z");
    EXPECT_EQ(platform::ToUtf16(utf8), text);
}

TEST(Utf8, MalformedInputBecomesReplacementCharacters) {
    struct Case {
        const char* bytes;
        std::u16string expected;
    } cases[] = {
        {"\x80", u"\uFFFD"},              // stray continuation byte
        {"\xC0\xAF", u"\uFFFD\uFFFD"},    // overlong lead byte
        {"\xE0\x80\xAF", u"\uFFFD"},      // overlong three-byte form
        {"\xED\xA0\x80", u"\uFFFD"},      // encoded surrogate
        {"\xF4\x90\x80\x80", u"\uFFFD"},  // above U+10FFFF
        {"a\xE2\x82", u"a\uFFFD"},        // truncated at the end
        {"\xE2\x82"
         "b",
         u"\uFFFD"
         "b"},  // truncated before ASCII
        {"\xFF", u"\uFFFD"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(platform::ToUtf16(c.bytes), c.expected) << c.bytes;
    }
}

TEST(Utf8, UnpairedSurrogatesBecomeReplacementCharacters) {
    const std::u16string lone_high = {0xD800, u'x'};
    const std::u16string lone_low = {0xDC00};
    EXPECT_EQ(platform::ToUtf8(lone_high), "\xEF\xBF\xBDx");
    EXPECT_EQ(platform::ToUtf8(lone_low), "\xEF\xBF\xBD");
}

}  // namespace
