#include "platform/system/command_line.hpp"

#include <gtest/gtest.h>

#include "tests/platform/system/probe.hpp"

namespace zorbel::system {
namespace {

using Args = std::vector<std::string>;

struct SplitCase {
    const char* line;
    Args expected;
};

TEST(CommandLine, SplitsByTheClassicQuotingRules) {
    const SplitCase cases[] = {
        {"prog a b", {"prog", "a", "b"}},
        {"  prog   a  ", {"prog", "a"}},
        {"prog\ta\tb", {"prog", "a", "b"}},
        {"\"/opt/My Player/player\" \"%1\"", {"/opt/My Player/player", "%1"}},
        {"prog \"a b\" c", {"prog", "a b", "c"}},
        {"prog a\"b c\"d", {"prog", "ab cd"}},
        {R"(prog a\b)", {"prog", R"(a\b)"}},
        {R"(prog a\\"b c")", {"prog", R"(a\b c)"}},
        {R"(prog a\"b)", {"prog", R"(a"b)"}},
        {R"(prog a\\\"b)", {"prog", R"(a\"b)"}},
        {R"(prog "a""b")", {"prog", R"(a"b)"}},
        {R"(prog a"b"" c d)", {"prog", R"(ab" c d)"}},
        {"prog \"\" x", {"prog", "", "x"}},
        {"prog \"unfinished arg", {"prog", "unfinished arg"}},
        {"prog a\nb", {"prog", "a\nb"}},
        // The program part knows no escapes and ends at its closing quote.
        {R"("prog\" x)", {R"(prog\)", "x"}},
        {"\"a b\"c d", {"a b", "c", "d"}},
        {"\"only program", {"only program"}},
        {"", {}},
        {" \t ", {}},
    };
    for (const SplitCase& c : cases) EXPECT_EQ(splitCommandLine(c.line), c.expected) << c.line;
}

TEST(CommandLine, ArgumentTextHasNoProgramPart) {
    EXPECT_EQ(splitArguments(R"("a b"c d)"), (Args{"a bc", "d"}));
    EXPECT_EQ(splitArguments(R"(\"x\")"), (Args{R"("x")"}));
    EXPECT_TRUE(splitArguments("   ").empty());
}

TEST(CommandLine, QuotesOnlyWhatNeedsIt) {
    const std::pair<const char*, const char*> cases[] = {
        {"plain", "plain"},
        {"", R"("")"},
        {"a b", R"("a b")"},
        {R"(a"b)", R"("a\"b")"},
        {R"(a\)", R"(a\)"},
        {R"(a b\)", R"("a b\\")"},
        {R"(a\"b)", R"("a\\\"b")"},
        {"tab\there", "\"tab\there\""},
    };
    for (const auto& [argument, quoted] : cases) EXPECT_EQ(quoteArgument(argument), quoted) << argument;
}

TEST(CommandLine, JoinedArgumentsSplitBackUnchanged) {
    const Args& hostile = testing::hostileArguments();
    EXPECT_EQ(splitArguments(joinArguments(hostile)), hostile);
    Args withProgram = splitCommandLine("prog " + joinArguments(hostile));
    ASSERT_FALSE(withProgram.empty());
    EXPECT_EQ(Args(withProgram.begin() + 1, withProgram.end()), hostile);
}

}  // namespace
}  // namespace zorbel::system
