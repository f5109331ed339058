// zorbel-register: registers or unregisters component libraries, like the platform's
// registration tool. Usage:
//   zorbel-register [/u] [/s] [/list] library...
// /u unregisters, /s is silent (no messages, only the exit status), /list prints the classes
// the registry then holds for each library with their identifiers.

#include <dlfcn.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "frame/com.hpp"
#include "platform/registry/registry.hpp"

namespace {

using zorbel::registry::Hive;

struct Options {
    bool unregister = false;
    bool silent = false;
    bool list = false;
    std::vector<std::string> libraries;
};

bool isSwitch(const char* arg, const char* name) {
    return (arg[0] == '/' || arg[0] == '-') && strcasecmp(arg + 1, name) == 0;
}

Options parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        if (isSwitch(argv[i], "u")) options.unregister = true;
        else if (isSwitch(argv[i], "s")) options.silent = true;
        else if (isSwitch(argv[i], "list")) options.list = true;
        else options.libraries.push_back(argv[i]);
    }
    return options;
}

// Whether the library hands out a class factory for the class, that is, whether the class is
// implemented and can be created now.
bool available(void* handle, const std::string& clsidText) {
    auto getClassObject = reinterpret_cast<zorbel::com::DllGetClassObjectFn>(dlsym(handle, "DllGetClassObject"));
    auto clsid = zorbel::com::Guid::parse(clsidText);
    if (!getClassObject || !clsid) return false;
    void* factory = nullptr;
    if (getClassObject(&*clsid, &zorbel::com::IID_IClassFactory, &factory) != zorbel::com::kOk) return false;
    static_cast<zorbel::com::IClassFactory*>(factory)->Release();
    return true;
}

// The classes whose in-process server is this library file, with their identifiers.
void listClasses(void* handle, const std::string& library) {
    for (const std::string& clsid : zorbel::registry::subkeyNames(Hive::ClassesRoot, "CLSID")) {
        std::string key = "CLSID\\" + clsid;
        auto server = zorbel::registry::readValue(Hive::ClassesRoot, key + "\\InprocServer32", "");
        if (!server || server->asText() != library) continue;
        auto progId = zorbel::registry::readValue(Hive::ClassesRoot, key + "\\ProgID", "");
        std::printf("  %-34s %s  %s\n", progId ? progId->asText().c_str() : "?", clsid.c_str(),
                    available(handle, clsid) ? "available" : "not yet available");
    }
}

int runOne(const Options& options, const std::string& given) {
    std::error_code ignored;
    std::string library = std::filesystem::weakly_canonical(given, ignored).string();
    void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        if (!options.silent) std::fprintf(stderr, "zorbel-register: cannot load %s: %s\n", given.c_str(), dlerror());
        return 3;
    }
    const char* entry = options.unregister ? "DllUnregisterServer" : "DllRegisterServer";
    auto function = reinterpret_cast<zorbel::com::DllRegisterServerFn>(dlsym(handle, entry));
    if (!function) {
        if (!options.silent) std::fprintf(stderr, "zorbel-register: %s has no entry point %s\n", given.c_str(), entry);
        return 4;
    }
    zorbel::com::HResult result = function();
    if (result != zorbel::com::kOk) {
        if (!options.silent)
            std::fprintf(stderr, "zorbel-register: %s in %s failed with 0x%08X\n", entry, given.c_str(),
                         static_cast<unsigned>(result));
        return 5;
    }
    if (!options.silent) std::printf("%s succeeded for %s\n", entry, library.c_str());
    if (options.list) listClasses(handle, library);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options = parse(argc, argv);
    if (options.libraries.empty()) {
        std::fprintf(stderr, "usage: zorbel-register [/u] [/s] [/list] library...\n");
        return 2;
    }
    int status = 0;
    for (const std::string& library : options.libraries) {
        int one = runOne(options, library);
        if (one != 0) status = one;
    }
    return status;
}
