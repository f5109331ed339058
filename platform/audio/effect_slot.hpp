#pragma once
// An effect send that voices can feed: one effect of a kind, with its parameters, in an
// auxiliary slot of the engine.

#include <AL/al.h>

#include <memory>

#include "platform/audio/engine_core.hpp"

namespace zorbel::audio {

enum class EffectType { Chorus, Compressor, Distortion, Echo, Flanger, RingModulator, Equalizer, Reverb };

class EffectSlot final : public EngineObject {
public:
    // Null when the engine has no effects.
    static std::shared_ptr<EffectSlot> create(std::shared_ptr<EngineCore> core, EffectType type);
    ~EffectSlot() override;

    EffectType type() const { return type_; }
    // Parameters of the effect kind, by their OpenAL effect parameter numbers; false when the
    // value or parameter is refused.
    bool setParameter(int parameter, float value);
    bool setParameter(int parameter, int value);

    ALuint slotName() const { return slot_; }  // under the core's mutex
    void releaseAl() override;

private:
    EffectSlot(std::shared_ptr<EngineCore> core, EffectType type) : core_(std::move(core)), type_(type) {}
    template <typename Setter>
    bool update(Setter setter);

    std::shared_ptr<EngineCore> core_;
    EffectType type_;
    ALuint effect_ = 0;
    ALuint slot_ = 0;
};

}  // namespace zorbel::audio
