// ImageProcessingDIB's pixel operations against plain column-by-column loops of the
// described operations.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "frame/error.hpp"
#include "imaging/color_math.hpp"
#include "imaging/image_processing_dib.hpp"
#include "imaging/nearest_color.hpp"
#include "platform/system/random.hpp"
#include "tests/imaging/image_test_support.hpp"
#include "tests/support/errors.hpp"
#include "tests/support/temp_root.hpp"

namespace zorbel::imaging {
namespace {

using namespace zorbel::imaging::testing;
using zorbel::testing::errorOf;
using zorbel::testing::TempFolder;
using zorbel::testing::writeFile;

// ---- reference loops ----

int32_t lum(const uint8_t* p) { return 222 * p[2] + 707 * p[1] + 71 * p[0]; }

uint8_t stored(int64_t v) {
    if (v < 0 || v > 255) throw Error::runtime(err::kOverflow);
    return static_cast<uint8_t>(v);
}

int64_t checked(int64_t v) {
    if (v < INT32_MIN || v > INT32_MAX) throw Error::runtime(err::kOverflow);
    return v;
}

uint8_t clamped(int64_t v) { return static_cast<uint8_t>(std::clamp<int64_t>(v, 0, 255)); }

// The common loop: columns outer, storage rows inner, over the target's size.
template <class Fn>
void commonLoop(Plain& to, EventLog* log, Fn fn) {
    for (int32_t x = 0; x <= 3 * (to.width - 1); x += 3) {
        for (int32_t r = 0; r < to.height; ++r) fn(x, r);
        if (log) log->push_back({"Progress", x});
    }
}

void referenceGrayScale(Plain& to, EventLog& log) {
    log.push_back({"InitProgress", to.width - 1});
    commonLoop(to, &log, [&](int32_t x, int32_t r) {
        uint8_t* p = &to.at(x, r);
        p[0] = p[1] = p[2] = static_cast<uint8_t>(std::nearbyint(lum(p) / 1000.0));
    });
    log.push_back({"Complete", 0});
}

void referenceBlackAndWhite(Plain& from, Plain& to, EventLog& log) {
    referenceGrayScale(from, log);
    const int32_t last = 3 * (to.width - 1);
    log.push_back({"InitProgress", last});
    commonLoop(to, &log, [&](int32_t x, int32_t r) {
        int32_t g = from.at(x, r);
        int16_t e;
        if (g <= 128) {
            for (int c = 0; c < 3; ++c) to.at(x + c, r) = 0;
            e = static_cast<int16_t>(g > 16 ? g : 0);
        } else {
            for (int c = 0; c < 3; ++c) to.at(x + c, r) = 255;
            e = static_cast<int16_t>(127 - g);
        }
        if (x < last - 3) {
            uint8_t v = clamped(from.at(x + 3, r) + (7 * e) / 16);
            for (int c = 0; c < 3; ++c) from.at(x + 3 + c, r) = v;
        }
        if (r < to.height - 1) {
            const int32_t ds[] = {-3, 0, 3}, weights[] = {3, 5, 1};
            for (int i = 0; i < 3; ++i)
                if (0 < x + ds[i] && x + ds[i] < last) {
                    uint8_t v = clamped((weights[i] * e) / 16 + from.at(x + ds[i], r + 1));
                    for (int c = 0; c < 3; ++c) from.at(x + ds[i] + c, r + 1) = v;
                }
        }
    });
    for (int32_t r = 0; r < to.height; ++r)
        for (int32_t x = 0; x < 3 * to.width; ++x) from.at(x, r) = to.at(x, r);
    log.push_back({"Complete", 0});
}

void referenceApplyPalette(Plain& from, Plain& to, cPalette& pal, EventLog& log) {
    const int32_t last = 3 * (to.width - 1);
    log.push_back({"InitProgress", last});
    commonLoop(to, &log, [&](int32_t x, int32_t r) {
        const int32_t b = from.at(x, r), g = from.at(x + 1, r), red = from.at(x + 2, r);
        const int32_t i = pal.ClosestIndex(red, g, b);
        to.at(x + 2, r) = pal.Red(Variant(i));
        to.at(x + 1, r) = pal.Green(Variant(i));
        to.at(x, r) = pal.Blue(Variant(i));
        int32_t e[3];
        for (int c = 0; c < 3; ++c) e[c] = from.at(x + c, r) - to.at(x + c, r);
        if (std::abs(e[0]) + std::abs(e[1]) + std::abs(e[2]) < 4) return;
        if (x < last - 3)
            for (int c = 0; c < 3; ++c) from.at(x + 3 + c, r) = clamped(from.at(x + 3 + c, r) + (7 * e[c]) / 16);
        if (r < to.height - 1) {
            const int32_t ds[] = {-3, 0, 3}, weights[] = {0, 4, 0};
            for (int i2 = 0; i2 < 3; ++i2)
                if (0 < x + ds[i2] && x + ds[i2] < last)
                    for (int c = 0; c < 3; ++c)
                        from.at(x + ds[i2] + c, r + 1) = clamped(from.at(x + ds[i2] + c, r + 1) + (weights[i2] * e[c]) / 16);
        }
    });
    for (int32_t r = 0; r < to.height; ++r)
        for (int32_t x = 0; x < 3 * to.width; ++x) from.at(x, r) = to.at(x, r);
    log.push_back({"Complete", 0});
}

void referenceAddNoise(Plain& to, int32_t percent, bool random, EventLog& log) {
    const int32_t range = static_cast<int32_t>(checked(int64_t{percent} * 128) / 100), half = range / 2;
    log.push_back({"InitProgress", to.width - 1});
    commonLoop(to, &log, [&](int32_t x, int32_t r) {
        if (random && !(100 * system::nextRandom() > percent)) return;
        for (int c = 0; c < 3; ++c) {
            float u = static_cast<float>(system::nextRandom());
            to.at(x + c, r) = clamped(static_cast<int64_t>(std::nearbyint(u * static_cast<double>(range) + (to.at(x + c, r) - half))));
        }
    });
    log.push_back({"Complete", 0});
}

template <class Fn>
void referencePerPixel(Plain& to, EventLog& log, Fn fn) {
    log.push_back({"InitProgress", to.width - 1});
    commonLoop(to, &log, [&](int32_t x, int32_t r) { fn(&to.at(x, r)); });
    log.push_back({"Complete", 0});
}

void referenceFade(Plain& to, int32_t amount, EventLog& log) {
    referencePerPixel(to, log, [&](uint8_t* p) {
        for (int c = 0; c < 3; ++c) p[c] = stored(checked(int64_t{amount} * p[c]) / 255);
    });
}

void referenceHls(Plain& to, EventLog& log, std::function<void(float&, float&, float&)> change) {
    referencePerPixel(to, log, [&](uint8_t* p) {
        float h, s, l;
        rgbToHls(p[2], p[1], p[0], h, s, l);
        change(h, s, l);
        int32_t red, green, blue;
        hlsToRgb(h, s, l, red, green, blue);
        uint8_t rb = stored(red), gb = stored(green), bb = stored(blue);
        p[2] = rb, p[1] = gb, p[0] = bb;
    });
}

void referenceLighten(Plain& to, int32_t amount, EventLog& log) {
    referenceHls(to, log, [amount](float&, float&, float& l) {
        l = static_cast<float>(l * (1 + amount / 100.0));
        if (l > 1) l = 1;
    });
}

void referenceColourise(Plain& to, float hue, EventLog& log) {
    referenceHls(to, log, [hue](float& h, float& s, float&) {
        if (h == 0) s = 0.5f;
        h = hue;
    });
}

void referenceTwo(Plain& from, Plain& to, std::function<void(const uint8_t*, uint8_t*)> fn) {
    commonLoop(to, nullptr, [&](int32_t x, int32_t r) { fn(&from.at(x, r), &to.at(x, r)); });
}

void referenceAddImages(Plain& from, Plain& to, std::array<int32_t, 8> t) {
    referenceTwo(from, to, [&](const uint8_t* f, uint8_t* p) {
        for (int c = 0; c < 3; ++c) {
            int64_t left = checked(t[0] * checked(int64_t{f[c]} + t[1 + c]));
            int64_t right = checked(t[4] * checked(int64_t{p[c]} + t[5 + c]));
            p[c] = clamped(checked(left + right));
        }
    });
}

// ---- the operations ----

Ref<cPalette> paletteOf(const std::vector<PaletteColor>& colors) {
    TempFolder folder;
    std::string text;
    for (const PaletteColor& c : colors)
        text += std::to_string(c.red) + " " + std::to_string(c.green) + " " + std::to_string(c.blue) + "\r\n";
    writeFile(folder / "p.pal", text);
    Ref<cPalette> p = makeRef<cPalette>();
    p->LoadFromFile((folder / "p.pal").string());
    return p;
}

std::vector<PaletteColor> randomColors(size_t count, uint32_t seed, int32_t levels = 256) {
    std::mt19937 random(seed);
    std::vector<PaletteColor> colors;
    auto level = [&] { return static_cast<uint8_t>(random() % levels * (255 / std::max(1, levels - 1))); };
    for (size_t i = 0; i < count; ++i) colors.push_back({level(), level(), level()});
    return colors;
}

using RunOp = std::function<void(ImageProcessingDIB&, Ref<DIBSection>& from, Ref<DIBSection>& to)>;
using Reference = std::function<void(Plain& from, Plain& to, EventLog& log)>;

struct OpCase {
    std::string name;
    RunOp run;
    Reference reference;
};

OpCase addImagesCase(std::array<int32_t, 8> t) {
    std::string name = "AddImages";
    for (int32_t v : t) name += " " + std::to_string(v);
    return {name,
            [t](ImageProcessingDIB& p, Ref<DIBSection>& f, Ref<DIBSection>& to) {
                EXPECT_FALSE(p.AddImages(f, to, t[0], t[1], t[2], t[3], t[4], t[5], t[6], t[7]));
            },
            [t](Plain& f, Plain& to, EventLog&) { referenceAddImages(f, to, t); }};
}

OpCase paletteCase(std::string name, std::vector<PaletteColor> colors) {
    Ref<cPalette> palette = paletteOf(colors);
    return {name, [palette](ImageProcessingDIB& p, Ref<DIBSection>& f, Ref<DIBSection>& to) mutable {
                p.ApplyPalette(f, to, palette);
            },
            [palette](Plain& f, Plain& to, EventLog& log) { referenceApplyPalette(f, to, *palette, log); }};
}

OpCase noiseCase(int32_t percent, bool random) {
    return {"AddNoise " + std::to_string(percent) + (random ? " random" : ""),
            [=](ImageProcessingDIB& p, Ref<DIBSection>&, Ref<DIBSection>& to) {
                system::seedRandom(4711);
                p.AddNoise(to, percent, Variant(random));
            },
            [=](Plain&, Plain& to, EventLog& log) {
                system::seedRandom(4711);
                referenceAddNoise(to, percent, random, log);
            }};
}

std::vector<OpCase> opCases() {
    std::vector<OpCase> cases = {
        {"AddLightest", [](ImageProcessingDIB& p, Ref<DIBSection>& f, Ref<DIBSection>& t) { EXPECT_TRUE(p.AddLightest(f, t).isEmpty()); },
         [](Plain& f, Plain& t, EventLog&) {
             referenceTwo(f, t, [](const uint8_t* a, uint8_t* b) {
                 if (lum(a) < lum(b)) std::copy(a, a + 3, b);
             });
         }},
        {"AddDarkest", [](ImageProcessingDIB& p, Ref<DIBSection>& f, Ref<DIBSection>& t) { EXPECT_TRUE(p.AddDarkest(f, t).isEmpty()); },
         [](Plain& f, Plain& t, EventLog&) {
             referenceTwo(f, t, [](const uint8_t* a, uint8_t* b) {
                 if (lum(a) > lum(b)) std::copy(a, a + 3, b);
             });
         }},
        addImagesCase({1, 0, 0, 0, 0, 0, 0, 0}),
        addImagesCase({-1, 0, 0, 0, 2, 0, 0, 0}),
        addImagesCase({3, 10, -20, 30, -2, 5, 6, -7}),
        addImagesCase({1, 127, 127, 127, 0, 0, 0, 0}),
        addImagesCase({0, 0, 0, 0, 4000000, -255, 0, -254}),  // large terms that still fit 32 bits
        {"BlackAndWhite", [](ImageProcessingDIB& p, Ref<DIBSection>& f, Ref<DIBSection>& t) { p.BlackAndWhite(f, t); },
         referenceBlackAndWhite},
        paletteCase("ApplyPalette, 16 colours", randomColors(16, 3)),
        paletteCase("ApplyPalette, 300 colours with repeats", randomColors(300, 4, 6)),
        paletteCase("ApplyPalette, one colour", {{90, 30, 200}}),
        {"GrayScale", [](ImageProcessingDIB& p, Ref<DIBSection>&, Ref<DIBSection>& t) { p.GrayScale(t); },
         [](Plain&, Plain& t, EventLog& log) { referenceGrayScale(t, log); }},
        noiseCase(30, false),
        noiseCase(60, true),
        noiseCase(-20, false),
        noiseCase(250, false),
    };
    for (int32_t amount : {0, 100, 255})
        cases.push_back({"fade " + std::to_string(amount),
                         [=](ImageProcessingDIB& p, Ref<DIBSection>&, Ref<DIBSection>& t) { p.fade(t, amount); },
                         [=](Plain&, Plain& t, EventLog& log) { referenceFade(t, amount, log); }});
    for (int32_t amount : {0, 30, 100, -40, -100})
        cases.push_back({"Lighten " + std::to_string(amount),
                         [=](ImageProcessingDIB& p, Ref<DIBSection>&, Ref<DIBSection>& t) { p.Lighten(t, amount); },
                         [=](Plain&, Plain& t, EventLog& log) { referenceLighten(t, amount, log); }});
    for (float hue : {1.5f, -1.0f, 5.0f, 0.0f, 3.25f})
        cases.push_back({"Colourise " + std::to_string(hue),
                         [=](ImageProcessingDIB& p, Ref<DIBSection>&, Ref<DIBSection>& t) { p.Colourise(t, hue, 0.9f); },
                         [=](Plain&, Plain& t, EventLog& log) { referenceColourise(t, hue, log); }});
    return cases;
}

TEST(PixelOpTest, EveryOperationMatchesTheDescribedLoopOnRandomImages) {
    uint32_t seed = 100;
    for (const OpCase& c : opCases())
        for (Size size : testSizes()) {
            SCOPED_TRACE(c.name + " on " + std::to_string(size.width) + "x" + std::to_string(size.height));
            Ref<ImageProcessingDIB> p = makeRef<ImageProcessingDIB>();
            Ref<DIBSection> from = randomImage(size.width, size.height, seed++);
            Ref<DIBSection> to = randomImage(size.width, size.height, seed++);
            Plain expectedFrom = snapshot(*from), expectedTo = snapshot(*to);
            EventLog expectedEvents;
            c.reference(expectedFrom, expectedTo, expectedEvents);
            Ref<EventRecorder> events = recordEvents(*p);
            c.run(*p, from, to);
            EXPECT_TRUE(sameBytes(expectedFrom, *from));
            EXPECT_TRUE(sameBytes(expectedTo, *to));
            EXPECT_EQ(events->log, expectedEvents);
        }
}

TEST(PixelOpTest, ErrorsStopAtTheFailingPixel) {
    std::vector<OpCase> cases = {
        addImagesCase({20000000, 0, 0, 0, 0, 0, 0, 0}),
        addImagesCase({1, INT32_MAX - 100, 0, 0, 0, 0, 0, 0}),
        {"fade 256", [](ImageProcessingDIB& p, Ref<DIBSection>&, Ref<DIBSection>& t) { p.fade(t, 256); },
         [](Plain&, Plain& t, EventLog& log) { referenceFade(t, 256, log); }},
        {"fade -3", [](ImageProcessingDIB& p, Ref<DIBSection>&, Ref<DIBSection>& t) { p.fade(t, -3); },
         [](Plain&, Plain& t, EventLog& log) { referenceFade(t, -3, log); }},
        {"fade beyond 32 bits", [](ImageProcessingDIB& p, Ref<DIBSection>&, Ref<DIBSection>& t) { p.fade(t, 1 << 30); },
         [](Plain&, Plain& t, EventLog& log) { referenceFade(t, 1 << 30, log); }},
        {"Lighten -150", [](ImageProcessingDIB& p, Ref<DIBSection>&, Ref<DIBSection>& t) { p.Lighten(t, -150); },
         [](Plain&, Plain& t, EventLog& log) { referenceLighten(t, -150, log); }},
        {"Colourise 7", [](ImageProcessingDIB& p, Ref<DIBSection>&, Ref<DIBSection>& t) { p.Colourise(t, 7, 0); },
         [](Plain&, Plain& t, EventLog& log) { referenceColourise(t, 7, log); }},
        paletteCase("ApplyPalette, empty palette", {}),
        paletteCase("ApplyPalette, only white", {{255, 255, 255}}),
    };
    for (const OpCase& c : cases) {
        SCOPED_TRACE(c.name);
        Ref<ImageProcessingDIB> p = makeRef<ImageProcessingDIB>();
        Ref<DIBSection> from = randomImage(30, 20, 1), to = randomImage(30, 20, 2);
        // Black pixels here and there: Lighten fails at the first that is not black, and a
        // white-only palette has no entry for black.
        for (int32_t r = 0; r < 20; r += 3) std::memset(to->bits() + r * to->BytesPerScanLine() + 3 * (r % 5), 0, 3);
        for (int32_t r = 2; r < 20; r += 2) std::memset(from->bits() + r * from->BytesPerScanLine() + 30, 0, 3);
        Plain expectedFrom = snapshot(*from), expectedTo = snapshot(*to);
        EventLog expectedEvents;
        int32_t expected = errorOf([&] { c.reference(expectedFrom, expectedTo, expectedEvents); });
        EXPECT_NE(expected, 0);
        Ref<EventRecorder> events = recordEvents(*p);
        EXPECT_EQ(errorOf([&] { c.run(*p, from, to); }), expected);
        EXPECT_TRUE(sameBytes(expectedFrom, *from));
        EXPECT_TRUE(sameBytes(expectedTo, *to));
        EXPECT_EQ(events->log, expectedEvents);
    }
    // The noise range is computed before anything happens.
    Ref<ImageProcessingDIB> p = makeRef<ImageProcessingDIB>();
    Ref<DIBSection> image = randomImage(3, 3, 1);
    Ref<EventRecorder> events = recordEvents(*p);
    EXPECT_EQ(errorOf([&] { p->AddNoise(image, 20000000, Variant(false)); }), err::kOverflow);
    EXPECT_TRUE(events->log.empty());
}

TEST(PixelOpTest, ASourceSmallerThanTheTargetIsRefusedBeforeAnythingChanges) {
    Ref<cPalette> palette = paletteOf({{1, 2, 3}});
    const std::pair<const char*, RunOp> runs[] = {
        {"AddLightest", [](ImageProcessingDIB& p, Ref<DIBSection>& f, Ref<DIBSection>& t) { p.AddLightest(f, t); }},
        {"AddDarkest", [](ImageProcessingDIB& p, Ref<DIBSection>& f, Ref<DIBSection>& t) { p.AddDarkest(f, t); }},
        {"AddImages", [](ImageProcessingDIB& p, Ref<DIBSection>& f, Ref<DIBSection>& t) { p.AddImages(f, t, 1, 0, 0, 0, 1, 0, 0, 0); }},
        {"BlackAndWhite", [](ImageProcessingDIB& p, Ref<DIBSection>& f, Ref<DIBSection>& t) { p.BlackAndWhite(f, t); }},
        {"ApplyPalette", [&](ImageProcessingDIB& p, Ref<DIBSection>& f, Ref<DIBSection>& t) { p.ApplyPalette(f, t, palette); }},
    };
    for (const auto& [name, run] : runs)
        for (Size small : {Size{7, 8}, Size{8, 7}}) {
            SCOPED_TRACE(name);
            Ref<ImageProcessingDIB> p = makeRef<ImageProcessingDIB>();
            Ref<DIBSection> from = randomImage(small.width, small.height, 1), to = randomImage(8, 8, 2);
            Plain fromBefore = snapshot(*from), toBefore = snapshot(*to);
            Ref<EventRecorder> events = recordEvents(*p);
            EXPECT_EQ(errorOf([&] { run(*p, from, to); }), err::kSubscriptOutOfRange);
            EXPECT_TRUE(sameBytes(fromBefore, *from));
            EXPECT_TRUE(sameBytes(toBefore, *to));
            EXPECT_TRUE(events->log.empty());
        }
}

TEST(PixelOpTest, ALargerSourceIsReadAtTheTargetsPixels) {
    // Storage rows stay aligned from the bottom: the taller source's top rows are not used.
    Ref<ImageProcessingDIB> p = makeRef<ImageProcessingDIB>();
    Ref<DIBSection> from = randomImage(9, 12, 1), to = randomImage(5, 4, 2);
    Plain expectedFrom = snapshot(*from), expectedTo = snapshot(*to);
    EventLog log;
    referenceBlackAndWhite(expectedFrom, expectedTo, log);
    p->BlackAndWhite(from, to);
    EXPECT_TRUE(sameBytes(expectedFrom, *from));
    EXPECT_TRUE(sameBytes(expectedTo, *to));
}

TEST(PixelOpTest, GrayScaleRoundsEveryLuminanceToEven) {
    // Every colour once: 4096 x 4096 pixels.
    Ref<DIBSection> image = makeRef<DIBSection>();
    ASSERT_TRUE(image->Create(4096, 4096));
    for (uint32_t i = 0; i < (1u << 24); ++i) {
        uint8_t* p = image->bits() + (i >> 12) * 12288 + 3 * (i & 4095);
        p[0] = static_cast<uint8_t>(i), p[1] = static_cast<uint8_t>(i >> 8), p[2] = static_cast<uint8_t>(i >> 16);
    }
    Ref<ImageProcessingDIB> p = makeRef<ImageProcessingDIB>();
    p->GrayScale(image);
    for (uint32_t i = 0; i < (1u << 24); ++i) {
        const uint8_t* q = image->bits() + (i >> 12) * 12288 + 3 * (i & 4095);
        const double l = 222.0 * (i >> 16 & 255) + 707.0 * (i >> 8 & 255) + 71.0 * (i & 255);
        ASSERT_EQ(q[0], std::nearbyint(l / 1000)) << i;
        ASSERT_EQ(q[1], q[0]);
        ASSERT_EQ(q[2], q[0]);
    }
}

TEST(PixelOpTest, ExampleValues) {
    struct Case {
        const char* name;
        std::function<void(ImageProcessingDIB&, Ref<DIBSection>&, Ref<DIBSection>&)> run;
        std::array<uint8_t, 3> from, to;  // blue, green, red of uniform images
        std::array<uint8_t, 3> expected;   // the target's pixels afterwards
    };
    Ref<cPalette> white = paletteOf({{255, 255, 255}});
    const Case cases[] = {
        {"grey of red", [](auto& p, auto&, auto& t) { p.GrayScale(t); }, {}, {0, 0, 255}, {57, 57, 57}},
        {"grey of green", [](auto& p, auto&, auto& t) { p.GrayScale(t); }, {}, {0, 255, 0}, {180, 180, 180}},
        {"grey of blue", [](auto& p, auto&, auto& t) { p.GrayScale(t); }, {}, {255, 0, 0}, {18, 18, 18}},
        {"lightest of white keeps", [](auto& p, auto& f, auto& t) { p.AddLightest(f, t); }, {255, 255, 255}, {1, 2, 3}, {1, 2, 3}},
        {"lightest of black takes", [](auto& p, auto& f, auto& t) { p.AddLightest(f, t); }, {0, 0, 0}, {1, 2, 3}, {0, 0, 0}},
        {"darkest of white takes", [](auto& p, auto& f, auto& t) { p.AddDarkest(f, t); }, {255, 255, 255}, {1, 2, 3}, {255, 255, 255}},
        {"offsets named R act on blue", [](auto& p, auto& f, auto& t) { p.AddImages(f, t, 1, 10, 20, 30, 0, 0, 0, 0); },
         {0, 0, 0}, {9, 9, 9}, {10, 20, 30}},
        {"white stays white", [](auto& p, auto& f, auto& t) { p.BlackAndWhite(f, t); }, {255, 255, 255}, {7, 7, 7}, {255, 255, 255}},
        {"white palette on white", [&](auto& p, auto& f, auto& t) { p.ApplyPalette(f, t, white); }, {255, 255, 255}, {7, 7, 7},
         {255, 255, 255}},
        {"no noise at 0 percent", [](auto& p, auto&, auto& t) { p.AddNoise(t, 0, Variant(false)); }, {}, {5, 6, 7}, {5, 6, 7}},
        {"no noise at 100 percent, random", [](auto& p, auto&, auto& t) { p.AddNoise(t, 100, Variant(true)); }, {}, {5, 6, 7}, {5, 6, 7}},
        {"fade 0 is black", [](auto& p, auto&, auto& t) { p.fade(t, 0); }, {}, {5, 6, 7}, {0, 0, 0}},
        {"Lighten 100 of mid grey is white", [](auto& p, auto&, auto& t) { p.Lighten(t, 100); }, {}, {128, 128, 128}, {255, 255, 255}},
        {"Colourise grey: hue 0, saturation 0.5", [](auto& p, auto&, auto& t) { p.Colourise(t, 0, 0.1f); }, {}, {100, 100, 100},
         {50, 50, 150}},
    };
    for (const Case& c : cases) {
        Ref<ImageProcessingDIB> p = makeRef<ImageProcessingDIB>();
        Ref<DIBSection> from = uniformImage(5, 4, c.from[0], c.from[1], c.from[2]);
        Ref<DIBSection> to = uniformImage(5, 4, c.to[0], c.to[1], c.to[2]);
        c.run(*p, from, to);
        for (int32_t r = 0; r < 4; ++r)
            for (int32_t x = 0; x < 5; ++x)
                for (int ch = 0; ch < 3; ++ch)
                    ASSERT_EQ(to->bits()[r * 16 + 3 * x + ch], c.expected[ch]) << c.name << " at " << x << "," << r;
    }
}

TEST(NearestColorTest, SameAnswerAsTheLinearSearch) {
    std::mt19937 random(5);
    struct Case {
        size_t count;
        int32_t levels;  // few levels give many ties and repeated entries
    };
    for (Case c : {Case{1, 256}, Case{2, 2}, Case{5, 3}, Case{16, 256}, Case{256, 256}, Case{300, 4}, Case{700, 256}}) {
        std::vector<PaletteColor> colors = randomColors(c.count, static_cast<uint32_t>(c.count), c.levels);
        Ref<cPalette> linear = paletteOf(colors);
        NearestColorSearch search(colors);
        for (int i = 0; i < 30000; ++i) {
            uint8_t r = static_cast<uint8_t>(random()), g = static_cast<uint8_t>(random()), b = static_cast<uint8_t>(random());
            if (i < 8) r = i & 1 ? 255 : 0, g = i & 2 ? 255 : 0, b = i & 4 ? 255 : 0;
            ASSERT_EQ(search.closestIndex(r, g, b), linear->ClosestIndex(r, g, b)) << c.count << ": " << int(r) << ","
                                                                                    << int(g) << "," << int(b);
        }
    }
    // A tie at the edge of a cell: entry 1 is as far from (15, 15, 15) as entry 2 is at most
    // from any colour of the cell, and wins the tie.
    NearestColorSearch edge({{30, 30, 30}, {0, 0, 0}});
    EXPECT_EQ(edge.closestIndex(15, 15, 15), 1);
    NearestColorSearch empty({});
    EXPECT_EQ(empty.closestIndex(1, 2, 3), 0);
    NearestColorSearch white({{255, 255, 255}});
    EXPECT_EQ(white.closestIndex(0, 0, 0), 0);  // 765 away
    EXPECT_EQ(white.closestIndex(0, 0, 1), 1);
}

}  // namespace
}  // namespace zorbel::imaging
