#include "platform/audio/stream.hpp"

#include "platform/audio/pcm_buffer.hpp"

namespace zorbel::audio {

Stream::Stream(std::shared_ptr<EngineCore> core, PcmFormat format, RenderCallback render)
    : Voice(std::move(core)), format_(format), alFormat_(alFormatFor(format.channels)), render_(std::move(render)),
      framesPerBuffer_(static_cast<size_t>(format.sampleRate / 50)),  // 20 ms a buffer
      scratch_(framesPerBuffer_ * static_cast<size_t>(format.channels)) {}

std::shared_ptr<Stream> Stream::create(std::shared_ptr<EngineCore> core, PcmFormat format, RenderCallback render) {
    if (!alFormatFor(format.channels) || format.sampleRate < 50 || format.sampleRate > 384000 || !render) return nullptr;
    std::shared_ptr<Stream> stream(new Stream(core, format, std::move(render)));
    {
        std::lock_guard lock(core->mutex);
        if (!stream->makeSource()) return nullptr;
        alGetError();
        alGenBuffers(kBuffers, stream->buffers_);
        if (alGetError() != AL_NO_ERROR) {
            stream->releaseAl();
            return nullptr;
        }
        stream->free_.assign(stream->buffers_, stream->buffers_ + kBuffers);
    }
    core->add(stream);
    return stream;
}

void Stream::releaseAl() {
    const bool hadSource = source_ != 0;
    Voice::releaseAl();  // the source goes first, so no buffer is still queued
    if (hadSource && core_->open) alDeleteBuffers(kBuffers, buffers_);
    free_.clear();
}

void Stream::play(bool) {
    std::lock_guard lock(core_->mutex);
    if (!source_) return;
    active_ = true;
    paused_ = false;
    ended_ = false;
}

void Stream::stop() {
    std::lock_guard lock(core_->mutex);
    active_ = false;
    paused_ = false;
    if (!source_) return;
    alSourceStop(source_);
    reclaimPlayed();  // a stopped source has played all of its queue
}

void Stream::reclaimPlayed() {
    ALint played = 0;
    alGetSourcei(source_, AL_BUFFERS_PROCESSED, &played);
    while (played-- > 0) {
        ALuint buffer = 0;
        alSourceUnqueueBuffers(source_, 1, &buffer);
        free_.push_back(buffer);
    }
}

void Stream::refill() {
    while (!ended_ && !free_.empty()) {
        size_t filled = render_(scratch_.data(), framesPerBuffer_);
        if (filled > framesPerBuffer_) filled = framesPerBuffer_;
        if (filled < framesPerBuffer_) ended_ = true;
        if (filled == 0) break;
        const ALuint buffer = free_.back();
        free_.pop_back();
        alBufferData(buffer, alFormat_, scratch_.data(), static_cast<ALsizei>(filled * 2 * format_.channels),
                     format_.sampleRate);
        alSourceQueueBuffers(source_, 1, &buffer);
    }
}

void Stream::tick() {
    if (!active_ || paused_ || !source_) return;
    reclaimPlayed();
    refill();
    ALint state = AL_STOPPED, queued = 0;
    alGetSourcei(source_, AL_SOURCE_STATE, &state);
    alGetSourcei(source_, AL_BUFFERS_QUEUED, &queued);
    if (state == AL_PLAYING) return;
    if (queued > 0) {
        alSourcePlay(source_);  // the first start, or going on after the queue ran dry
    } else if (ended_) {
        active_ = false;
        reportFinished();
    }
}

}  // namespace zorbel::audio
