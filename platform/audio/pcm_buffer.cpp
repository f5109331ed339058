#include "platform/audio/pcm_buffer.hpp"

#include <limits>

namespace zorbel::audio {

ALenum alFormatFor(int channels) {
    return channels == 1 ? AL_FORMAT_MONO16 : channels == 2 ? AL_FORMAT_STEREO16 : 0;
}

std::shared_ptr<PcmBuffer> PcmBuffer::create(std::shared_ptr<EngineCore> core, PcmFormat format,
                                             const int16_t* samples, size_t frames) {
    const ALenum alFormat = alFormatFor(format.channels);
    if (!alFormat || format.sampleRate <= 0 || frames == 0 || !samples) return nullptr;
    const size_t limit = static_cast<size_t>(std::numeric_limits<ALsizei>::max()) / (2 * static_cast<size_t>(format.channels));
    if (frames > limit) return nullptr;
    std::shared_ptr<PcmBuffer> buffer(new PcmBuffer(core, format, frames));
    {
        std::lock_guard lock(core->mutex);
        if (!core->open) return nullptr;
        alGetError();
        alGenBuffers(1, &buffer->buffer_);
        if (alGetError() != AL_NO_ERROR) return nullptr;
        alBufferData(buffer->buffer_, alFormat, samples, static_cast<ALsizei>(frames * 2 * format.channels),
                     format.sampleRate);
        if (alGetError() != AL_NO_ERROR) {
            alDeleteBuffers(1, &buffer->buffer_);
            buffer->buffer_ = 0;
            return nullptr;
        }
    }
    core->add(buffer);
    return buffer;
}

PcmBuffer::~PcmBuffer() {
    std::lock_guard lock(core_->mutex);
    releaseAl();
}

void PcmBuffer::releaseAl() {
    if (buffer_ && core_->open) alDeleteBuffers(1, &buffer_);
    buffer_ = 0;
}

}  // namespace zorbel::audio
