#pragma once
// A voice whose sound comes from a render callback, called on the engine thread whenever a
// few tens of milliseconds of queued sound have been played. The stream ends when the
// callback fills fewer frames than asked, and finishes once that sound has been heard.

#include <AL/al.h>

#include <cstdint>
#include <vector>

#include "platform/audio/engine.hpp"
#include "platform/audio/voice.hpp"

namespace zorbel::audio {

class Stream final : public Voice {
public:
    static std::shared_ptr<Stream> create(std::shared_ptr<EngineCore> core, PcmFormat format, RenderCallback render);

    // Starts on the engine's next tick; `loop` is the callback's business and ignored here.
    void play(bool loop = false) override;
    // Drops the queued sound; a later play() asks the callback for what follows.
    void stop() override;

    void releaseAl() override;
    void tick() override;

private:
    Stream(std::shared_ptr<EngineCore> core, PcmFormat format, RenderCallback render);
    void reclaimPlayed();
    void refill();

    static constexpr size_t kBuffers = 4;

    PcmFormat format_;
    ALenum alFormat_;
    RenderCallback render_;
    size_t framesPerBuffer_;
    std::vector<int16_t> scratch_;
    ALuint buffers_[kBuffers] = {};
    std::vector<ALuint> free_;
    bool ended_ = false;
};

}  // namespace zorbel::audio
