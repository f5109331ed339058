// Host facts, window hooks, identifiers and elapsed times.

#include <pwd.h>
#include <unistd.h>

#include <set>

#include <gtest/gtest.h>

#include <thread>

#include "platform/window/window.hpp"
#include "platform/window/window_state.hpp"

#include "platform/system/elapsed_time.hpp"
#include "platform/system/host_info.hpp"
#include "platform/system/host_window.hpp"
#include "platform/system/unique_id.hpp"

namespace zorbel::system {
namespace {

TEST(HostInfo, FactsAboutTheHost) {
    EXPECT_EQ(platformFamily(), 2);
    const passwd* user = ::getpwuid(::geteuid());
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(ratingNameSuffix(), user->pw_name);
    EXPECT_EQ(fileDetailsText("/any/file.mp3"), "");
}

TEST(HostWindow, DefaultWindowIsOneHiddenTopLevelWindowPerThread) {
    WindowHandle first = defaultWindow();
    EXPECT_NE(first, 0);
    EXPECT_EQ(defaultWindow(), first);
    EXPECT_TRUE(window::isWindow(static_cast<window::WindowHandle>(first)));
    EXPECT_FALSE(window::isWindowVisible(static_cast<window::WindowHandle>(first)));
    WindowHandle other = 0;
    std::thread([&] { other = defaultWindow(); }).join();
    EXPECT_NE(other, first);
    activateWindow(first);
}

TEST(UniqueId, BracedUpperCaseAndNeverRepeating) {
    std::set<std::string> seen;
    for (int i = 0; i < 10000; ++i) {
        std::string id = newUniqueId();
        ASSERT_EQ(id.size(), 38u) << id;
        ASSERT_EQ(id.front(), '{');
        ASSERT_EQ(id.back(), '}');
        ASSERT_EQ(id.find('\''), std::string::npos);
        ASSERT_EQ(id.find_first_not_of("{}-0123456789ABCDEF"), std::string::npos) << id;
        ASSERT_EQ(id[15], '4') << id;  // version 4
        ASSERT_TRUE(seen.insert(id).second) << id;
    }
}

TEST(ElapsedTime, MillisecondsAcrossMidnight) {
    const std::tuple<double, double, double> cases[] = {
        {100.0, 100.5, 500.0},
        {100.0, 100.0, 0.0},
        {86399.5, 0.25, 750.0},
        {0.0, 86399.0, 86399000.0},
    };
    for (const auto& [start, now, expected] : cases) EXPECT_NEAR(elapsedMilliseconds(start, now), expected, 1e-6);
    double now = secondsSinceMidnight();
    EXPECT_GE(now, 0.0);
    EXPECT_LT(now, 86401.0);
}

}  // namespace
}  // namespace zorbel::system
