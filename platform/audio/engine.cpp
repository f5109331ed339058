#include "platform/audio/engine.hpp"

#include "platform/audio/effect_slot.hpp"
#include "platform/audio/engine_core.hpp"
#include "platform/audio/engine_runner.hpp"
#include "platform/audio/pcm_buffer.hpp"
#include "platform/audio/stream.hpp"
#include "platform/audio/voice.hpp"

namespace zorbel::audio {

Engine& Engine::instance() {
    static Engine engine;
    return engine;
}

Engine::~Engine() { shutdown(); }

std::shared_ptr<EngineCore> Engine::core() {
    std::lock_guard lock(openMutex_);
    if (!core_) {
        core_ = std::make_shared<EngineCore>();
        runner_ = std::make_unique<EngineRunner>(configuredOutput(), core_);
        std::lock_guard alLock(core_->mutex);
        if (core_->open) alListenerf(AL_GAIN, masterGain_);
    }
    return core_;
}

void Engine::shutdown() {
    std::lock_guard lock(openMutex_);
    runner_.reset();
    core_.reset();
}

bool Engine::renderAhead(double seconds) {
    core();
    std::lock_guard lock(openMutex_);
    return runner_ && runner_->renderTicks(seconds);
}

OutputKind Engine::output() { return core()->output; }

int Engine::mixingRate() { return core()->mixingRate; }

void Engine::setMasterGain(float gain) {
    auto c = core();
    std::lock_guard lock(c->mutex);
    masterGain_ = gain < 0 ? 0 : gain;
    if (c->open) alListenerf(AL_GAIN, masterGain_);
}

float Engine::masterGain() {
    auto c = core();
    std::lock_guard lock(c->mutex);
    return masterGain_;
}

bool Engine::effectsAvailable() {
    auto c = core();
    std::lock_guard lock(c->mutex);
    return c->open && static_cast<bool>(c->efx);
}

std::shared_ptr<PcmBuffer> Engine::createBuffer(PcmFormat format, const int16_t* samples, size_t frames) {
    return PcmBuffer::create(core(), format, samples, frames);
}

std::shared_ptr<Voice> Engine::createVoice(std::shared_ptr<PcmBuffer> buffer) {
    if (!buffer) return nullptr;
    return Voice::create(core(), std::move(buffer));
}

std::shared_ptr<Stream> Engine::createStream(PcmFormat format, RenderCallback render) {
    return Stream::create(core(), format, std::move(render));
}

std::shared_ptr<EffectSlot> Engine::createEffectSlot(EffectType type) { return EffectSlot::create(core(), type); }

}  // namespace zorbel::audio
