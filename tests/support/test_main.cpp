// Test entry point: every test program runs with its own registry root, application-data
// folder and temporary folder, so no test touches the user's real settings.

#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/support/temp_root.hpp"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    zorbel::testing::TempFolder isolation;
    setenv("ZORBEL_ROOT", (isolation / "root").c_str(), 1);
    setenv("XDG_DATA_HOME", (isolation / "data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (isolation / "config").c_str(), 1);
    setenv("HOME", (isolation / "home").c_str(), 1);
    std::filesystem::create_directories(isolation / "tmp");
    setenv("TMPDIR", (isolation / "tmp").c_str(), 1);
    if (getenv("ZORBEL_AUDIO_OUTPUT") == nullptr) setenv("ZORBEL_AUDIO_OUTPUT", "none", 1);
    return RUN_ALL_TESTS();
}
