#pragma once
// The process's one audio engine. Voices play static PCM buffers or streams fed by a render
// callback; each has gain, pitch and pan, and may send to an effect slot; a master gain
// scales everything. Output goes where output_config.hpp says; a machine without a sound
// device plays to no output (with one notice on standard error), still in real time.
//
// The engine runs a thread of its own that feeds the streams (their render callbacks run
// there) and, for WAV and no output, renders the mix in real time. Voices report that they
// finished playing by themselves through the message queue of the thread that made them.

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include "platform/audio/output_config.hpp"

namespace zorbel::audio {

struct EngineCore;
class EngineRunner;
class PcmBuffer;
class Voice;
class Stream;
class EffectSlot;
enum class EffectType;

// Interleaved signed 16-bit samples.
struct PcmFormat {
    int sampleRate = 44100;
    int channels = 2;  // 1 or 2
};

// Fills up to `frames` frames and returns how many it filled; fewer means the stream ended.
using RenderCallback = std::function<size_t(int16_t* samples, size_t frames)>;

class Engine {
public:
    // The engine, opened on first use (and again after shutdown()).
    static Engine& instance();

    OutputKind output();   // where the sound goes, after any fallback
    int mixingRate();      // the output's sample rate
    void setMasterGain(float gain);  // 0..1 and above
    float masterGain();
    bool effectsAvailable();

    // Null when the format is not 16-bit mono or stereo or the engine cannot make it.
    std::shared_ptr<PcmBuffer> createBuffer(PcmFormat format, const int16_t* samples, size_t frames);
    std::shared_ptr<Voice> createVoice(std::shared_ptr<PcmBuffer> buffer);
    std::shared_ptr<Stream> createStream(PcmFormat format, RenderCallback render);
    std::shared_ptr<EffectSlot> createEffectSlot(EffectType type);

    // Renders the next `seconds` of the mix at once on the calling thread, as fast as it goes
    // (offline rendering, benchmarks); the engine thread then goes on in real time. Only for
    // WAV and no output: false for a sound device.
    bool renderAhead(double seconds);

    // Stops the engine thread, closes the device and completes a WAV file. Voices made
    // before stay valid but silent; the next use of instance() opens the engine again.
    // Runs by itself when the process ends normally.
    void shutdown();

    ~Engine();

private:
    Engine() = default;
    std::shared_ptr<EngineCore> core();

    std::mutex openMutex_;
    std::shared_ptr<EngineCore> core_;
    std::unique_ptr<EngineRunner> runner_;
    float masterGain_ = 1.0f;
};

}  // namespace zorbel::audio
