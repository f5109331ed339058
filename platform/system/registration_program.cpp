#include "platform/system/registration_program.hpp"

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "frame/text.hpp"

namespace zorbel::system {

namespace {

std::string folderOf(const std::filesystem::path& file) { return file.parent_path().string(); }

std::string runningProgramFolder() {
    std::error_code error;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : folderOf(exe);
}

std::string thisLibraryFolder() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&isRegistrationTool), &info) == 0 || info.dli_fname == nullptr) return {};
    std::error_code error;
    std::filesystem::path file = std::filesystem::canonical(info.dli_fname, error);
    return error ? std::string() : folderOf(file);
}

bool isExecutableFile(const std::string& path) {
    struct stat info{};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

}  // namespace

RegistrationLookup currentRegistrationLookup() {
    RegistrationLookup lookup;
    if (const char* value = std::getenv("ZORBEL_REGISTER")) lookup.override = value;
    std::string programFolder = runningProgramFolder();
    if (!programFolder.empty()) lookup.folders.push_back(programFolder);
    std::string libraryFolder = thisLibraryFolder();
    if (!libraryFolder.empty() && libraryFolder != programFolder) lookup.folders.push_back(libraryFolder);
    if (!libraryFolder.empty()) lookup.folders.push_back(libraryFolder + "/../bin");
    return lookup;
}

std::string findRegistrationProgram(const RegistrationLookup& lookup) {
    if (!lookup.override.empty()) return lookup.override;
    for (const std::string& folder : lookup.folders) {
        std::string candidate = folder + "/" + kRegistrationProgramName;
        if (isExecutableFile(candidate)) return candidate;
    }
    return kRegistrationProgramName;
}

std::string registrationProgram() { return findRegistrationProgram(currentRegistrationLookup()); }

bool isRegistrationTool(std::string_view program) {
    size_t separator = program.find_last_of("/\\");
    std::string_view name = separator == std::string_view::npos ? program : program.substr(separator + 1);
    return text::equalsNoCase(name, "regsvr32") || text::equalsNoCase(name, "regsvr32.exe");
}

}  // namespace zorbel::system
