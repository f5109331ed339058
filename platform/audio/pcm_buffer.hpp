#pragma once
// A block of PCM sound held by the engine, played by any number of voices.

#include <AL/al.h>

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/audio/engine.hpp"
#include "platform/audio/engine_core.hpp"

namespace zorbel::audio {

class PcmBuffer final : public EngineObject {
public:
    // Null for a format other than 16-bit mono or stereo, no frames, or a closed engine.
    static std::shared_ptr<PcmBuffer> create(std::shared_ptr<EngineCore> core, PcmFormat format,
                                             const int16_t* samples, size_t frames);
    ~PcmBuffer() override;

    PcmFormat format() const { return format_; }
    size_t frames() const { return frames_; }
    ALuint name() const { return buffer_; }  // under the core's mutex

    void releaseAl() override;

private:
    PcmBuffer(std::shared_ptr<EngineCore> core, PcmFormat format, size_t frames)
        : core_(std::move(core)), format_(format), frames_(frames) {}

    std::shared_ptr<EngineCore> core_;
    PcmFormat format_;
    size_t frames_;
    ALuint buffer_ = 0;
};

// The OpenAL format of 16-bit samples with this many channels; 0 when there is none.
ALenum alFormatFor(int channels);

}  // namespace zorbel::audio
