#include "imaging/shared_random.hpp"

#include <chrono>
#include <random>

namespace zorbel::imaging {

namespace {

std::mt19937_64& generator() {
    static std::mt19937_64 engine(std::random_device{}());
    return engine;
}

}  // namespace

double nextUniform() { return std::uniform_real_distribution<double>(0.0, 1.0)(generator()); }

void reseedFromTimeOfDay() {
    auto now = std::chrono::system_clock::now().time_since_epoch();
    generator().seed(static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
}

}  // namespace zorbel::imaging
