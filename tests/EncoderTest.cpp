#include "modules/system/Encoder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "RecordingListener.h"

using System::Encoder;

namespace {

std::u16string Encode(const std::string& bytes) {
    std::int32_t count = -1;
    char16_t* out = Encoder::Base64Encode(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                          static_cast<std::int32_t>(bytes.size()), count);
    std::u16string text(out, static_cast<std::size_t>(count));
    std::free(out);
    return text;
}

std::string Decode(const std::u16string& text) {
    std::int32_t count = -1;
    std::uint8_t* out =
        Encoder::Base64Decode(text.data(), static_cast<std::int32_t>(text.size()), count);
    std::string bytes(reinterpret_cast<char*>(out), static_cast<std::size_t>(count));
    std::free(out);
    return bytes;
}

TEST(Base64, Encodes) {
    EXPECT_EQ(Encode("Man"), u"TWFu");
    EXPECT_EQ(Encode("M"), u"TQ==");
    EXPECT_EQ(Encode("Ma"), u"TWE=");
    EXPECT_EQ(Encode(""), u"");
    EXPECT_EQ(Encode(std::string("\xff\x00\xfe", 3)), u"/wD+");

    const std::u16string block = Encode(std::string(57, 'x'));
    EXPECT_EQ(block.size(), 76u);
    EXPECT_EQ(block.find(u'='), std::u16string::npos);
    const std::u16string more = Encode(std::string(58, 'x'));
    EXPECT_EQ(more.size(), 80u);
    EXPECT_EQ(more.substr(78), u"==");
    EXPECT_EQ(more.substr(0, 76), block);  // no line break after the block
    EXPECT_EQ(more.find(u'\n'), std::u16string::npos);
}

TEST(Base64, Decodes) {
    EXPECT_EQ(Decode(u"TWFu"), "Man");
    EXPECT_EQ(Decode(u"TQ=="), "M");
    EXPECT_EQ(Decode(u"TWE="), "Ma");
    EXPECT_EQ(Decode(u""), "");
    EXPECT_EQ(Decode(u"TWF"), "");        // fewer than 4 characters
    EXPECT_EQ(Decode(u"TWFuTQ"), "Man");  // characters after the last group are ignored
    EXPECT_EQ(Decode(u"TQ==TWFu"), "M");  // padding ends the chunk
}

TEST(Base64, RoundTripsAcrossChunks) {
    std::string bytes;
    for (int i = 0; i < 1000; ++i)
        bytes.push_back(static_cast<char>(i * 7));
    EXPECT_EQ(Decode(Encode(bytes)), bytes);
    const std::string two = std::string(57, 'a') + std::string(3, 'b');
    const std::u16string text = Encode(two);
    EXPECT_EQ(text.size(), 80u);
    EXPECT_EQ(Decode(text), two);
}

TEST(Base64, BadChunksGiveNothingWhileOthersDecode) {
    const std::u16string good = Encode(std::string(57, 'g'));  // one whole chunk
    struct Case {
        char16_t bad;
        const char* what;
    } cases[] = {{u'\u00e9', "code of 128 or more"},
                 {u'*', "ASCII outside the alphabet"},
                 {u'\n', "line break"}};
    for (const auto& c : cases) {
        std::u16string spoiled = good;
        spoiled[40] = c.bad;
        EXPECT_EQ(Decode(spoiled + good), std::string(57, 'g')) << c.what;
        EXPECT_EQ(Decode(good + spoiled), std::string(57, 'g')) << c.what;
    }
    EXPECT_EQ(Decode(u"=AAA"), "");
    EXPECT_EQ(Decode(u"A=AA"), "");
}

TEST(Base64, RejectsNothingAndNeverRaises) {
    ScopedListener listener(new RecordingListener);
    std::u16string garbage;
    for (int i = 0; i < 500; ++i)
        garbage.push_back(static_cast<char16_t>((i * 7919) & 0xFFFF));
    EXPECT_NO_THROW(Decode(garbage));
    EXPECT_TRUE(listener->messages.empty());
}

}  // namespace
