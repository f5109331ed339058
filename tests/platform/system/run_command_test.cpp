#include "platform/system/run_command.hpp"

#include <signal.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "frame/error.hpp"
#include "platform/system/command_line.hpp"
#include "platform/system/registration_program.hpp"
#include "tests/platform/system/probe.hpp"

namespace zorbel::system {
namespace {

using testing::probeProgram;
using testing::ScopedEnv;
using Args = std::vector<std::string>;

TEST(RunCommand, SplitsTheLineAndWaitsForTheProgram) {
    testing::TempFolder folder;
    ScopedEnv report("ZORBEL_PROBE_ARGV", (folder / "argv").string());
    const Args& hostile = testing::hostileArguments();
    ExitStatus status = runCommand("\"" + probeProgram() + "\" " + joinArguments(hostile));
    EXPECT_TRUE(status.succeeded());
    Args expected = {probeProgram()};
    expected.insert(expected.end(), hostile.begin(), hostile.end());
    EXPECT_EQ(testing::readProbeArguments(folder / "argv"), expected);
}

TEST(RunCommand, RegistrationToolRunsTheRegistrationProgram) {
    testing::TempFolder folder;
    ScopedEnv registration("ZORBEL_REGISTER", probeProgram());
    ScopedEnv report("ZORBEL_PROBE_ARGV", (folder / "argv").string());
    std::string library = (folder / "system folder/Braxtel.dll").string();
    runCommand("regsvr32 /s \"" + library + "\"");
    EXPECT_EQ(testing::readProbeArguments(folder / "argv"), (Args{probeProgram(), "/s", library}));
}

TEST(RunCommand, EmptyLinesAndMissingProgramsRaise) {
    for (const char* line : {"", "   "}) {
        try {
            runCommand(line);
            ADD_FAILURE() << "ran '" << line << "'";
        } catch (const Error& error) {
            EXPECT_EQ(error.number(), err::kInvalidCall);
        }
    }
    EXPECT_THROW(runCommand("zorbel-no-such-program-on-path x"), Error);
}

TEST(RunCommand, RecognisesTheRegistrationTool) {
    for (const char* program : {"regsvr32", "REGSVR32.EXE", "C:\\Windows\\System32\\regsvr32.exe", "/x/regsvr32"})
        EXPECT_TRUE(isRegistrationTool(program)) << program;
    for (const char* program : {"regsvr", "regsvr32x", "myregsvr32", "regsvr32.exe.bak", ""})
        EXPECT_FALSE(isRegistrationTool(program)) << program;
}

TEST(RegistrationLookup, TakesTheFirstExecutableCandidate) {
    testing::TempFolder folder;
    auto makeProgram = [&](const std::string& sub, bool executable) {
        std::filesystem::path file = folder / sub / kRegistrationProgramName;
        testing::writeFile(file, "#!/bin/true\n");
        ::chmod(file.c_str(), executable ? 0755 : 0644);
        return (folder / sub).string();
    };
    std::string plain = makeProgram("plain", false);
    std::string first = makeProgram("first", true);
    std::string second = makeProgram("second", true);
    std::string empty = (folder / "empty").string();
    struct Case {
        RegistrationLookup lookup;
        std::string expected;
    };
    const Case cases[] = {
        {{"/explicit/choice", {first}}, "/explicit/choice"},
        {{"", {empty, plain, second, first}}, second + "/" + kRegistrationProgramName},
        {{"", {first, second}}, first + "/" + kRegistrationProgramName},
        {{"", {empty, plain}}, kRegistrationProgramName},
        {{"", {}}, kRegistrationProgramName},
    };
    for (const Case& c : cases) EXPECT_EQ(findRegistrationProgram(c.lookup), c.expected);
}

TEST(RegistrationLookup, CurrentLookupHonoursTheEnvironment) {
    {
        ScopedEnv registration("ZORBEL_REGISTER", "/some/register");
        EXPECT_EQ(registrationProgram(), "/some/register");
    }
    ScopedEnv registration("ZORBEL_REGISTER", std::nullopt);
    RegistrationLookup lookup = currentRegistrationLookup();
    EXPECT_TRUE(lookup.override.empty());
    ASSERT_FALSE(lookup.folders.empty());
    EXPECT_EQ(lookup.folders.front(), std::filesystem::path(probeProgram()).parent_path().string())
        << "the running program's folder comes first (the probe is built next to the tests)";
}

TEST(RunProgramAndWait, OneOnlyForASuccessfulExit) {
    testing::TempFolder folder;
    struct Case {
        const char* variable;
        std::string value;
        int16_t expected;
    };
    const Case cases[] = {
        {"ZORBEL_PROBE_EXIT", "0", 1},
        {"ZORBEL_PROBE_EXIT", "1", 0},
        {"ZORBEL_PROBE_EXIT", "255", 0},
        {"ZORBEL_PROBE_SIGNAL", std::to_string(SIGKILL), 0},
    };
    for (const Case& c : cases) {
        ScopedEnv setting(c.variable, c.value);
        EXPECT_EQ(runProgramAndWait(probeProgram(), "-128 -QUIT"), c.expected) << c.variable << "=" << c.value;
    }
    EXPECT_EQ(runProgramAndWait((folder / "missing").string(), "x"), 0);
}

TEST(RunProgramAndWait, SplitsTheArgumentText) {
    testing::TempFolder folder;
    ScopedEnv report("ZORBEL_PROBE_ARGV", (folder / "argv").string());
    ASSERT_EQ(runProgramAndWait(probeProgram(), "-64 -MONO \"/my music/a \\\"b\\\".wav\" -QUIT"), 1);
    EXPECT_EQ(testing::readProbeArguments(folder / "argv"),
              (Args{probeProgram(), "-64", "-MONO", "/my music/a \"b\".wav", "-QUIT"}));
}

}  // namespace
}  // namespace zorbel::system
