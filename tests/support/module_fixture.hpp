#pragma once
// Small ProTracker-style modules written in code for the module tests: a title, sample names,
// an order list and patterns that play a looped square wave on every channel. Each pattern
// runs 16 rows at speed 2 (a pattern break ends it early), so every order lasts 0.64 s.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace zorbel::testing {

struct ModuleSpec {
    std::string title = "Test Song";          // at most 20 bytes
    int channels = 4;                          // 4, 6 to 9, or 10 to 32
    int patterns = 2;
    std::vector<uint8_t> orders = {0, 1, 0};   // pattern numbers below `patterns`
    std::vector<std::string> sampleNames = {"square", "second"};  // at most 31, 22 bytes each
};

// Seconds one order of the fixture's patterns lasts.
inline constexpr double kOrderSeconds = 0.64;

std::vector<uint8_t> makeModule(const ModuleSpec& spec);
// Writes the module to the file and returns the file's path.
std::string writeModuleFile(const std::filesystem::path& file, const ModuleSpec& spec);

}  // namespace zorbel::testing
