#include <gtest/gtest.h>

#include <cstdlib>

#include "resources/strings.hpp"

namespace zorbel::resources {
namespace {

class Language : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) unsetenv(name);
    }
    void TearDown() override { SetUp(); }
};

TEST_F(Language, String101FollowsTheUserLocale) {
    struct Case {
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        const char* expected;
    } cases[] = {
        {nullptr, nullptr, "de_DE.UTF-8", "1031"}, {nullptr, nullptr, "de", "1031"},
        {nullptr, nullptr, "en_US.UTF-8", "1033"}, {nullptr, nullptr, "fr_FR", "1033"},
        {nullptr, nullptr, nullptr, "1033"},       {"en_GB", nullptr, "de_DE", "1033"},
        {"", "de_AT", "en_US", "1031"},            {nullptr, "C", "de_DE", "1033"},
        {"DE_ch", nullptr, nullptr, "1031"},
    };
    for (const Case& c : cases) {
        SetUp();
        if (c.lcAll) setenv("LC_ALL", c.lcAll, 1);
        if (c.lcMessages) setenv("LC_MESSAGES", c.lcMessages, 1);
        if (c.lang) setenv("LANG", c.lang, 1);
        EXPECT_EQ(loadString(101).value(), c.expected) << (c.lang ? c.lang : "-");
        EXPECT_EQ(germanTexts(), std::string(c.expected) == "1031");
    }
}

TEST_F(Language, DisplayModeTextsExistInBothLanguages) {
    for (int id = 202; id <= 206; ++id) {
        ASSERT_TRUE(loadString(id, resources::Language::German)) << id;
        ASSERT_TRUE(loadString(id, resources::Language::English)) << id;
        EXPECT_NE(*loadString(id, resources::Language::German), *loadString(id, resources::Language::English));
    }
    EXPECT_EQ(*loadString(205, resources::Language::German), "Der Grafikmodus wird nicht unterstützt.");
    EXPECT_FALSE(loadString(207));
}

}  // namespace
}  // namespace zorbel::resources
