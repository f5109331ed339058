#include "platform/system/wildcard.hpp"

#include <gtest/gtest.h>

namespace zorbel::system {
namespace {

TEST(Wildcard, MatchesStarAndQuestionMarkWithoutCase) {
    struct Case {
        const char* pattern;
        const char* name;
        bool matches;
    };
    const Case cases[] = {
        {"*.mp3", "song.mp3", true},
        {"*.mp3", "SONG.MP3", true},
        {"*.MP3", "song.mp3", true},
        {"*.mp3", "song.mp3.bak", false},
        {"*.mp3", ".mp3", true},
        {"song.mp3", "song.mp3", true},
        {"song.mp3", "song.mp", false},
        {"s?ng.*", "sing.wav", true},
        {"s?ng.*", "sng.wav", false},
        {"?", "", false},
        {"?", "\xC3\x89", true},              // one code point, two bytes
        {"??", "\xC3\x89", false},
        {"\xC3\xA9t\xC3\xA9", "\xC3\x89T\xC3\x89", true},  // été / ÉTÉ
        {"\xC3\xA9*", "\xC3\xA8x", false},    // é does not match è
        {"*a*b*c", "xaybzc", true},
        {"*a*b*c", "xaybzcb", false},
        {"a*", "a", true},
        {"**", "", true},
        {"*.", "name", false},
        {"*x", "\xFF\xFEx", true},            // invalid bytes still count as characters
        {"", "anything", true},
        {"*", "anything", true},
        {"*.*", "no-dot", true},              // the classic pattern for every file
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WildcardPattern(c.pattern).matches(c.name), c.matches) << c.pattern << " vs " << c.name;
    }
}

TEST(Wildcard, FoldsCaseBeyondAscii) {
    EXPECT_EQ(foldCase("ABC-xyz"), "abc-xyz");
    EXPECT_EQ(foldCase("\xC3\x84\xC3\x96\xC3\x9C"), "\xC3\xA4\xC3\xB6\xC3\xBC");  // ÄÖÜ -> äöü
}

}  // namespace
}  // namespace zorbel::system
