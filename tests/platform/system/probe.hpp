#pragma once
// Test helpers around the probe program (probe_main.cpp) and the environment.

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/temp_root.hpp"

namespace zorbel::testing {

inline std::string probeProgram() { return ZORBEL_TEST_PROBE; }

// The arguments the probe wrote, split at the NUL bytes.
inline std::vector<std::string> readProbeArguments(const std::filesystem::path& file) {
    std::string bytes = readFile(file);
    std::vector<std::string> out;
    size_t start = 0;
    for (size_t end; (end = bytes.find('\0', start)) != std::string::npos; start = end + 1)
        out.push_back(bytes.substr(start, end - start));
    return out;
}

// Sets (or with nullopt removes) an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(std::string name, const std::optional<std::string>& value) : name_(std::move(name)) {
        if (const char* old = std::getenv(name_.c_str())) old_ = old;
        apply(value);
    }
    ~ScopedEnv() { apply(old_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    void apply(const std::optional<std::string>& value) {
        if (value) setenv(name_.c_str(), value->c_str(), 1);
        else unsetenv(name_.c_str());
    }
    std::string name_;
    std::optional<std::string> old_;
};

// Arguments no shell would pass through unchanged.
inline const std::vector<std::string>& hostileArguments() {
    static const std::vector<std::string> arguments = {
        "two words",        "with \"quotes\" inside", "semi;colon", "$(touch pwned)", "`id`", "-leading-dash",
        "--",               "line\nbreak",            "tab\there",  "\xFF\xFE not utf-8 \x80", "back\\slash\\",
        "trailing\\\\\"",   "'single'",               "*.txt",      "",                      "a&b|c>d<e",
    };
    return arguments;
}

}  // namespace zorbel::testing
