#pragma once
// The one way the toolkit starts programs. A program is started from an argument vector with
// posix_spawn, never through a shell, with:
//  - the program found on PATH when its name has no "/", used as given otherwise;
//  - standard input from /dev/null, standard output and error shared with this process;
//  - no other descriptor of this process (everything from 3 up is closed in the child);
//  - default signal dispositions and an empty signal mask, whatever this process set;
//  - this process's environment.
// A program that cannot be started raises zorbel::Error with the file error of the failure
// (53 "File not found" for a missing program, 70 "Permission denied" for one that may not be
// run, ...) and a description naming the program. Nothing is raised for what the program does
// once it runs: its exit status tells.

#include <sys/types.h>

#include <string>
#include <vector>

namespace zorbel::system {

inline constexpr const char* kSystemErrorSource = "Zorbel.System";

struct ExitStatus {
    bool exited = false;  // ended normally; code holds its exit code
    int code = 0;
    int signal = 0;       // the signal that ended it, when it did not exit normally
    bool succeeded() const { return exited && code == 0; }
};

// A started program. wait() blocks until it has ended. A child that is neither waited for nor
// still owned (destroyed or detached) is reaped by a background thread, so it never lingers
// as a zombie.
class ChildProcess {
public:
    explicit ChildProcess(pid_t pid) : pid_(pid) {}
    ChildProcess(ChildProcess&& other) noexcept;
    ChildProcess& operator=(ChildProcess&&) = delete;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess() { detach(); }

    pid_t pid() const { return pid_; }
    // The exit status; when the status cannot be had (the child was reaped elsewhere) the
    // result is neither an exit nor a signal, which callers treat as failure.
    ExitStatus wait();
    void detach();

private:
    pid_t pid_;
};

// Starts the program; raises zorbel::Error when it cannot be started.
ChildProcess startProcess(const std::vector<std::string>& argv);
// Starts the program and waits for it.
ExitStatus runProcess(const std::vector<std::string>& argv);

}  // namespace zorbel::system
