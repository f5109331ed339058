#include "platform/audio/effect_slot.hpp"

namespace zorbel::audio {

namespace {

ALint alEffectType(EffectType type) {
    switch (type) {
        case EffectType::Chorus: return AL_EFFECT_CHORUS;
        case EffectType::Compressor: return AL_EFFECT_COMPRESSOR;
        case EffectType::Distortion: return AL_EFFECT_DISTORTION;
        case EffectType::Echo: return AL_EFFECT_ECHO;
        case EffectType::Flanger: return AL_EFFECT_FLANGER;
        case EffectType::RingModulator: return AL_EFFECT_RING_MODULATOR;
        case EffectType::Equalizer: return AL_EFFECT_EQUALIZER;
        case EffectType::Reverb: return AL_EFFECT_REVERB;
    }
    return AL_EFFECT_NULL;
}

}  // namespace

std::shared_ptr<EffectSlot> EffectSlot::create(std::shared_ptr<EngineCore> core, EffectType type) {
    std::shared_ptr<EffectSlot> slot(new EffectSlot(core, type));
    {
        std::lock_guard lock(core->mutex);
        const EfxFunctions& efx = core->efx;
        if (!core->open || !efx) return nullptr;
        alGetError();
        efx.genEffects(1, &slot->effect_);
        efx.genSlots(1, &slot->slot_);
        if (alGetError() == AL_NO_ERROR) efx.effecti(slot->effect_, AL_EFFECT_TYPE, alEffectType(type));
        if (alGetError() == AL_NO_ERROR) efx.sloti(slot->slot_, AL_EFFECTSLOT_EFFECT, static_cast<ALint>(slot->effect_));
        if (alGetError() != AL_NO_ERROR) {
            slot->releaseAl();
            return nullptr;
        }
    }
    core->add(slot);
    return slot;
}

EffectSlot::~EffectSlot() {
    std::lock_guard lock(core_->mutex);
    releaseAl();
}

void EffectSlot::releaseAl() {
    if (core_->open) {
        if (slot_) core_->efx.deleteSlots(1, &slot_);
        if (effect_) core_->efx.deleteEffects(1, &effect_);
    }
    slot_ = effect_ = 0;
}

template <typename Setter>
bool EffectSlot::update(Setter setter) {
    std::lock_guard lock(core_->mutex);
    if (!core_->open || !effect_) return false;
    alGetError();
    setter(core_->efx);
    if (alGetError() != AL_NO_ERROR) return false;
    // A slot works on a copy of its effect: hand the changed effect over again.
    core_->efx.sloti(slot_, AL_EFFECTSLOT_EFFECT, static_cast<ALint>(effect_));
    return alGetError() == AL_NO_ERROR;
}

bool EffectSlot::setParameter(int parameter, float value) {
    return update([&](const EfxFunctions& efx) { efx.effectf(effect_, parameter, value); });
}

bool EffectSlot::setParameter(int parameter, int value) {
    return update([&](const EfxFunctions& efx) { efx.effecti(effect_, parameter, value); });
}

}  // namespace zorbel::audio
