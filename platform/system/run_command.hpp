#pragma once
// Running command lines and programs for the utility library's callers. Both cut their text by
// the quoting rules of command_line.hpp and start the program through the process runner (no
// shell), and both return only after the program has ended.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/system/process_runner.hpp"

namespace zorbel::system {

// Runs a whole command line and waits for it. A command whose program is the classic
// registration tool ("regsvr32 /s \"<path>\"") runs the project's registration program with the
// same arguments instead (see registration_program.hpp), so the component is registered when
// the call returns. An empty command line raises error 5; a program that cannot be started
// raises the runner's error.
ExitStatus runCommand(std::string_view commandLine);

// The process class's "run program and wait": the program path as it is, its arguments cut
// from the argument text. 1 when the program ran and exited normally with status 0; 0 for any
// other end (non-zero status, a signal) and for a program that cannot be started.
int16_t runProgramAndWait(const std::string& program, std::string_view arguments);

}  // namespace zorbel::system
