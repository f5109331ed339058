#include "platform/system/random.hpp"

#include <algorithm>
#include <climits>
#include <cmath>
#include <set>
#include <thread>

#include <gtest/gtest.h>

namespace zorbel::system {
namespace {

TEST(Random, FollowsTheClassicSequence) {
    seedRandom(0x50000);  // the classic start: Rnd gives 0.7055475, 0.533424, 0.5795186
    EXPECT_NEAR(nextRandom(), 0.7055475, 1e-7);
    EXPECT_NEAR(nextRandom(), 0.533424, 1e-6);
    EXPECT_NEAR(nextRandom(), 0.5795186, 1e-7);
}

TEST(Random, ValuesAreTwentyFourBitFractionsBelowOne) {
    seedRandom(99);
    for (int i = 0; i < 10000; ++i) {
        double value = nextRandom();
        ASSERT_GE(value, 0.0);
        ASSERT_LT(value, 1.0);
        ASSERT_EQ(value * 16777216.0, std::floor(value * 16777216.0));
    }
}

TEST(Random, RandomizeMovesToANewPlace) {
    seedRandom(5);
    double fixed = nextRandom();
    seedRandom(5);
    randomize();
    EXPECT_NE(nextRandom(), fixed);
}

TEST(Random, IntegersStayWithinInclusiveBounds) {
    seedRandom(7);
    struct Case {
        int32_t low, high;
    };
    for (const Case& c : {Case{1, 6}, Case{6, 1}, Case{-3, -3}, Case{INT32_MIN, INT32_MAX}, Case{0, 1}}) {
        std::set<int32_t> seen;
        for (int i = 0; i < 2000; ++i) {
            int32_t value = randomInteger(c.low, c.high);
            ASSERT_GE(value, std::min(c.low, c.high));
            ASSERT_LE(value, std::max(c.low, c.high));
            seen.insert(value);
        }
        int64_t width = std::abs(static_cast<int64_t>(c.high) - c.low) + 1;
        if (width <= 10) {
            EXPECT_EQ(seen.size(), static_cast<size_t>(width)) << "every value of a small range comes up";
        }
    }
}

TEST(Random, ThreadsShareOneSequenceWithoutLosingSteps) {
    constexpr int kThreads = 4, kEach = 20000;
    seedRandom(2024);
    std::vector<double> sequential;
    for (int i = 0; i < kThreads * kEach; ++i) sequential.push_back(nextRandom());
    seedRandom(2024);
    std::vector<std::vector<double>> drawn(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&drawn, t] {
            for (int i = 0; i < kEach; ++i) drawn[t].push_back(nextRandom());
        });
    for (std::thread& thread : threads) thread.join();
    std::vector<double> together;
    for (const auto& part : drawn) together.insert(together.end(), part.begin(), part.end());
    std::sort(sequential.begin(), sequential.end());
    std::sort(together.begin(), together.end());
    EXPECT_EQ(together, sequential);
}

}  // namespace
}  // namespace zorbel::system
