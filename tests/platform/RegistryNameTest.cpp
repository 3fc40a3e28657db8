#include "platform/RegistryName.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using platform::FoldRegistryChar;

TEST(RegistryName, FoldsToUpperCaseAcrossScripts) {
    struct Case {
        char16_t in;
        char16_t out;
        const char* what;
    } cases[] = {
        {u'a', u'A', "ASCII lower"},
        {u'z', u'Z', "ASCII lower, end of range"},
        {u'Q', u'Q', "ASCII upper"},
        {u'_', u'_', "ASCII punctuation (sorts after the letters)"},
        {u'1', u'1', "digit"},
        {0x00E9, 0x00C9, "e acute"},
        {0x00FF, 0x0178, "y diaeresis leaves Latin-1"},
        {0x00B5, 0x039C, "micro sign becomes Greek capital mu"},
        {0x00DF, 0x00DF, "sharp s has no single-unit upper case"},
        {0x00F7, 0x00F7, "division sign inside the Latin-1 letter range"},
        {0x0101, 0x0100, "Latin Extended-A pair, lower"},
        {0x0100, 0x0100, "Latin Extended-A pair, upper"},
        {0x0131, u'I', "dotless i"},
        {0x0130, 0x0130, "capital I with dot stays"},
        {0x017F, u'S', "long s"},
        {0x01C5, 0x01C4, "title-case digraph"},
        {0x01C6, 0x01C4, "lower-case digraph"},
        {0x0266, 0xA7AA, "h with hook, large distance"},
        {0x03C2, 0x03A3, "final sigma"},
        {0x03C3, 0x03A3, "sigma"},
        {0x0430, 0x0410, "Cyrillic a"},
        {0x0450, 0x0400, "Cyrillic ie with grave"},
        {0x10D0, 0x1C90, "Georgian Mkhedruli"},
        {0x1E01, 0x1E00, "Latin Extended Additional, lower"},
        {0x1E02, 0x1E02, "Latin Extended Additional, upper"},
        {0x1F80, 0x1F88, "Greek with ypogegrammeni"},
        {0x1FB3, 0x1FBC, "alpha with ypogegrammeni"},
        {0x2170, 0x2160, "small roman numeral"},
        {0x24D0, 0x24B6, "circled letter"},
        {0xFF41, 0xFF21, "fullwidth a"},
        {0xD801, 0xD801, "surrogate"},
        {0xFFFF, 0xFFFF, "last unit"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(static_cast<int>(FoldRegistryChar(c.in)), static_cast<int>(c.out)) << c.what;
    }
}

// Folding twice must give the same as folding once, or two names that compare
// equal could stop doing so once stored.
TEST(RegistryName, FoldingIsIdempotentOverTheWholePlane) {
    for (char32_t c = 0; c <= 0xFFFF; ++c) {
        const char16_t once = FoldRegistryChar(static_cast<char16_t>(c));
        ASSERT_EQ(FoldRegistryChar(once), once) << "U+" << std::hex << static_cast<int>(c);
    }
}

TEST(RegistryName, FoldsWholeNames) {
    EXPECT_EQ(platform::FoldRegistryName(u"Caf\u00e9 Setting_1"), u"CAF\u00c9 SETTING_1");
    EXPECT_EQ(platform::FoldRegistryName(u""), u"");
}

TEST(RegistryName, SplitsPaths) {
    struct Case {
        std::u16string path;
        bool valid;
        std::vector<std::u16string> parts;
    } cases[] = {
        {u"", true, {}},
        {u"A", true, {u"A"}},
        {u"SOFTWARE\\Vendor\\Render ", true, {u"SOFTWARE", u"Vendor", u"Render "}},
        {u"A\\B\\", true, {u"A", u"B"}},
        {u"\\A", false, {}},
        {u"A\\\\B", false, {}},
        {u"A\\\\", false, {}},
        {u"\\", false, {}},
        {std::u16string(255, u'k'), true, {std::u16string(255, u'k')}},
        {std::u16string(256, u'k'), false, {}},
        {std::u16string{u'A', 0, u'B'}, false, {}},
        {std::u16string{u'A', 0xD800}, false, {}},
        {std::u16string{0xDC00}, false, {}},
        {std::u16string{0xD83D, 0xDE00}, true, {std::u16string{0xD83D, 0xDE00}}},
    };
    for (const Case& c : cases) {
        std::vector<std::u16string_view> parts;
        const bool valid = platform::SplitRegistryPath(c.path, parts);
        EXPECT_EQ(valid, c.valid) << c.path.size() << " units";
        if (valid) {
            EXPECT_EQ(std::vector<std::u16string>(parts.begin(), parts.end()), c.parts);
        }
    }
}

TEST(RegistryName, ValueNamesMayBeEmptyAndHoldBackslashes) {
    EXPECT_TRUE(platform::IsValidRegistryValueName(u""));
    EXPECT_TRUE(platform::IsValidRegistryValueName(u"a\\b"));
    EXPECT_TRUE(platform::IsValidRegistryValueName(std::u16string(16383, u'v')));
    EXPECT_FALSE(platform::IsValidRegistryValueName(std::u16string(16384, u'v')));
    EXPECT_FALSE(platform::IsValidRegistryValueName(std::u16string{u'v', 0}));
}

}  // namespace
