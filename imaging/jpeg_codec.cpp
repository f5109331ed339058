#include "imaging/jpeg_codec.hpp"

#include <turbojpeg.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "frame/error.hpp"
#include "imaging/dib_section.hpp"
#include "imaging/imaging_messages.hpp"
#include "platform/system/atomic_file.hpp"
#include "platform/system/file_ops.hpp"

namespace zorbel::imaging {

namespace {

struct TjCloser {
    void operator()(void* handle) const { tjDestroy(handle); }
};
using TjHandle = std::unique_ptr<void, TjCloser>;

struct TjBuffer {
    unsigned char* data = nullptr;
    unsigned long size = 0;
    ~TjBuffer() { tjFree(data); }
};

// Files above this size are not JPEGs this library reads.
constexpr uint64_t kMaxJpegFileBytes = uint64_t{1} << 30;

[[noreturn]] void raiseJpegError(const std::string& text, int code) {
    throw Error(kJpegError, text + std::to_string(code), kJpegErrorSource);
}

// TurboJPEG has no numeric error codes beyond its error class; the number reported is that
// class plus one (1 warning, 2 fatal).
int lastErrorCode(void* handle) { return tjGetErrorCode(handle) + 1; }

bool warn(const char* text) {
    showMessage(text, MessageIcon::Warning);
    return false;
}

}  // namespace

bool loadJpeg(DIBSection& target, const std::string& fileName) {
    TjHandle tj(tjInitDecompress());
    if (!tj) {
        showMessage("Failed to initialise the IJL library: " + std::to_string(-1), MessageIcon::Warning);
        return false;
    }
    std::optional<std::vector<uint8_t>> bytes = system::readWholeFile(fileName, kMaxJpegFileBytes);
    int width = 0, height = 0, subsampling = 0, colorspace = 0;
    if (!bytes || tjDecompressHeader3(tj.get(), bytes->data(), static_cast<unsigned long>(bytes->size()), &width,
                                      &height, &subsampling, &colorspace) != 0)
        return warn("Failed to read JPG");
    if (!target.Create(width, height)) return false;
    int pitch = target.BytesPerScanLine();
    int flags = TJFLAG_BOTTOMUP | TJFLAG_STOPONWARNING;
    if (tjDecompress2(tj.get(), bytes->data(), static_cast<unsigned long>(bytes->size()), target.bits(), width, pitch,
                      height, TJPF_BGR, flags) != 0)
        return warn("Cannot read Image Data from file.");
    return true;
}

namespace {

// The encoder of a thread and its output block, kept between saves: a fresh block for every
// picture costs a page fault for every page the compressed picture fills. The block grows to
// the largest picture saved; only the pages a result really used stay resident.
struct Encoder {
    TjHandle handle{tjInitCompress()};
    TjBuffer output;
    unsigned long capacity = 0;

    // Room for any result of this size, so the encoder never has to grow the block.
    bool reserve(unsigned long bound) {
        if (bound <= capacity) return true;
        if (bound > INT32_MAX) return false;
        unsigned char* fresh = tjAlloc(static_cast<int>(bound));
        if (!fresh) return false;
        tjFree(output.data);
        output.data = fresh;
        capacity = bound;
        return true;
    }
};

Encoder& threadEncoder() {
    thread_local Encoder encoder;
    return encoder;
}

}  // namespace

bool saveJpeg(DIBSection& source, const std::string& fileName, int32_t quality) {
    Encoder& encoder = threadEncoder();
    if (!encoder.handle) raiseJpegError("Failed to initialise the IJL library: ", -1);
    if (!source.bits()) raiseJpegError("Failed to save to JPG ", -1);
    const unsigned long bound = tjBufSize(source.Width(), source.Height(), TJSAMP_420);
    if (bound == static_cast<unsigned long>(-1) || !encoder.reserve(bound))
        raiseJpegError("Failed to save to JPG ", -1);
    unsigned long size = encoder.capacity;
    if (tjCompress2(encoder.handle.get(), source.bits(), source.Width(), source.BytesPerScanLine(), source.Height(),
                    TJPF_BGR, &encoder.output.data, &size, TJSAMP_420, quality,
                    TJFLAG_BOTTOMUP | TJFLAG_NOREALLOC) != 0)
        raiseJpegError("Failed to save to JPG ", lastErrorCode(encoder.handle.get()));
    system::replaceFileKeepingStamps(fileName,
                                     std::string_view(reinterpret_cast<const char*>(encoder.output.data), size));
    return true;
}

}  // namespace zorbel::imaging
