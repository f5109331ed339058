#pragma once
// One sounding source of the engine: a static buffer played once or looped (this class) or a
// stream fed by a render callback (Stream). Made, driven and released on one thread; when it
// finishes playing by itself, the handler runs on that thread as the queue is pumped.

#include <AL/al.h>

#include <functional>
#include <memory>

#include "platform/audio/engine_core.hpp"

namespace zorbel::window {
class MessageQueue;
}

namespace zorbel::audio {

class PcmBuffer;
class EffectSlot;

class Voice : public EngineObject, public std::enable_shared_from_this<Voice> {
public:
    static std::shared_ptr<Voice> create(std::shared_ptr<EngineCore> core, std::shared_ptr<PcmBuffer> buffer);
    ~Voice() override;

    void setGain(float gain);    // 1 = unchanged
    void setPitch(float pitch);  // playback speed, 1 = unchanged
    void setPan(float pan);      // -1 left .. 1 right, for mono sound
    void setEffect(const std::shared_ptr<EffectSlot>& slot);  // null: no effect send

    virtual void play(bool loop = false);
    virtual void stop();
    void pause();
    // Started and neither stopped nor finished.
    bool playing() const;

    void onFinished(std::function<void()> handler) { finished_ = std::move(handler); }

    void releaseAl() override;
    void tick() override;

protected:
    explicit Voice(std::shared_ptr<EngineCore> core);
    bool makeSource();      // under the mutex
    void reportFinished();  // under the mutex: hands the report to the owner's queue

    std::shared_ptr<EngineCore> core_;
    ALuint source_ = 0;
    bool active_ = false;
    bool paused_ = false;

private:
    std::shared_ptr<window::MessageQueue> owner_;
    std::function<void()> finished_;  // owner thread only
    std::shared_ptr<PcmBuffer> buffer_;
    std::shared_ptr<EffectSlot> effect_;
};

}  // namespace zorbel::audio
