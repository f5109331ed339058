#include <gtest/gtest.h>

#include "frame/text.hpp"

namespace zorbel::text {
namespace {

TEST(Text, CountsAndCutsByCodePoint) {
    const std::string s = "Grüße€";  // 6 code points, 10 bytes
    EXPECT_EQ(length(s), 6u);
    EXPECT_EQ(left(s, 3), "Grü");
    EXPECT_EQ(right(s, 2), "e€");
    EXPECT_EQ(mid(s, 2, 2), "üß");
    EXPECT_EQ(cutLeft(s, 4), "e€");
    EXPECT_EQ(cutRight(s, 5), "G");
    EXPECT_EQ(cutRight(s, 99), "");
    EXPECT_EQ(left(s, 99), s);
}

TEST(Text, InvalidUtf8DecodesAsReplacementAndNeverOverreads) {
    for (std::string bad : {std::string("\xC3"), std::string("a\xE2\x82"), std::string("\xF0\x9F\x98"),
                            std::string("\xC0\xAF"), std::string("\xED\xA0\x80"), std::string("\xFF\xFE")}) {
        std::u32string decoded = decodeUtf8(bad);
        EXPECT_FALSE(decoded.empty());
        EXPECT_NE(decoded.find(U'\uFFFD'), std::u32string::npos) << bad;
    }
}

TEST(Text, LowerAndUpperCaseBeyondAscii) {
    EXPECT_EQ(toLower("ÄÖÜ ÉÈ ABC Œ"), "äöü éè abc œ");
    EXPECT_EQ(toUpper("straße é"), "STRAßE É");
    EXPECT_TRUE(equalsNoCase("Müller", "MÜLLER"));
    EXPECT_FALSE(equalsNoCase("Müller", "Mueller"));
    EXPECT_FALSE(equalsNoCase("abc", "abcd"));
}

TEST(Text, Windows1252RoundTripsEveryByte) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(toWindows1252(fromWindows1252(all)), all);
    EXPECT_EQ(fromWindows1252("\x80\xE4\x9F"), "€äŸ");
    EXPECT_EQ(toWindows1252("€ä→"), "\x80\xE4?");
}

TEST(Text, LeadingNumberFollowsVal) {
    struct Case {
        const char* input;
        double expected;
    } cases[] = {
        {"123abc", 123}, {"  -4.5e2x", -450}, {"1 2 3", 123}, {"abc", 0}, {"", 0},
        {"&HFF", 255},   {"&HFFFF", -1},      {"&O17", 15},   {"3.", 3},  {"1e", 1}, {".5", 0.5},
    };
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(leadingNumber(c.input), c.expected) << c.input;
}

}  // namespace
}  // namespace zorbel::text
