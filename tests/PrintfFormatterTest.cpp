#include "services/PrintfFormatter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "RecordingListener.h"

namespace {

template <class... Args>
std::u16string Printf(const char16_t* format, const Args&... args) {
    char16_t buffer[256];
    const auto result = PrintfFormatter::FormatValues(buffer, 256, format, args...);
    return std::u16string(buffer, result.count);
}

TEST(PrintfFormatter, Conversions) {
    struct Case {
        std::u16string got;
        std::u16string expected;
    } cases[] = {
        {Printf(u"%s and %s", u"text", System::String(u"string")), u"text and string"},
        {Printf(u"%s", std::u16string(u"std")), u"std"},
        {Printf(u"%s", "narrow \xE9"), u"narrow \u00e9"},
        {Printf(u"%d|%i|%u", -5, 7, 4000000000u), u"-5|7|4000000000"},
        {Printf(u"%x|%X|%08X", 255, 255, 0xBEEF), u"ff|FF|0000BEEF"},
        {Printf(u"%x", -1), u"ffffffff"},
        {Printf(u"%x", std::int64_t(-1)), u"ffffffffffffffff"},
        {Printf(u"%0.3f", 2.0 / 3.0), u"0.667"},
        {Printf(u"%f|%.1f|%.0f", 1.5, -0.25, 2.5), u"1.500000|-0.2|2"},
        {Printf(u"%e|%g|%G", 12345.678, 0.0001, 1e20), u"1.234568e+04|0.0001|1E+20"},
        {Printf(u"100%%"), u"100%"},
        {Printf(u"[%5d|%-5d|%05d|%+d|% d]", 42, 42, -42, 42, 42), u"[   42|42   |-0042|+42| 42]"},
        {Printf(u"[%.3d|%#x|%#o]", 7, 255, 8), u"[007|0xff|010]"},
        {Printf(u"[%6s|%-6s|%.2s]", u"ab", u"ab", u"abcdef"), u"[    ab|ab    |ab]"},
        {Printf(u"[%*d|%.*s]", 4, 1, 2, u"xyz"), u"[   1|xy]"},
        {Printf(u"%ld %lld %I64d %hd %ls %zu", 1L, 2LL, 3LL, short(4), u"w", std::size_t(5)),
         u"1 2 3 4 w 5"},
        {Printf(u"%c%c", u'A', 'b'), u"Ab"},
        {Printf(u"%s", static_cast<const char16_t*>(nullptr)), u"(null)"},
        {Printf(u"%5.1f%%|%.1f", 99.94, 99.96), u" 99.9%|100.0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.got, c.expected) << Utf8(c.expected);
}

TEST(PrintfFormatter, MismatchedAndMissingArgumentsFormatSafely) {
    struct Case {
        std::u16string got;
        std::u16string expected;
    } cases[] = {
        {Printf(u"%d", u"text"), u"text"},  // a number conversion given text
        {Printf(u"%s", 42), u"42"},         // text given a number
        {Printf(u"%s", 0.5), u"0.5"},
        {Printf(u"%d", 3.9), u"3"},
        {Printf(u"%f", 2), u"2.000000"},
        {Printf(u"%d %d %s", 1), u"1  "},  // no argument left: nothing written
        {Printf(u"%y %"), u"%y %"},        // not conversions: text as written
        {Printf(u"%d", true), u"1"},
        {Printf(u"%99999999999999999999d", 1).size() == 255 ? u"cut" : u"long", u"cut"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.got, c.expected) << Utf8(c.expected);
}

TEST(PrintfFormatter, CutsAtCapacityMinusOneAndTerminates) {
    char16_t buffer[8];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    auto result = PrintfFormatter::FormatValues(buffer, 8, u"%s", u"0123456789");
    EXPECT_EQ(result.count, 7u);
    EXPECT_TRUE(result.cut);
    EXPECT_EQ(std::u16string(buffer), u"0123456");

    result = PrintfFormatter::FormatValues(buffer, 8, u"1234567");
    EXPECT_EQ(result.count, 7u);
    EXPECT_FALSE(result.cut);

    result = PrintfFormatter::FormatValues(buffer, 1, u"abc");
    EXPECT_EQ(result.count, 0u);
    EXPECT_EQ(buffer[0], 0);

    result = PrintfFormatter::Format(buffer, 8, nullptr, {});
    EXPECT_EQ(result.count, 0u);
}

}  // namespace
