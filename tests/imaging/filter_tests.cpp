// ImageProcessingDIB's filters against plain column-by-column loops of the described passes.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "frame/error.hpp"
#include "imaging/image_processing_dib.hpp"
#include "tests/imaging/image_test_support.hpp"
#include "tests/support/errors.hpp"

namespace zorbel::imaging {
namespace {

using namespace zorbel::imaging::testing;
using zorbel::testing::errorOf;

// ---- reference loops ----

struct Kernel {
    int32_t half = 0;
    std::vector<int32_t> entries;  // by (iX + half) * side + (iY + half); empty: never sized
    int32_t weight = 0;
    int32_t at(int32_t iX, int32_t iY) const { return entries.at((iX + half) * (2 * half + 1) + iY + half); }
};

Kernel filled(int32_t size, std::function<int32_t(int32_t, int32_t)> entry, int32_t weight) {
    Kernel k{size / 2, {}, weight};
    for (int32_t iX = -k.half; iX <= k.half; ++iX)
        for (int32_t iY = -k.half; iY <= k.half; ++iY) k.entries.push_back(entry(iX, iY));
    return k;
}

int32_t checked(int64_t v) {
    if (v < INT32_MIN || v > INT32_MAX) throw Error::runtime(err::kOverflow);
    return static_cast<int32_t>(v);
}

void referenceConvolution(Plain& s, Plain& t, const Kernel& k, EventLog& log) {
    const int32_t h = k.half;
    log.push_back({"InitProgress", 3 * (s.width - 1) - 3 * h});
    for (int32_t x = 3 * h; x <= 3 * (s.width - 1 - h); x += 3) {
        for (int32_t r = h; r <= s.height - 1 - h; ++r) {
            int32_t sum[3] = {0, 0, 0};
            for (int32_t c = 0; c < 3; ++c)
                for (int32_t iX = -h; iX <= h; ++iX)
                    for (int32_t iY = -h; iY <= h; ++iY) {
                        if (k.entries.empty()) throw Error::runtime(err::kSubscriptOutOfRange);
                        sum[c] = checked(int64_t{sum[c]} + checked(int64_t{s.at(x + 3 * iX + c, r + iY)} * k.at(iX, iY)));
                    }
            for (int32_t c = 0; c < 3; ++c) {
                if (k.weight == 0) throw Error::runtime(err::kDivisionByZero);
                t.at(x + c, r) = static_cast<uint8_t>(std::clamp(checked(int64_t{sum[c]} / k.weight), 0, 255));
            }
        }
        log.push_back({"Progress", x});
    }
    log.push_back({"Complete", 0});
}

void referenceNeighbourhood(Plain& s, Plain& t, int32_t type, EventLog& log) {
    log.push_back({"InitProgress", 3 * s.width - 6});
    for (int32_t x = 3; x <= 3 * (s.width - 2); x += 3) {
        for (int32_t r = 1; r <= s.height - 2; ++r)
            for (int32_t c = 0; c < 3; ++c) {
                int32_t v = type == eMinimum ? 255 : 0;
                for (int32_t iX = -1; iX <= 1; ++iX)
                    for (int32_t iY = -1; iY <= 1; ++iY) {
                        int32_t b = s.at(x + 3 * iX + c, r + iY);
                        if (type == eMedian) v += b;
                        if (type == eMinimum && b < v) v = b;
                        if (type == eMaximum && b > v) v = b;
                    }
                if (type == eMedian) v /= 9;
                t.at(x + c, r) = static_cast<uint8_t>(std::clamp(v, 0, 255));
            }
        log.push_back({"Progress", x});
    }
    log.push_back({"Complete", 0});
}

void copyPixels(Plain& target, Plain& source) {
    for (int32_t r = 0; r < std::min(target.height, source.height); ++r)
        for (int32_t x = 0; x < 3 * std::min(target.width, source.width); ++x) target.at(x, r) = source.at(x, r);
}

template <class Fn>
void eachByte(Plain& image, Fn fn) {
    for (int32_t x = 0; x < 3 * image.width; ++x)
        for (int32_t r = 0; r < image.height; ++r) fn(image.at(x, r), x, r);
}

void referenceProcess(int32_t type, const Kernel& kernel, Plain& image, Plain& buffer, EventLog& log) {
    copyPixels(buffer, image);
    if (type >= eMedian && type <= eMaximum) {
        referenceNeighbourhood(image, buffer, type, log);
    } else {
        referenceConvolution(image, buffer, kernel, log);
    }
    if (type == eUnSharp)
        eachByte(image, [&](uint8_t& b, int32_t x, int32_t r) { b = std::clamp(2 * b - buffer.at(x, r), 0, 255); });
    else if (type == eEmboss)
        eachByte(image, [&](uint8_t& b, int32_t x, int32_t r) { b = std::clamp(buffer.at(x, r) + 127, 0, 255); });
    else copyPixels(image, buffer);
}

// ---- the filters as the tests spell them out ----

Kernel ones(int32_t size) { return filled(size, [](int32_t, int32_t) { return 1; }, size * size); }

struct FilterCase {
    const char* name;
    int32_t type;
    Kernel kernel;  // what the pass must apply
};

std::vector<FilterCase> filterCases() {
    const Kernel soften = filled(3, [](int32_t x, int32_t y) { return x == 0 && y == 0 ? 4 : 1; }, 12);
    const Kernel softenMore = filled(
        5, [](int32_t x, int32_t y) { return x == 0 && y == 0 ? 12 : 3 - std::max(std::abs(x), std::abs(y)); }, 44);
    const Kernel sharpen = filled(3, [](int32_t x, int32_t y) { return x == 0 && y == 0 ? 15 : -1; }, 7);
    const Kernel sharpenMore = filled(
        3, [](int32_t x, int32_t y) { return x == 0 && y == 0 ? 5 : (x == 0) != (y == 0) ? -1 : 0; }, 1);
    const Kernel emboss = filled(3, [](int32_t x, int32_t y) { return x == y && x != 0 ? x : 0; }, 1);
    std::mt19937 random(99);
    auto noise = [&random](int32_t lo, int32_t hi) {
        return [&random, lo, hi](int32_t, int32_t) { return std::uniform_int_distribution<int32_t>(lo, hi)(random); };
    };
    return {
        {"eBlur", eBlur, ones(3)},
        {"eBlurMore", eBlurMore, ones(5)},
        {"eSoften", eSoften, soften},
        {"eSoftenMore", eSoftenMore, softenMore},
        {"eSharpen", eSharpen, sharpen},
        {"eSharpenMore", eSharpenMore, sharpenMore},
        {"eUnSharp", eUnSharp, ones(3)},
        {"eEmboss", eEmboss, emboss},
        {"eMedian", eMedian, {}},
        {"eMinimum", eMinimum, {}},
        {"eMaximum", eMaximum, {}},
        {"custom 3x3, small entries", eCustom, filled(3, noise(-9, 9), 5)},
        {"custom 5x5, negative weight", eCustom, filled(5, noise(-4, 6), -7)},
        {"custom 9x9 cone", eCustom,
         filled(9, [](int32_t x, int32_t y) { return 5 - std::max(std::abs(x), std::abs(y)); }, 165)},
        {"custom 7x7, large entries and weight", eCustom, filled(7, noise(-3000, 3000), 5000)},
        {"custom 9x9, weight 1", eCustom, filled(9, noise(-2, 3), 1)},
        {"custom 3x3, near the 32-bit limit", eCustom, filled(3, noise(-900000, 900000), 77777)},
    };
}

void choose(ImageProcessingDIB& filters, const FilterCase& c) {
    if (c.type != eCustom) {
        filters.setFilterType(c.type);
        return;
    }
    const Kernel& k = c.kernel;
    filters.setFilterArraySize(2 * k.half + 1);
    for (int32_t iX = -k.half; iX <= k.half; ++iX)
        for (int32_t iY = -k.half; iY <= k.half; ++iY) filters.setFilterValue(iX, iY, k.at(iX, iY));
    int32_t weight = k.weight;
    filters.setFilterWeight(weight);
    filters.setFilterType(eCustom);
}

TEST(FilterTest, EveryFilterMatchesTheDescribedLoopsOnRandomImages) {
    uint32_t seed = 1;
    for (const FilterCase& c : filterCases())
        for (Size size : testSizes()) {
            SCOPED_TRACE(std::string(c.name) + " on " + std::to_string(size.width) + "x" + std::to_string(size.height));
            Ref<ImageProcessingDIB> filters = makeRef<ImageProcessingDIB>();
            choose(*filters, c);
            Ref<DIBSection> image = randomImage(size.width, size.height, seed++);
            Ref<DIBSection> buffer = randomImage(size.width, size.height, seed++);
            Plain expectedImage = snapshot(*image), expectedBuffer = snapshot(*buffer);
            EventLog expectedEvents;
            referenceProcess(c.type, c.kernel, expectedImage, expectedBuffer, expectedEvents);
            Ref<EventRecorder> events = recordEvents(*filters);
            EXPECT_TRUE(filters->ProcessImage(image, buffer));
            EXPECT_TRUE(sameBytes(expectedImage, *image));
            EXPECT_TRUE(sameBytes(expectedBuffer, *buffer));
            EXPECT_EQ(events->log, expectedEvents);
        }
}

TEST(FilterTest, TheTargetAsItsOwnWorkImageSeesItsOwnResults) {
    // Passing one image as both arguments filters it in place, column by column, each sum
    // reading the pixels already replaced.
    for (const FilterCase& c : filterCases()) {
        if (c.type == eUnSharp || c.type == eEmboss) continue;
        SCOPED_TRACE(c.name);
        Ref<ImageProcessingDIB> filters = makeRef<ImageProcessingDIB>();
        choose(*filters, c);
        Ref<DIBSection> image = randomImage(13, 12, 5);
        Plain expected = snapshot(*image);
        EventLog expectedEvents;
        if (c.type >= eMedian && c.type <= eMaximum) referenceNeighbourhood(expected, expected, c.type, expectedEvents);
        else referenceConvolution(expected, expected, c.kernel, expectedEvents);
        Ref<EventRecorder> events = recordEvents(*filters);
        EXPECT_TRUE(filters->ProcessImage(image, image));
        EXPECT_TRUE(sameBytes(expected, *image));
        EXPECT_EQ(events->log, expectedEvents);
    }
}

TEST(FilterTest, ExampleValues) {
    struct Case {
        const char* name;
        int32_t type;
        std::vector<uint8_t> nine;  // a 3 x 3 grey image, storage row 0 first
        uint8_t centre;
    };
    const Case cases[] = {
        {"sharpen of 100 in black: 1500 / 7 truncated", eSharpen, {0, 0, 0, 0, 100, 0, 0, 0, 0}, 214},
        {"the mean, not the median", eMedian, {0, 0, 0, 0, 0, 0, 0, 255, 255}, 56},
        {"emboss clips the negative difference first", eEmboss, {200, 0, 0, 0, 0, 0, 0, 0, 0}, 127},
        {"emboss adds 127 to a positive difference", eEmboss, {0, 0, 0, 0, 0, 0, 0, 0, 100}, 227},
        {"blur", eBlur, {9, 9, 9, 9, 9, 9, 9, 9, 10}, 9},
        {"minimum", eMinimum, {9, 8, 7, 6, 5, 4, 3, 2, 1}, 1},
        {"maximum", eMaximum, {9, 8, 7, 6, 5, 4, 3, 2, 1}, 9},
    };
    for (const Case& c : cases) {
        Ref<DIBSection> image = uniformImage(3, 3, 0, 0, 0), buffer = uniformImage(3, 3, 0, 0, 0);
        for (int32_t i = 0; i < 9; ++i) std::memset(image->bits() + (i / 3) * 12 + 3 * (i % 3), c.nine[i], 3);
        Ref<ImageProcessingDIB> filters = makeRef<ImageProcessingDIB>();
        filters->setFilterType(c.type);
        filters->ProcessImage(image, buffer);
        EXPECT_EQ(image->bits()[12 + 3], c.centre) << c.name;
    }
}

TEST(FilterTest, UniformImagesStayUniform) {
    for (int32_t type : {eBlur, eBlurMore, eSoften, eSoftenMore, eSharpen, eSharpenMore, eMedian, eMinimum, eMaximum}) {
        Ref<DIBSection> image = uniformImage(9, 8, 10, 128, 250), buffer = uniformImage(9, 8, 0, 0, 0);
        Plain expected = snapshot(*image);
        Ref<ImageProcessingDIB> filters = makeRef<ImageProcessingDIB>();
        filters->setFilterType(type);
        EXPECT_TRUE(filters->ProcessImage(image, buffer));
        EXPECT_TRUE(sameBytes(expected, *image)) << type;
    }
}

TEST(FilterTest, PresetsAndTheirState) {
    Ref<ImageProcessingDIB> f = makeRef<ImageProcessingDIB>();
    EXPECT_EQ(f->FilterArraySize(), 0);
    EXPECT_EQ(f->FilterWeight(), 0);
    f->setFilterType(eSoftenMore);
    EXPECT_EQ(f->FilterArraySize(), 5);
    EXPECT_EQ(f->FilterValue(0, 0), 12);
    EXPECT_EQ(f->FilterValue(-2, 1), 1);
    EXPECT_EQ(f->FilterValue(1, -1), 2);
    EXPECT_EQ(f->FilterWeight(), 44);
    // Types without a preset keep the kernel and set the weight to 0.
    f->setFilterType(eMaximum);
    EXPECT_EQ(f->FilterArraySize(), 5);
    EXPECT_EQ(f->FilterValue(0, 0), 12);
    EXPECT_EQ(f->FilterWeight(), 0);
    // Unsharp leaves the blur kernel with weight 0 behind.
    f->setFilterType(eUnSharp);
    Ref<DIBSection> image = randomImage(4, 4, 1), buffer = randomImage(4, 4, 2);
    EXPECT_TRUE(f->ProcessImage(image, buffer));
    EXPECT_EQ(f->FilterArraySize(), 3);
    EXPECT_EQ(f->FilterWeight(), 0);
    EXPECT_EQ(f->FilterValue(1, 1), 1);
    // A changed preset is applied as changed until the type is set again.
    f->setFilterType(eBlur);
    int32_t weight = 1;
    f->setFilterWeight(weight);
    f->setFilterValue(0, 0, 0);
    image = uniformImage(3, 3, 10, 10, 10);
    EXPECT_TRUE(f->ProcessImage(image, buffer));
    EXPECT_EQ(image->bits()[15], 80);
}

TEST(FilterTest, KernelSizeAndTypeErrors) {
    Ref<ImageProcessingDIB> f = makeRef<ImageProcessingDIB>();
    EXPECT_EQ(errorOf([&] { f->FilterValue(0, 0); }), err::kSubscriptOutOfRange);  // no kernel yet
    f->setFilterArraySize(7);
    EXPECT_EQ(f->FilterValue(3, -3), 0);
    EXPECT_EQ(errorOf([&] { f->FilterValue(4, 0); }), err::kSubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { f->setFilterValue(0, -4, 1); }), err::kSubscriptOutOfRange);
    f->setFilterValue(2, 1, 5);
    int32_t weight = 3;
    f->setFilterWeight(weight);
    f->setFilterType(eCustom);
    struct Case {
        std::function<void()> call;
        int32_t number;
        const char* description;
    };
    const Case cases[] = {
        {[&] { f->setFilterArraySize(4); }, -2147220199, "Size must be an odd number"},
        {[&] { f->setFilterArraySize(0); }, -2147220199, "Size must be an odd number"},
        {[&] { f->setFilterArraySize(-2); }, -2147220199, "Size must be an odd number"},
        {[&] { f->setFilterArraySize(1); }, -2147220198, "Invalid size.  Size should be an odd number from 3 to 9"},
        {[&] { f->setFilterArraySize(11); }, -2147220198, "Invalid size.  Size should be an odd number from 3 to 9"},
        {[&] { f->setFilterArraySize(-3); }, -2147220198, "Invalid size.  Size should be an odd number from 3 to 9"},
        {[&] { f->setFilterType(0); }, -2147220198, "Invalid filter types."},
        {[&] { f->setFilterType(14); }, -2147220198, "Invalid filter types."},
    };
    for (const Case& c : cases) {
        try {
            c.call();
            ADD_FAILURE() << c.description;
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), c.number);
            EXPECT_EQ(e.description(), c.description);
            EXPECT_EQ(e.source(), "Zorbel.cImageProcess");
        }
        EXPECT_EQ(f->FilterArraySize(), 7);
        EXPECT_EQ(f->FilterValue(2, 1), 5);
        EXPECT_EQ(f->FilterWeight(), 3);
    }
    // The type is still eCustom: the kernel is applied.
    Ref<DIBSection> image = uniformImage(7, 7, 3, 3, 3), buffer = uniformImage(7, 7, 0, 0, 0);
    EXPECT_TRUE(f->ProcessImage(image, buffer));
    EXPECT_EQ(image->bits()[3 * 24 + 9], 5);  // pixel (3, 3), rows of 24 bytes
}

TEST(FilterTest, NothingToDo) {
    Ref<DIBSection> image = randomImage(5, 5, 1), buffer = randomImage(5, 5, 2);
    Plain before = snapshot(*image);
    for (bool setCount : {false, true}) {
        Ref<ImageProcessingDIB> f = makeRef<ImageProcessingDIB>();
        if (setCount) f->setFilterType(eCount);
        Ref<EventRecorder> events = recordEvents(*f);
        EXPECT_FALSE(f->ProcessImage(image, buffer));
        EXPECT_TRUE(events->log.empty());
        EXPECT_TRUE(sameBytes(before, *image));
    }
    // Images without pixels are left alone.
    Ref<DIBSection> empty = makeRef<DIBSection>();
    Ref<ImageProcessingDIB> f = makeRef<ImageProcessingDIB>();
    f->setFilterType(eBlur);
    Ref<EventRecorder> events = recordEvents(*f);
    EXPECT_FALSE(f->ProcessImage(empty, buffer));
    EXPECT_FALSE(f->ProcessImage(image, empty));
    EXPECT_TRUE(events->log.empty());
    Ref<DIBSection> none;
    EXPECT_EQ(errorOf([&] { f->ProcessImage(none, buffer); }), err::kObjectNotSet);
}

TEST(FilterTest, ErrorsStopThePassWhereTheDescribedLoopStops) {
    struct Case {
        const char* name;
        std::function<void(ImageProcessingDIB&)> setUp;
        Kernel kernel;
        int32_t error;
    };
    const Case cases[] = {
        {"custom before any size", [](ImageProcessingDIB& f) { f.setFilterType(eCustom); }, {}, err::kSubscriptOutOfRange},
        {"custom without a weight",
         [](ImageProcessingDIB& f) {
             f.setFilterArraySize(3);
             f.setFilterValue(0, 0, 1);
             f.setFilterType(eCustom);
         },
         filled(3, [](int32_t x, int32_t y) { return x == 0 && y == 0; }, 0), err::kDivisionByZero},
        {"sums beyond 32 bits",
         [](ImageProcessingDIB& f) {
             f.setFilterArraySize(3);
             f.setFilterValue(-1, 0, -10000000);
             f.setFilterValue(1, 0, 10000000);
             int32_t w = 1;
             f.setFilterWeight(w);
             f.setFilterType(eCustom);
         },
         filled(3, [](int32_t x, int32_t y) { return y == 0 ? x * 10000000 : 0; }, 1), err::kOverflow},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Ref<ImageProcessingDIB> f = makeRef<ImageProcessingDIB>();
        c.setUp(*f);
        Ref<DIBSection> image = randomImage(40, 30, 7), buffer = randomImage(40, 30, 8);
        Plain expectedImage = snapshot(*image), expectedBuffer = snapshot(*buffer);
        EventLog expectedEvents;
        EXPECT_EQ(errorOf([&] { referenceProcess(eCustom, c.kernel, expectedImage, expectedBuffer, expectedEvents); }),
                  c.error);
        Ref<EventRecorder> events = recordEvents(*f);
        EXPECT_EQ(errorOf([&] { f->ProcessImage(image, buffer); }), c.error);
        EXPECT_TRUE(sameBytes(expectedImage, *image));  // unchanged: the final copy never happened
        EXPECT_TRUE(sameBytes(expectedBuffer, *buffer));
        EXPECT_EQ(events->log, expectedEvents);
        EXPECT_NE(events->log.back().name, "Complete");
    }
    // Too small for the kernel: no pixel is computed, so no error.
    Ref<ImageProcessingDIB> f = makeRef<ImageProcessingDIB>();
    f->setFilterArraySize(5);
    f->setFilterType(eCustom);
    Ref<DIBSection> image = randomImage(4, 9, 1), buffer = randomImage(4, 9, 2);
    Ref<EventRecorder> events = recordEvents(*f);
    EXPECT_TRUE(f->ProcessImage(image, buffer));
    EXPECT_EQ(events->log, (EventLog{{"InitProgress", 3}, {"Complete", 0}}));
}

TEST(FilterTest, AWorkImageSmallerThanTheImageIsRefusedBeforeAnythingChanges) {
    for (Size small : {Size{9, 10}, Size{10, 9}, Size{8, 9}}) {
        Ref<ImageProcessingDIB> f = makeRef<ImageProcessingDIB>();
        f->setFilterType(eBlur);
        Ref<DIBSection> image = randomImage(10, 10, 1), buffer = randomImage(small.width, small.height, 2);
        Plain imageBefore = snapshot(*image), bufferBefore = snapshot(*buffer);
        Ref<EventRecorder> events = recordEvents(*f);
        EXPECT_EQ(errorOf([&] { f->ProcessImage(image, buffer); }), err::kSubscriptOutOfRange);
        EXPECT_TRUE(sameBytes(imageBefore, *image));
        EXPECT_TRUE(sameBytes(bufferBefore, *buffer));
        EXPECT_TRUE(events->log.empty());
    }
    // A larger work image is fine; only the image's area is used.
    Ref<ImageProcessingDIB> f = makeRef<ImageProcessingDIB>();
    f->setFilterType(eSharpen);
    Ref<DIBSection> image = randomImage(6, 5, 1), buffer = randomImage(9, 7, 2);
    Plain expectedImage = snapshot(*image), expectedBuffer = snapshot(*buffer);
    EventLog log;
    referenceProcess(eSharpen, filterCases()[4].kernel, expectedImage, expectedBuffer, log);
    EXPECT_TRUE(f->ProcessImage(image, buffer));
    EXPECT_TRUE(sameBytes(expectedImage, *image));
    EXPECT_TRUE(sameBytes(expectedBuffer, *buffer));
}

TEST(FilterTest, HandlersThatReleaseAnImageOrChangeTheKernel) {
    // Releasing an image from a handler ends the operation instead of leaving it to write
    // into freed memory.
    struct Case {
        const char* name;
        int32_t type;
        bool releaseBuffer;
    };
    for (Case c : {Case{"blur, image released", eBlur, false}, Case{"maximum, buffer released", eMaximum, true}}) {
        SCOPED_TRACE(c.name);
        Ref<ImageProcessingDIB> f = makeRef<ImageProcessingDIB>();
        f->setFilterType(c.type);
        Ref<DIBSection> image = randomImage(700, 6, 1), buffer = randomImage(700, 6, 2);
        Ref<EventRecorder> events = recordEvents(*f);
        events->onEvent = [&](const Event& e) {
            if (e.name == "Progress" && e.value == 300) (c.releaseBuffer ? buffer : image)->ClearUp();
        };
        EXPECT_EQ(errorOf([&] { f->ProcessImage(image, buffer); }), err::kInvalidCall);
        EXPECT_EQ(events->log.back(), (Event{"Progress", 300}));
    }
    Ref<ImageProcessingDIB> f = makeRef<ImageProcessingDIB>();
    Ref<DIBSection> image = randomImage(9, 9, 1);
    Ref<EventRecorder> events = recordEvents(*f);
    events->onEvent = [&](const Event& e) {
        if (e.name == "Progress") image->Create(3, 3);
    };
    EXPECT_EQ(errorOf([&] { f->GrayScale(image); }), err::kInvalidCall);
    // A kernel changed from a handler applies from the next run on; the running pass keeps
    // the kernel it started with (here in place, column by column).
    const Kernel sharpen = filterCases()[4].kernel;
    f->setFilterType(eSharpen);
    image = randomImage(12, 10, 3);
    Plain expected = snapshot(*image);
    EventLog log;
    referenceConvolution(expected, expected, sharpen, log);
    events->onEvent = [&](const Event& e) {
        if (e.name == "Progress" && e.value == 6) {
            f->setFilterArraySize(9);
            f->setFilterValue(4, 4, 1000);
        }
    };
    EXPECT_TRUE(f->ProcessImage(image, image));
    EXPECT_TRUE(sameBytes(expected, *image));
    EXPECT_EQ(f->FilterArraySize(), 9);
}

TEST(FilterTest, InterfaceThroughDispatch) {
    const ClassInfo& info = ImageProcessingDIB::typeInfo();
    const char* const members[] = {"filterType", "FilterArraySize", "FilterValue", "FilterWeight", "ProcessImage",
                                   "AddLightest", "AddDarkest",     "AddImages",   "BlackAndWhite", "ApplyPalette",
                                   "GrayScale",  "AddNoise",        "fade",        "Lighten",       "Colourise"};
    ASSERT_EQ(info.members.size(), std::size(members));
    for (size_t i = 0; i < info.members.size(); ++i) {
        EXPECT_EQ(info.members[i].name, members[i]);
        EXPECT_EQ(info.members[i].id & 0xFFFF, static_cast<int32_t>(i));
    }
    ASSERT_EQ(info.events.size(), 3u);
    EXPECT_EQ(info.events[0].name, "InitProgress");
    EXPECT_EQ(info.events[2].params.at(0).name, "lTimeMs");

    Ref<ImageProcessingDIB> f = makeRef<ImageProcessingDIB>();
    f->invoke("filterType", com::kLet, {Variant::longValue(eBlurMore)});
    EXPECT_EQ(f->invoke("FilterArraySize", com::kGet).toLong(), 5);
    EXPECT_EQ(f->invoke("FilterWeight", com::kGet).toLong(), 25);
    EXPECT_NE(errorOf([&] { f->invoke("filterType", com::kGet); }), 0);  // write-only
    f->invoke("FilterValue", com::kLet, {Variant(-2), Variant(2), Variant(7)});
    EXPECT_EQ(f->invoke("FilterValue", com::kGet, {Variant(-2), Variant(2)}).toLong(), 7);
    Ref<DIBSection> image = randomImage(6, 6, 3), buffer = randomImage(6, 6, 4);
    EXPECT_TRUE(f->invoke("ProcessImage", com::kMethod, {toVariant(image), toVariant(buffer)}).toBool());
}

}  // namespace
}  // namespace zorbel::imaging
