// Several processes on one hive: concurrent writers, and writers killed at random moments.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "platform/registry/hive_file.hpp"
#include "platform/registry/registry.hpp"
#include "tests/platform/registry/registry_fixture.hpp"

namespace zorbel::testing {
namespace {

using registry::Hive;
using registry::Value;
namespace detail = registry::detail;
namespace fs = std::filesystem;

const Hive kCU = Hive::CurrentUser;

// Runs `body` in a child process; the child exits 0 when body returns, 1 on an exception.
// The child dies with the test program, so a failing test never leaves a writer running.
template <typename Body>
pid_t spawn(Body body) {
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) _exit(1);
        int code = 0;
        try {
            body();
        } catch (...) {
            code = 1;
        }
        _exit(code);
    }
    return pid;
}

int waitExit(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Kills and reaps the child when the test leaves early, for example on an exception.
class KillOnExit {
public:
    explicit KillOnExit(pid_t pid) : pid_(pid) {}
    ~KillOnExit() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitExit(pid_);
        }
    }
    KillOnExit(const KillOnExit&) = delete;
    KillOnExit& operator=(const KillOnExit&) = delete;
    // Kills the child now and returns its exit status.
    int killNow() {
        kill(pid_, SIGKILL);
        const int status = waitExit(pid_);
        pid_ = -1;
        return status;
    }

private:
    pid_t pid_;
};

TEST_F(RegistryTest, ConcurrentWritersKeepEachOthersValues) {
    constexpr int kWriters = 3;
    constexpr int kValuesEach = 80;
    int gate[2];
    ASSERT_EQ(pipe(gate), 0);
    std::vector<pid_t> children;
    for (int w = 0; w < kWriters; ++w) {
        children.push_back(spawn([&, w] {
            close(gate[1]);
            char c;
            while (read(gate[0], &c, 1) < 0) {
            }  // wait until all writers exist, then start together
            for (int i = 0; i < kValuesEach; ++i) {
                const std::string name = "W" + std::to_string(w) + "-" + std::to_string(i);
                registry::writeValue(kCU, "Shared", name, Value::ofString(name + " data"));
                if (i % 10 == 0) registry::createKey(kCU, "Shared\\" + name);
            }
        }));
    }
    close(gate[0]);
    close(gate[1]);
    for (pid_t pid : children) EXPECT_EQ(waitExit(pid), 0);

    EXPECT_EQ(registry::valueNames(kCU, "Shared").size(), size_t{kWriters * kValuesEach});
    for (int w = 0; w < kWriters; ++w) {
        for (int i = 0; i < kValuesEach; ++i) {
            const std::string name = "W" + std::to_string(w) + "-" + std::to_string(i);
            EXPECT_EQ(registry::readValue(kCU, "Shared", name), Value::ofString(name + " data")) << name;
        }
    }
    EXPECT_EQ(registry::subkeyNames(kCU, "Shared").size(), size_t{kWriters * kValuesEach / 10});
}

// Each write adds "V<n>" and sets "Last" to n in one update, so a complete hive holds exactly
// V1..V<Last>, each with its own payload. Anything else means a write was torn.
std::string payload(uint32_t n) { return std::to_string(n) + ":" + std::string(200 + n % 97, static_cast<char>('a' + n % 26)); }

uint32_t checkedCount(const detail::Key& root) {
    const detail::Key* key = root.find({"Crash"});
    if (key == nullptr) return 0;
    const Value* last = key->findValue("Last");
    if (last == nullptr || last->type != registry::ValueType::DWord) {
        ADD_FAILURE() << "values without a Last marker";
        return 0;
    }
    EXPECT_EQ(key->values().size(), size_t{last->dword} + 1);
    for (uint32_t n = 1; n <= last->dword; ++n) {
        const Value* v = key->findValue("V" + std::to_string(n));
        if (v == nullptr || *v != Value::ofString(payload(n))) {
            ADD_FAILURE() << "V" << n << " is missing or wrong with Last=" << last->dword;
            break;
        }
    }
    return last->dword;
}

void writeForever() {
    uint32_t n = checkedCount(detail::loadHive(kCU));
    while (true) {
        ++n;
        detail::updateHive(kCU, [n](detail::Key& root) {
            detail::Key& key = root.ensure({"Crash"});
            key.setValue("V" + std::to_string(n), Value::ofString(payload(n)));
            key.setValue("Last", Value::ofDWord(n));
            return true;
        });
    }
}

TEST_F(RegistryTest, KilledWritersLeaveACompleteHive) {
    std::mt19937 random(7);
    uint32_t count = 0;
    int readsWhileWriting = 0;
    for (int round = 0; round < 60; ++round) {
        KillOnExit child(spawn(writeForever));
        // Read while the child writes: every read sees one complete version.
        const auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(random() % 25000);
        do {
            const uint32_t seen = checkedCount(detail::loadHive(kCU));
            EXPECT_GE(seen, count);
            ++readsWhileWriting;
        } while (std::chrono::steady_clock::now() < until);
        EXPECT_EQ(child.killNow(), 128 + SIGKILL);
        if (HasFailure()) break;

        const uint32_t now = checkedCount(detail::loadHive(kCU));
        EXPECT_GE(now, count);
        count = now;
    }
    EXPECT_GT(count, 0u) << "the writers never completed a write";
    EXPECT_GT(readsWhileWriting, 0);

    // A surviving writer clears what killed ones left behind and the lock is free again.
    registry::writeValue(kCU, "After", "v", Value::ofDWord(1));
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(root())) files.push_back(entry.path().filename().string());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"HKCU.hive", "HKCU.hive.lock"}));
    EXPECT_EQ(checkedCount(detail::loadHive(kCU)), count);
}

}  // namespace
}  // namespace zorbel::testing
