// The engine rendering to a WAV file in real time: streams, static voices, finished reports
// through the owner's queue, master gain, and the effect send.

#include <gtest/gtest.h>

#include <chrono>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/audio/effect_slot.hpp"
#include "platform/audio/engine.hpp"
#include "platform/audio/pcm_buffer.hpp"
#include "platform/audio/stream.hpp"
#include "platform/audio/voice.hpp"
#include "platform/window/pump.hpp"
#include "tests/platform/audio/audio_test_support.hpp"
#include "tests/support/wav_file.hpp"

namespace zorbel::audio {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int kRate = 22050;

// A 441 Hz sine of the given length and amplitude, rendered block by block.
RenderCallback sine(double seconds, double amplitude) {
    auto position = std::make_shared<size_t>(0);
    const auto total = static_cast<size_t>(seconds * kRate);
    return [=](int16_t* out, size_t frames) {
        size_t n = 0;
        for (; n < frames && *position < total; ++n, ++*position) {
            auto v = static_cast<int16_t>(amplitude * std::sin(2 * M_PI * 441.0 * static_cast<double>(*position) / kRate));
            out[2 * n] = out[2 * n + 1] = v;
        }
        return n;
    };
}

std::vector<int16_t> toneSamples(double seconds) {
    std::vector<int16_t> s(static_cast<size_t>(seconds * kRate));
    for (size_t i = 0; i < s.size(); ++i) s[i] = static_cast<int16_t>(12000 * std::sin(2 * M_PI * 441.0 * i / kRate));
    return s;
}

bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout = 5000ms) {
    return window::runUntil(done, timeout);
}

TEST(AudioEngineTest, StreamIsHeardForItsLengthAndReportsFinishedOnce) {
    WavOutput output;
    Engine& engine = Engine::instance();
    ASSERT_EQ(engine.output(), OutputKind::Wav);
    auto stream = engine.createStream({kRate, 2}, sine(0.5, 16000));
    ASSERT_TRUE(stream);
    int finished = 0;
    stream->onFinished([&] { ++finished; });
    const auto started = Clock::now();
    stream->play();
    EXPECT_TRUE(stream->playing());
    ASSERT_TRUE(waitFor([&] { return finished > 0; }));
    EXPECT_GE(Clock::now() - started, 450ms);  // real time, not as fast as possible
    EXPECT_FALSE(stream->playing());
    window::runUntil([] { return false; }, 100ms);
    EXPECT_EQ(finished, 1);
    engine.shutdown();

    auto wav = testing::readWav(output.path());
    ASSERT_TRUE(wav);
    EXPECT_EQ(wav->channels, 2);
    EXPECT_GT(wav->peak(), 8000);
    EXPECT_NEAR(wav->soundingSeconds(), 0.5, 0.05);
}

TEST(AudioEngineTest, StoppedStreamGoesSilentWithoutFinishedReport) {
    WavOutput output;
    auto stream = Engine::instance().createStream({kRate, 2}, sine(10, 16000));
    bool finished = false;
    stream->onFinished([&] { finished = true; });
    stream->play();
    window::runUntil([] { return false; }, 300ms);
    stream->stop();
    window::runUntil([] { return false; }, 300ms);
    EXPECT_FALSE(finished);
    Engine::instance().shutdown();
    auto wav = testing::readWav(output.path());
    ASSERT_TRUE(wav);
    EXPECT_LT(wav->soundingSeconds(), 0.45);
    EXPECT_GT(wav->soundingSeconds(), 0.15);
}

TEST(AudioEngineTest, StaticVoicePlaysOnceOrLoopsAndMasterGainScalesIt) {
    WavOutput output;
    Engine& engine = Engine::instance();
    const std::vector<int16_t> tone = toneSamples(0.2);
    auto buffer = engine.createBuffer({kRate, 1}, tone.data(), tone.size());
    ASSERT_TRUE(buffer);
    auto once = engine.createVoice(buffer);
    bool finished = false;
    once->onFinished([&] { finished = true; });
    engine.setMasterGain(0.5f);
    once->play();
    ASSERT_TRUE(waitFor([&] { return finished; }));

    auto looped = engine.createVoice(buffer);
    bool loopFinished = false;
    looped->onFinished([&] { loopFinished = true; });
    looped->play(true);
    window::runUntil([] { return false; }, 600ms);
    EXPECT_TRUE(looped->playing());
    EXPECT_FALSE(loopFinished);
    looped->stop();
    engine.setMasterGain(1.0f);
    engine.shutdown();

    auto wav = testing::readWav(output.path());
    ASSERT_TRUE(wav);
    // A centred mono source at half the master gain: well below the buffer's 12000.
    EXPECT_GT(wav->peak(), 2000);
    EXPECT_LT(wav->peak(), 7000);
}

TEST(AudioEngineTest, PitchShortensAndPanMovesTheSound) {
    WavOutput output;
    Engine& engine = Engine::instance();
    const std::vector<int16_t> tone = toneSamples(0.4);
    auto voice = engine.createVoice(engine.createBuffer({kRate, 1}, tone.data(), tone.size()));
    bool finished = false;
    voice->onFinished([&] { finished = true; });
    voice->setPitch(2.0f);
    voice->setPan(-1.0f);
    const auto started = Clock::now();
    voice->play();
    ASSERT_TRUE(waitFor([&] { return finished; }));
    EXPECT_LT(Clock::now() - started, 350ms);
    engine.shutdown();
    auto wav = testing::readWav(output.path());
    ASSERT_TRUE(wav);
    EXPECT_NEAR(wav->soundingSeconds(), 0.2, 0.05);
    int left = 0, right = 0;
    for (size_t i = 0; i + 1 < wav->samples.size(); i += 2) {
        left = std::max(left, std::abs(static_cast<int>(wav->samples[i])));
        right = std::max(right, std::abs(static_cast<int>(wav->samples[i + 1])));
    }
    EXPECT_GT(left, 4 * right);
}

TEST(AudioEngineTest, EchoSendLeavesATailAfterTheSound) {
    WavOutput output;
    Engine& engine = Engine::instance();
    ASSERT_TRUE(engine.effectsAvailable());
    auto echo = engine.createEffectSlot(EffectType::Echo);
    ASSERT_TRUE(echo);
    EXPECT_TRUE(echo->setParameter(AL_ECHO_DELAY, 0.2f));
    EXPECT_TRUE(echo->setParameter(AL_ECHO_FEEDBACK, 0.5f));
    EXPECT_FALSE(echo->setParameter(AL_ECHO_DELAY, 5.0f));  // outside the effect's range
    auto stream = engine.createStream({kRate, 2}, sine(0.2, 16000));
    stream->setEffect(echo);
    bool finished = false;
    stream->onFinished([&] { finished = true; });
    stream->play();
    ASSERT_TRUE(waitFor([&] { return finished; }));
    window::runUntil([] { return false; }, 800ms);
    engine.shutdown();
    auto wav = testing::readWav(output.path());
    ASSERT_TRUE(wav);
    EXPECT_GT(wav->soundingSeconds(), 0.5);
}

TEST(AudioEngineTest, BadFormatsAreRefusedAndObjectsOutliveTheEngine) {
    WavOutput output;
    Engine& engine = Engine::instance();
    int16_t s[4] = {};
    EXPECT_FALSE(engine.createBuffer({kRate, 3}, s, 1));
    EXPECT_FALSE(engine.createBuffer({kRate, 1}, s, 0));
    EXPECT_FALSE(engine.createStream({0, 2}, sine(1, 1)));
    auto stream = engine.createStream({kRate, 2}, sine(1, 1000));
    stream->play();
    engine.shutdown();
    // Silent and harmless once the engine is gone.
    stream->setGain(0.5f);
    stream->play();
    EXPECT_FALSE(stream->playing());
    stream->stop();
}

TEST(AudioEngineTest, NoOutputStillPlaysInRealTime) {
    Engine::instance().shutdown();  // the tests run with ZORBEL_AUDIO_OUTPUT=none
    Engine& engine = Engine::instance();
    ASSERT_EQ(engine.output(), OutputKind::None);
    auto stream = engine.createStream({kRate, 2}, sine(0.3, 1000));
    bool finished = false;
    stream->onFinished([&] { finished = true; });
    const auto started = Clock::now();
    stream->play();
    ASSERT_TRUE(waitFor([&] { return finished; }));
    EXPECT_GE(Clock::now() - started, 280ms);
}

}  // namespace
}  // namespace zorbel::audio
