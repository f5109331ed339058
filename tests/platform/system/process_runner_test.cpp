#include "platform/system/process_runner.hpp"

#include <fcntl.h>
#include <signal.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "frame/error.hpp"
#include "platform/system/unique_fd.hpp"
#include "tests/platform/system/probe.hpp"

namespace zorbel::system {
namespace {

using testing::probeProgram;
using testing::ScopedEnv;

TEST(ProcessRunner, ArgumentsArriveByteForByte) {
    testing::TempFolder folder;
    ScopedEnv report("ZORBEL_PROBE_ARGV", (folder / "argv").string());
    std::vector<std::string> argv = {probeProgram()};
    for (const std::string& arg : testing::hostileArguments()) argv.push_back(arg);
    ExitStatus status = runProcess(argv);
    EXPECT_TRUE(status.succeeded());
    EXPECT_EQ(testing::readProbeArguments(folder / "argv"), argv);
}

TEST(ProcessRunner, ChildGetsNullInputAndNoInheritedDescriptors) {
    testing::TempFolder folder;
    ScopedEnv report("ZORBEL_PROBE_FDS", (folder / "fds").string());
    // A descriptor without close-on-exec, which a plain fork+exec would hand down.
    UniqueFd leaky(::open((folder / "leak").c_str(), O_WRONLY | O_CREAT, 0600));
    ASSERT_TRUE(leaky);
    ASSERT_TRUE(runProcess({probeProgram()}).succeeded());
    EXPECT_EQ(testing::readFile(folder / "fds"), "0\n1\n2\nstdin=/dev/null\n");
}

TEST(ProcessRunner, ReportsExitCodesAndSignals) {
    {
        ScopedEnv code("ZORBEL_PROBE_EXIT", "7");
        ExitStatus status = runProcess({probeProgram()});
        EXPECT_TRUE(status.exited);
        EXPECT_EQ(status.code, 7);
        EXPECT_FALSE(status.succeeded());
    }
    {
        ScopedEnv sig("ZORBEL_PROBE_SIGNAL", std::to_string(SIGTERM));
        ExitStatus status = runProcess({probeProgram()});
        EXPECT_FALSE(status.exited);
        EXPECT_EQ(status.signal, SIGTERM);
    }
}

TEST(ProcessRunner, ChildStartsWithDefaultSignalHandling) {
    // An ignored SIGTERM here must not stay ignored in the child.
    struct sigaction ignore{}, previous{};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGTERM, &ignore, &previous);
    ScopedEnv sig("ZORBEL_PROBE_SIGNAL", std::to_string(SIGTERM));
    ExitStatus status = runProcess({probeProgram()});
    sigaction(SIGTERM, &previous, nullptr);
    EXPECT_EQ(status.signal, SIGTERM);
}

TEST(ProcessRunner, ProgramsThatCannotStartRaiseFileErrors) {
    testing::TempFolder folder;
    testing::writeFile(folder / "not-executable", "data");
    struct Case {
        std::string program;
        int32_t number;
    };
    const Case cases[] = {
        {(folder / "missing-program").string(), err::kFileNotFound},
        {"zorbel-no-such-program-on-path", err::kFileNotFound},
        {(folder / "not-executable").string(), err::kPermissionDenied},
    };
    for (const Case& c : cases) {
        try {
            runProcess({c.program, "x"});
            ADD_FAILURE() << c.program << " started";
        } catch (const Error& error) {
            EXPECT_EQ(error.number(), c.number) << c.program;
            EXPECT_NE(error.description().find(c.program), std::string::npos) << error.description();
        }
    }
    EXPECT_THROW(runProcess({}), Error);
}

TEST(ProcessRunner, ChildrenLeftAloneAreReaped) {
    pid_t pid;
    {
        ChildProcess child = startProcess({probeProgram()});
        pid = child.pid();
    }
    // A zombie still answers kill(pid, 0); only a reaped child is gone.
    for (int i = 0; i < 500 && ::kill(pid, 0) == 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(::kill(pid, 0), -1);
    EXPECT_EQ(errno, ESRCH);
}

}  // namespace
}  // namespace zorbel::system
