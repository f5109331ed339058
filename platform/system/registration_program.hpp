#pragma once
// The project's registration program, which stands in for the classic platform's registration
// tool ("regsvr32"). It is looked up in this order; the first candidate that is an executable
// file wins:
//  1. $ZORBEL_REGISTER, when set and not empty (taken as it is, executable or not, so a
//     wrong setting shows up as a start failure instead of silently running another program);
//  2. "zorbel-register" in the folder of the running program;
//  3. "zorbel-register" in the folder of the library holding this code, then in "../bin"
//     next to that folder (the installed layout lib/ + bin/);
//  4. otherwise the bare name "zorbel-register", which the process runner looks up on PATH.

#include <string>
#include <string_view>
#include <vector>

namespace zorbel::system {

inline constexpr const char* kRegistrationProgramName = "zorbel-register";

struct RegistrationLookup {
    std::string override;              // step 1; empty when not set
    std::vector<std::string> folders;  // steps 2 and 3, in order
};

// The lookup as this process sees it (environment, own program, own library).
RegistrationLookup currentRegistrationLookup();
std::string findRegistrationProgram(const RegistrationLookup& lookup);
std::string registrationProgram();  // findRegistrationProgram(currentRegistrationLookup())

// True when a command's program is the classic registration tool: its file name (after the last
// "/" or "\") is "regsvr32" or "regsvr32.exe", without letter case.
bool isRegistrationTool(std::string_view program);

}  // namespace zorbel::system
