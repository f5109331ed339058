#include "platform/system/process_runner.hpp"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <thread>
#include <utility>

#include "frame/error.hpp"

extern char** environ;

namespace zorbel::system {

namespace {

// Owner of the spawn attributes: default signal handling and an empty mask in the child.
class SpawnAttributes {
public:
    SpawnAttributes() {
        ok_ = posix_spawnattr_init(&attr_) == 0;
        if (!ok_) return;
        sigset_t all, none;
        sigfillset(&all);
        sigemptyset(&none);
        posix_spawnattr_setsigdefault(&attr_, &all);
        posix_spawnattr_setsigmask(&attr_, &none);
        posix_spawnattr_setflags(&attr_, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    }
    ~SpawnAttributes() {
        if (ok_) posix_spawnattr_destroy(&attr_);
    }
    SpawnAttributes(const SpawnAttributes&) = delete;
    SpawnAttributes& operator=(const SpawnAttributes&) = delete;
    bool ok() const { return ok_; }
    const posix_spawnattr_t* get() const { return &attr_; }

private:
    posix_spawnattr_t attr_;
    bool ok_ = false;
};

// Owner of the file actions: stdin from /dev/null, every descriptor from 3 up closed.
class SpawnFileActions {
public:
    SpawnFileActions() {
        initialised_ = posix_spawn_file_actions_init(&actions_) == 0;
        ok_ = initialised_ && posix_spawn_file_actions_addopen(&actions_, 0, "/dev/null", O_RDONLY, 0) == 0 &&
              posix_spawn_file_actions_addclosefrom_np(&actions_, 3) == 0;
    }
    ~SpawnFileActions() {
        if (initialised_) posix_spawn_file_actions_destroy(&actions_);
    }
    SpawnFileActions(const SpawnFileActions&) = delete;
    SpawnFileActions& operator=(const SpawnFileActions&) = delete;
    bool ok() const { return ok_; }
    const posix_spawn_file_actions_t* get() const { return &actions_; }

private:
    posix_spawn_file_actions_t actions_;
    bool initialised_ = false;
    bool ok_ = false;
};

std::vector<char*> cArguments(const std::vector<std::string>& argv) {
    std::vector<char*> out;
    out.reserve(argv.size() + 1);
    for (const std::string& arg : argv) out.push_back(const_cast<char*>(arg.c_str()));
    out.push_back(nullptr);
    return out;
}

Error startError(int errnoValue, const std::string& program) {
    Error base = fileError(errnoValue, kSystemErrorSource);
    return Error(base.number(), base.description() + ": " + program, kSystemErrorSource);
}

ExitStatus waitFor(pid_t pid) {
    int status = 0;
    pid_t result;
    do {
        result = ::waitpid(pid, &status, 0);
    } while (result < 0 && errno == EINTR);
    ExitStatus out;
    if (result != pid) return out;
    if (WIFEXITED(status)) {
        out.exited = true;
        out.code = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        out.signal = WTERMSIG(status);
    }
    return out;
}

}  // namespace

ChildProcess::ChildProcess(ChildProcess&& other) noexcept : pid_(std::exchange(other.pid_, -1)) {}

ExitStatus ChildProcess::wait() {
    if (pid_ <= 0) return {};
    return waitFor(std::exchange(pid_, -1));
}

void ChildProcess::detach() {
    if (pid_ <= 0) return;
    pid_t pid = std::exchange(pid_, -1);
    std::thread([pid] { waitFor(pid); }).detach();
}

ChildProcess startProcess(const std::vector<std::string>& argv) {
    if (argv.empty() || argv.front().empty()) throw Error::runtime(err::kBadFileName, kSystemErrorSource);
    SpawnAttributes attributes;
    SpawnFileActions actions;
    if (!attributes.ok() || !actions.ok()) throw startError(ENOMEM, argv.front());
    std::vector<char*> args = cArguments(argv);
    const std::string& program = argv.front();
    bool searchPath = program.find('/') == std::string::npos;
    pid_t pid = -1;
    int result = searchPath ? posix_spawnp(&pid, program.c_str(), actions.get(), attributes.get(), args.data(), environ)
                            : posix_spawn(&pid, program.c_str(), actions.get(), attributes.get(), args.data(), environ);
    if (result != 0) throw startError(result, program);
    return ChildProcess(pid);
}

ExitStatus runProcess(const std::vector<std::string>& argv) { return startProcess(argv).wait(); }

}  // namespace zorbel::system
