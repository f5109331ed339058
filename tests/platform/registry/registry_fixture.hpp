#pragma once
// Gives every test its own registry root folder, so tests never see each other's hives even
// when the whole program runs in one process.

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/registry/registry.hpp"
#include "tests/support/temp_root.hpp"

namespace zorbel::testing {

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* old = std::getenv("ZORBEL_ROOT")) savedRoot_ = old;
        setenv("ZORBEL_ROOT", root().c_str(), 1);
    }
    void TearDown() override {
        if (savedRoot_) {
            setenv("ZORBEL_ROOT", savedRoot_->c_str(), 1);
        } else {
            unsetenv("ZORBEL_ROOT");
        }
    }

    std::filesystem::path root() const { return temp_ / "root"; }
    std::filesystem::path hivePath(registry::Hive hive) const {
        return root() / (registry::hiveShortName(hive) + ".hive");
    }

    TempFolder temp_;

private:
    std::optional<std::string> savedRoot_;
};

}  // namespace zorbel::testing
