// A machine whose sound device cannot be opened: the engine says so once and plays to no
// output, still in real time. Its own program, because OpenAL Soft reads its driver list
// once per process.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>

#include "platform/audio/engine.hpp"
#include "platform/audio/stream.hpp"
#include "platform/window/pump.hpp"

namespace zorbel::audio {
namespace {

using namespace std::chrono_literals;

TEST(AudioFallbackTest, NoDeviceMeansNoOutputWithOneNotice) {
    setenv("ALSOFT_DRIVERS", "no-such-driver", 1);
    setenv("ZORBEL_AUDIO_OUTPUT", "device", 1);
    ::testing::internal::CaptureStderr();
    Engine& engine = Engine::instance();
    EXPECT_EQ(engine.output(), OutputKind::None);
    engine.shutdown();
    EXPECT_EQ(engine.output(), OutputKind::None);  // opened again: no second notice
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(said, "zorbel: no sound device could be opened; playing without sound output\n");

    auto left = std::make_shared<size_t>(4410);  // 0.1 s
    auto stream = engine.createStream({44100, 2}, [left](int16_t* out, size_t frames) {
        const size_t n = std::min(frames, *left);
        std::fill(out, out + 2 * n, int16_t{1000});
        *left -= n;
        return n;
    });
    bool finished = false;
    stream->onFinished([&] { finished = true; });
    const auto started = std::chrono::steady_clock::now();
    stream->play();
    EXPECT_TRUE(window::runUntil([&] { return finished; }, 3000ms));
    EXPECT_GE(std::chrono::steady_clock::now() - started, 90ms);
    setenv("ZORBEL_AUDIO_OUTPUT", "none", 1);
}

}  // namespace
}  // namespace zorbel::audio
