#include "platform/system/text_ops.hpp"

#include <gtest/gtest.h>

#include "frame/error.hpp"

namespace zorbel::system {
namespace {

using namespace std::string_literals;
using Parts = std::vector<std::string>;

TEST(TextOps, NulCut) {
    EXPECT_EQ(nulCut("name\0garbage"s), "name");
    EXPECT_EQ(nulCut("\0"s), "");
    EXPECT_EQ(nulCut("whole"), "whole");
}

TEST(TextOps, CutsCountCodePoints) {
    const std::string text = "\xC3\x84pfel\xE2\x82\xAC";  // "Äpfel€"
    EXPECT_EQ(cutLeftChars(text, 1), "pfel\xE2\x82\xAC");
    EXPECT_EQ(cutRightChars(text, 1), "\xC3\x84pfel");
    EXPECT_EQ(cutRightChars("song.mp3", 4), "song");
    EXPECT_EQ(cutLeftChars(text, 0), text);
    EXPECT_EQ(cutLeftChars(text, 99), "");
    EXPECT_EQ(cutRightChars(text, 6), "");
    for (auto cut : {cutLeftChars, cutRightChars}) {
        try {
            cut("abc", -1);
            ADD_FAILURE() << "negative count accepted";
        } catch (const Error& error) {
            EXPECT_EQ(error.number(), err::kInvalidCall);
        }
    }
}

TEST(TextOps, Words) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"0 0 0", "0", "0 0"},
        {"  12   34 56", "12", "34 56"},
        {"single", "single", ""},
        {"", "", ""},
        {"   ", "", ""},
        {"tab\tis part", "tab\tis", "part"},
    };
    for (const auto& [text, first, rest] : cases) {
        EXPECT_EQ(firstWord(text), first) << text;
        EXPECT_EQ(dropFirstWord(text), rest) << text;
    }
}

TEST(TextOps, SplitKeepsQuotedPartsWhole) {
    struct Case {
        const char* text;
        const char* separator;
        const char* quote;
        Parts expected;
    };
    const Case cases[] = {
        {"mp3:wav:mid", ":", "\"", {"mp3", "wav", "mid"}},
        {"a:\"b:c\":d", ":", "\"", {"a", "b:c", "d"}},
        {"1;;3;", ";", "\"", {"1", "", "3", ""}},
        {"x\"y;z\"w;v", ";", "\"", {"xy;zw", "v"}},
        {"\"open;end", ";", "\"", {"open;end"}},
        {"a<>b<>c", "<>", "", {"a", "b", "c"}},
        {"a:\"b:c\"", ":", "", {"a", "\"b", "c\""}},
        {"whole", "", "\"", {"whole"}},
        {"", ":", "\"", {}},
        {"'a|b'|c", "|", "'", {"a|b", "c"}},
    };
    for (const Case& c : cases) EXPECT_EQ(splitText(c.text, c.separator, c.quote), c.expected) << c.text;
}

}  // namespace
}  // namespace zorbel::system
