#pragma once
// One open engine: the OpenAL device and context, the engine thread and, for WAV output,
// the file being written.

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/audio/al_library.hpp"
#include "platform/audio/engine_core.hpp"
#include "platform/audio/output_config.hpp"
#include "platform/audio/wav_writer.hpp"

namespace zorbel::audio {

class EngineRunner {
public:
    // Opens the configured output; a device that cannot be opened falls back to no output.
    // The core is marked open when a context exists.
    EngineRunner(const OutputConfig& config, std::shared_ptr<EngineCore> core);
    // Stops the thread, lets every object release its OpenAL names, closes everything.
    ~EngineRunner();
    EngineRunner(const EngineRunner&) = delete;
    EngineRunner& operator=(const EngineRunner&) = delete;

    // Renders this much of the mix now; false when the device renders it.
    bool renderTicks(double seconds);

private:
    bool openDevice();
    bool openLoopback(const OutputConfig& config);
    void run();
    void tickObjects();

    std::shared_ptr<EngineCore> core_;
    LoopbackFunctions loopback_;
    bool rendering_ = false;  // the engine renders the mix itself (WAV or no output)
    DeviceHandle device_;
    ContextHandle context_;
    std::optional<WavWriter> wav_;
    std::thread thread_;
    std::mutex stopMutex_;
    std::condition_variable stopSignal_;
    bool stopping_ = false;
};

}  // namespace zorbel::audio
