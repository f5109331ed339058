// A tiny program the system tests start to see what a started program receives.
//   ZORBEL_PROBE_ARGV=<file>   writes every argument (argv[0] too), each followed by a NUL byte
//   ZORBEL_PROBE_FDS=<file>    writes the open descriptors, one a line, then "stdin=<target>"
//   ZORBEL_PROBE_SIGNAL=<n>    ends by that signal
//   ZORBEL_PROBE_EXIT=<n>      ends with that exit code (default 0)

#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void writeArguments(const char* file, int argc, char** argv) {
    FILE* out = std::fopen(file, "wb");
    if (out == nullptr) std::exit(100);
    for (int i = 0; i < argc; ++i) std::fwrite(argv[i], 1, std::string(argv[i]).size() + 1, out);
    std::fclose(out);
}

void writeDescriptors(const char* file) {
    std::string report;
    DIR* dir = opendir("/proc/self/fd");
    if (dir == nullptr) std::exit(101);
    while (dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.' || std::atoi(entry->d_name) == dirfd(dir)) continue;
        report += std::string(entry->d_name) + "\n";
    }
    closedir(dir);
    char target[4096] = {};
    ssize_t length = readlink("/proc/self/fd/0", target, sizeof target - 1);
    report += "stdin=" + std::string(target, length > 0 ? static_cast<size_t>(length) : 0) + "\n";
    FILE* out = std::fopen(file, "wb");
    if (out == nullptr) std::exit(102);
    std::fwrite(report.data(), 1, report.size(), out);
    std::fclose(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (const char* file = std::getenv("ZORBEL_PROBE_ARGV")) writeArguments(file, argc, argv);
    if (const char* file = std::getenv("ZORBEL_PROBE_FDS")) writeDescriptors(file);
    if (const char* sig = std::getenv("ZORBEL_PROBE_SIGNAL")) raise(std::atoi(sig));
    const char* code = std::getenv("ZORBEL_PROBE_EXIT");
    return code != nullptr ? std::atoi(code) : 0;
}
