#include "platform/audio/engine_runner.hpp"

#include <chrono>
#include <cstdio>
#include <vector>

namespace zorbel::audio {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kTick = std::chrono::milliseconds(10);
constexpr auto kMaxLag = std::chrono::milliseconds(200);
constexpr int kRenderRate = 44100;
constexpr int kRenderChannels = 2;

void noticeNoDevice() {
    static std::once_flag once;
    std::call_once(once, [] {
        std::fputs("zorbel: no sound device could be opened; playing without sound output\n", stderr);
    });
}

}  // namespace

EngineRunner::EngineRunner(const OutputConfig& config, std::shared_ptr<EngineCore> core) : core_(std::move(core)) {
    loopback_ = loopbackFunctions();
    bool opened = false;
    if (config.kind == OutputKind::Device) {
        opened = openDevice();
        if (!opened) noticeNoDevice();
    }
    if (!opened) {
        OutputConfig fallback = config.kind == OutputKind::Wav ? config : OutputConfig{OutputKind::None, {}};
        opened = openLoopback(fallback);
    }
    if (!opened) return;  // no OpenAL at all: the engine stays closed and every voice silent
    alcMakeContextCurrent(context_.get());
    core_->efx = efxFunctions(device_.get());
    core_->open = true;
    thread_ = std::thread([this] { run(); });
}

bool EngineRunner::openDevice() {
    device_.reset(alcOpenDevice(nullptr));
    if (!device_) return false;
    context_.reset(alcCreateContext(device_.get(), nullptr));
    if (!context_) {
        device_.reset();
        return false;
    }
    ALCint rate = 0;
    alcGetIntegerv(device_.get(), ALC_FREQUENCY, 1, &rate);
    core_->mixingRate = rate > 0 ? rate : kRenderRate;
    core_->output = OutputKind::Device;
    return true;
}

bool EngineRunner::openLoopback(const OutputConfig& config) {
    if (!loopback_) return false;
    device_.reset(loopback_.openDevice(nullptr));
    if (!device_) return false;
    const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT, ALC_SHORT_SOFT,
                                 ALC_FREQUENCY, kRenderRate, 0};
    context_.reset(alcCreateContext(device_.get(), attributes));
    if (!context_) {
        device_.reset();
        return false;
    }
    if (config.kind == OutputKind::Wav) {
        wav_.emplace(config.wavPath, kRenderRate, kRenderChannels);
        if (!wav_->ok()) std::fprintf(stderr, "zorbel: cannot write the sound output file %s\n", config.wavPath.c_str());
    }
    core_->mixingRate = kRenderRate;
    core_->output = config.kind;
    rendering_ = true;
    return true;
}

EngineRunner::~EngineRunner() {
    if (thread_.joinable()) {
        {
            std::lock_guard lock(stopMutex_);
            stopping_ = true;
        }
        stopSignal_.notify_all();
        thread_.join();
    }
    std::vector<std::shared_ptr<EngineObject>> live;
    {
        std::lock_guard lock(core_->mutex);
        for (auto& weak : core_->objects)
            if (auto object = weak.lock()) live.push_back(std::move(object));
        for (auto& object : live) object->releaseAl();
        core_->objects.clear();
        core_->open = false;
        context_.reset();
        device_.reset();
    }
    live.clear();  // outside the lock: a last reference may end an object, which locks it
    if (wav_) wav_->close();
}

void EngineRunner::tickObjects() {
    std::vector<std::shared_ptr<EngineObject>> live;
    std::vector<int16_t> mix;
    {
        std::lock_guard lock(core_->mutex);
        auto& objects = core_->objects;
        for (size_t i = 0; i < objects.size();) {
            if (auto object = objects[i].lock()) {
                live.push_back(std::move(object));
                ++i;
            } else {
                objects[i] = std::move(objects.back());
                objects.pop_back();
            }
        }
        for (auto& object : live) object->tick();
        if (rendering_) {
            const size_t frames = kRenderRate / 100;
            mix.resize(frames * kRenderChannels);
            loopback_.renderSamples(device_.get(), mix.data(), static_cast<ALCsizei>(frames));
            // In order with the rendering, which offline rendering may also run.
            if (wav_ && wav_->ok()) wav_->write(mix.data(), frames);
        }
    }
    live.clear();
}

bool EngineRunner::renderTicks(double seconds) {
    if (!rendering_ || !core_->open) return false;
    const auto ticks = static_cast<long>(seconds * 1000 / kTick.count());
    for (long i = 0; i < ticks; ++i) tickObjects();
    return true;
}

void EngineRunner::run() {
    auto next = Clock::now();
    std::unique_lock lock(stopMutex_);
    while (!stopping_) {
        lock.unlock();
        tickObjects();
        lock.lock();
        next += kTick;
        const auto now = Clock::now();
        if (now - next > kMaxLag) next = now;  // after a stall, keep real time instead of catching up
        stopSignal_.wait_until(lock, next, [this] { return stopping_; });
    }
}

}  // namespace zorbel::audio
