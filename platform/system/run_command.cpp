#include "platform/system/run_command.hpp"

#include "frame/error.hpp"
#include "platform/system/command_line.hpp"
#include "platform/system/registration_program.hpp"

namespace zorbel::system {

ExitStatus runCommand(std::string_view commandLine) {
    std::vector<std::string> argv = splitCommandLine(commandLine);
    if (argv.empty()) throw Error::runtime(err::kInvalidCall, kSystemErrorSource);
    if (isRegistrationTool(argv.front())) argv.front() = registrationProgram();
    return runProcess(argv);
}

int16_t runProgramAndWait(const std::string& program, std::string_view arguments) {
    std::vector<std::string> argv = splitArguments(arguments);
    argv.insert(argv.begin(), program);
    try {
        return runProcess(argv).succeeded() ? 1 : 0;
    } catch (const Error&) {
        return 0;
    }
}

}  // namespace zorbel::system
