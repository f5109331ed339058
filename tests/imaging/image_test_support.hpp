#pragma once
// Shared pieces of the image operation tests: plain copies of a DIBSection's bytes that the
// reference loops work on, random images, and a sink that records the progress events.

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "frame/class_builder.hpp"
#include "imaging/dib_section.hpp"

namespace zorbel::imaging::testing {

// The bytes of an image, padding included, addressed like the library's two-dimensional view.
struct Plain {
    int32_t width = 0, height = 0;
    size_t stride = 0;
    std::vector<uint8_t> bytes;
    uint8_t& at(int32_t x, int32_t r) { return bytes.at(static_cast<size_t>(r) * stride + static_cast<size_t>(x)); }
    uint8_t* pixel(int32_t column, int32_t r) { return &at(3 * column, r); }
};

inline Plain snapshot(const DIBSection& d) {
    Plain p{d.Width(), d.Height(), static_cast<size_t>(d.BytesPerScanLine()), {}};
    p.bytes.assign(d.bits(), d.bits() + p.stride * static_cast<size_t>(p.height));
    return p;
}

// A w x h image of random bytes (the padding stays as created).
inline Ref<DIBSection> randomImage(int32_t w, int32_t h, uint32_t seed) {
    Ref<DIBSection> d = makeRef<DIBSection>();
    EXPECT_TRUE(d->Create(w, h));
    std::mt19937 random(seed);
    const size_t stride = static_cast<size_t>(d->BytesPerScanLine());
    for (int32_t r = 0; r < h; ++r)
        for (size_t x = 0; x < 3 * static_cast<size_t>(w); ++x) d->bits()[r * stride + x] = static_cast<uint8_t>(random());
    return d;
}

inline Ref<DIBSection> uniformImage(int32_t w, int32_t h, uint8_t b, uint8_t g, uint8_t r) {
    Ref<DIBSection> d = makeRef<DIBSection>();
    EXPECT_TRUE(d->Create(w, h));
    for (int32_t row = 0; row < h; ++row)
        for (int32_t x = 0; x < w; ++x) {
            uint8_t* p = d->bits() + row * d->BytesPerScanLine() + 3 * x;
            p[0] = b, p[1] = g, p[2] = r;
        }
    return d;
}

inline ::testing::AssertionResult sameBytes(const Plain& expected, const DIBSection& actual) {
    Plain got = snapshot(actual);
    if (got.bytes.size() != expected.bytes.size()) return ::testing::AssertionFailure() << "size differs";
    for (size_t i = 0; i < got.bytes.size(); ++i)
        if (got.bytes[i] != expected.bytes[i])
            return ::testing::AssertionFailure()
                   << "first difference at row " << i / expected.stride << ", byte " << i % expected.stride
                   << ": expected " << int(expected.bytes[i]) << ", got " << int(got.bytes[i]);
    return ::testing::AssertionSuccess();
}

// Events as (name, argument); Complete's duration is recorded as 0.
struct Event {
    std::string name;
    int32_t value;
    bool operator==(const Event&) const = default;
};
using EventLog = std::vector<Event>;

inline std::ostream& operator<<(std::ostream& out, const Event& e) { return out << e.name << "(" << e.value << ")"; }

class EventRecorder final : public Dispatchable<EventRecorder> {
public:
    static const ClassInfo& typeInfo() {
        static const ClassInfo info = ClassBuilder<EventRecorder>("EventRecorder", nullptr).build();
        return info;
    }
    com::HResult Invoke(int32_t id, uint16_t, Variant* args, size_t count, Variant*, com::ExcepInfo*) override {
        static const char* const names[] = {"", "InitProgress", "Progress", "Complete"};
        const int32_t value = count == 1 ? args[0].toLong() : -1;
        if (id == 3) lastDuration = value;
        log.push_back({id >= 1 && id <= 3 ? names[id] : "?", id == 3 ? 0 : value});
        if (onEvent) onEvent(log.back());
        return com::kOk;
    }
    EventLog log;
    std::function<void(const Event&)> onEvent;  // runs inside the operation, like a host's handler
    int32_t lastDuration = -1;
};

// Attaches a new recorder to an object's events.
inline Ref<EventRecorder> recordEvents(Object& source) {
    Ref<EventRecorder> recorder = makeRef<EventRecorder>();
    uint32_t cookie = 0;
    EXPECT_EQ(source.Advise(recorder->asDispatch(), &cookie), com::kOk);
    return recorder;
}

// The sizes the operations are compared on: one-pixel lines, images smaller than a kernel,
// odd sizes, and widths that span more than one strip of columns.
struct Size {
    int32_t width, height;
};
inline const std::vector<Size>& testSizes() {
    static const std::vector<Size> sizes = {{1, 1}, {1, 6}, {2, 2}, {2, 5}, {3, 3},   {3, 8},
                                            {7, 1}, {7, 6}, {5, 11}, {9, 10}, {1001, 4}, {1003, 11}, {4099, 3}};
    return sizes;
}

}  // namespace zorbel::imaging::testing
