#include "platform/audio/voice.hpp"

#include <cmath>

#include "platform/audio/effect_slot.hpp"
#include "platform/audio/pcm_buffer.hpp"
#include "platform/window/message_queue.hpp"

namespace zorbel::audio {

Voice::Voice(std::shared_ptr<EngineCore> core)
    : core_(std::move(core)), owner_(window::MessageQueue::sharedForThisThread()) {}

std::shared_ptr<Voice> Voice::create(std::shared_ptr<EngineCore> core, std::shared_ptr<PcmBuffer> buffer) {
    std::shared_ptr<Voice> voice(new Voice(core));
    voice->buffer_ = std::move(buffer);
    {
        std::lock_guard lock(core->mutex);
        if (!voice->makeSource()) return nullptr;
        alSourcei(voice->source_, AL_BUFFER, static_cast<ALint>(voice->buffer_->name()));
    }
    core->add(voice);
    return voice;
}

Voice::~Voice() {
    std::lock_guard lock(core_->mutex);
    releaseAl();
}

bool Voice::makeSource() {
    if (!core_->open) return false;
    alGetError();
    alGenSources(1, &source_);
    if (alGetError() != AL_NO_ERROR) {
        source_ = 0;
        return false;
    }
    // Positions only pan the sound: relative to the listener, without distance attenuation.
    alSourcei(source_, AL_SOURCE_RELATIVE, AL_TRUE);
    alSourcef(source_, AL_ROLLOFF_FACTOR, 0.0f);
    alSource3f(source_, AL_POSITION, 0.0f, 0.0f, -1.0f);
    return true;
}

void Voice::releaseAl() {
    if (source_ && core_->open) {
        alSourceStop(source_);
        alDeleteSources(1, &source_);
    }
    source_ = 0;
    active_ = false;
}

void Voice::setGain(float gain) {
    std::lock_guard lock(core_->mutex);
    if (source_) alSourcef(source_, AL_GAIN, gain < 0 ? 0 : gain);
}

void Voice::setPitch(float pitch) {
    std::lock_guard lock(core_->mutex);
    if (source_ && pitch > 0) alSourcef(source_, AL_PITCH, pitch);
}

void Voice::setPan(float pan) {
    const float x = pan < -1 ? -1 : pan > 1 ? 1 : pan;
    std::lock_guard lock(core_->mutex);
    if (source_) alSource3f(source_, AL_POSITION, x, 0.0f, -std::sqrt(1.0f - x * x));
}

void Voice::setEffect(const std::shared_ptr<EffectSlot>& slot) {
    std::lock_guard lock(core_->mutex);
    effect_ = slot;
    if (!source_) return;
    const ALint name = slot ? static_cast<ALint>(slot->slotName()) : AL_EFFECTSLOT_NULL;
    alSource3i(source_, AL_AUXILIARY_SEND_FILTER, name, 0, AL_FILTER_NULL);
}

void Voice::play(bool loop) {
    std::lock_guard lock(core_->mutex);
    if (!source_) return;
    alSourcei(source_, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
    alSourcePlay(source_);
    active_ = true;
    paused_ = false;
}

void Voice::stop() {
    std::lock_guard lock(core_->mutex);
    if (source_) alSourceStop(source_);
    active_ = false;
    paused_ = false;
}

void Voice::pause() {
    std::lock_guard lock(core_->mutex);
    if (!source_ || !active_) return;
    alSourcePause(source_);
    paused_ = true;
}

bool Voice::playing() const {
    std::lock_guard lock(core_->mutex);
    return active_;
}

void Voice::tick() {
    if (!active_ || paused_ || !source_) return;
    ALint state = AL_STOPPED;
    alGetSourcei(source_, AL_SOURCE_STATE, &state);
    if (state == AL_STOPPED) {
        active_ = false;
        reportFinished();
    }
}

void Voice::reportFinished() {
    std::weak_ptr<Voice> weak = weak_from_this();
    owner_->postTask([weak] {
        if (auto voice = weak.lock())
            if (voice->finished_) voice->finished_();
    });
}

}  // namespace zorbel::audio
