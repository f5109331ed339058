// ImageProcessingDIB against OpenCV (one thread) on 4096 x 4096 and 4001 x 3001 24-bit
// pictures: eBlur / eBlurMore against cv::blur 3 x 3 / 5 x 5, eSharpen and a 9 x 9 custom
// kernel against cv::filter2D, eMinimum / eMaximum against cv::erode / cv::dilate 3 x 3,
// GrayScale against cv::cvtColor to grey; BM_Copy is a plain memcpy of the same picture, the
// memory floor (efficiency = copy time / operation time). ApplyPalette with 256 colours on
// 2048 x 2048 against the linear palette search of a straightforward loop, which must give
// the same picture.

#include <benchmark/benchmark.h>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <vector>

#include "imaging/image_processing_dib.hpp"

namespace {

using zorbel::Ref;
using zorbel::imaging::cPalette;
using zorbel::imaging::DIBSection;
using zorbel::imaging::ImageProcessingDIB;

Ref<DIBSection> randomPicture(int32_t w, int32_t h, uint32_t seed) {
    Ref<DIBSection> d = zorbel::makeRef<DIBSection>();
    d->Create(w, h);
    std::mt19937 random(seed);
    const size_t stride = static_cast<size_t>(d->BytesPerScanLine());
    for (int32_t r = 0; r < h; ++r)
        for (size_t x = 0; x < 3 * static_cast<size_t>(w); ++x) d->bits()[r * stride + x] = static_cast<uint8_t>(random());
    return d;
}

// One picture and one work picture per size, made once.
struct Pictures {
    Ref<DIBSection> image, buffer;
    cv::Mat in, out;
};
Pictures& pictures(const benchmark::State& state) {
    static std::map<std::pair<int64_t, int64_t>, Pictures> made;
    auto key = std::pair{state.range(0), state.range(1)};
    auto it = made.find(key);
    if (it != made.end()) return it->second;
    Pictures p;
    const auto w = static_cast<int32_t>(key.first), h = static_cast<int32_t>(key.second);
    p.image = randomPicture(w, h, 1);
    p.buffer = randomPicture(w, h, 2);
    p.in = cv::Mat(h, w, CV_8UC3, p.image->bits(), static_cast<size_t>(p.image->BytesPerScanLine()));
    p.out = cv::Mat(h, w, CV_8UC3);
    return made.emplace(key, std::move(p)).first->second;
}

void pixelsProcessed(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(1));
}

void BM_Copy(benchmark::State& state) {
    Pictures& p = pictures(state);
    const size_t bytes = static_cast<size_t>(p.image->BytesPerScanLine()) * static_cast<size_t>(p.image->Height());
    for (auto _ : state) {
        std::memcpy(p.buffer->bits(), p.image->bits(), bytes);
        benchmark::ClobberMemory();
    }
    pixelsProcessed(state);
}

void nineByNineCone(ImageProcessingDIB& f) {
    f.setFilterArraySize(9);
    for (int32_t x = -4; x <= 4; ++x)
        for (int32_t y = -4; y <= 4; ++y) f.setFilterValue(x, y, 5 - std::max(std::abs(x), std::abs(y)));
    int32_t weight = 165;
    f.setFilterWeight(weight);
    f.setFilterType(zorbel::imaging::eCustom);
}

void BM_Filter(benchmark::State& state, int32_t type) {
    Pictures& p = pictures(state);
    Ref<ImageProcessingDIB> f = zorbel::makeRef<ImageProcessingDIB>();
    if (type == zorbel::imaging::eCustom) nineByNineCone(*f);
    else f->setFilterType(type);
    for (auto _ : state) benchmark::DoNotOptimize(f->ProcessImage(p.image, p.buffer));
    pixelsProcessed(state);
}

void BM_GrayScale(benchmark::State& state) {
    Pictures& p = pictures(state);
    Ref<ImageProcessingDIB> f = zorbel::makeRef<ImageProcessingDIB>();
    for (auto _ : state) f->GrayScale(p.image);
    pixelsProcessed(state);
}

template <class Op>
void openCv(benchmark::State& state, Op op) {
    cv::setNumThreads(1);
    Pictures& p = pictures(state);
    for (auto _ : state) {
        op(p.in, p.out);
        benchmark::DoNotOptimize(p.out.data);
    }
    pixelsProcessed(state);
}

cv::Mat sharpenKernel() {
    cv::Mat k(3, 3, CV_32F, cv::Scalar(-1.0f / 7));
    k.at<float>(1, 1) = 15.0f / 7;
    return k;
}

cv::Mat coneKernel() {
    cv::Mat k(9, 9, CV_32F);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x) k.at<float>(y, x) = (5 - std::max(std::abs(x - 4), std::abs(y - 4))) / 165.0f;
    return k;
}

void BM_CvBlur3(benchmark::State& s) { openCv(s, [](cv::Mat& i, cv::Mat& o) { cv::blur(i, o, cv::Size(3, 3)); }); }
void BM_CvBlur5(benchmark::State& s) { openCv(s, [](cv::Mat& i, cv::Mat& o) { cv::blur(i, o, cv::Size(5, 5)); }); }
void BM_CvFilter2DSharpen(benchmark::State& s) {
    const cv::Mat k = sharpenKernel();
    openCv(s, [&](cv::Mat& i, cv::Mat& o) { cv::filter2D(i, o, -1, k); });
}
void BM_CvFilter2D9x9(benchmark::State& s) {
    const cv::Mat k = coneKernel();
    openCv(s, [&](cv::Mat& i, cv::Mat& o) { cv::filter2D(i, o, -1, k); });
}
void BM_CvErode3(benchmark::State& s) { openCv(s, [](cv::Mat& i, cv::Mat& o) { cv::erode(i, o, cv::Mat()); }); }
void BM_CvDilate3(benchmark::State& s) { openCv(s, [](cv::Mat& i, cv::Mat& o) { cv::dilate(i, o, cv::Mat()); }); }
void BM_CvGray(benchmark::State& s) {
    cv::Mat grey;
    openCv(s, [&](cv::Mat& i, cv::Mat&) { cv::cvtColor(i, grey, cv::COLOR_BGR2GRAY); });
}

#define SIZES ->Args({4096, 4096})->Args({4001, 3001})->Unit(benchmark::kMillisecond)
BENCHMARK(BM_Copy) SIZES;
BENCHMARK_CAPTURE(BM_Filter, eBlur, zorbel::imaging::eBlur) SIZES;
BENCHMARK(BM_CvBlur3) SIZES;
BENCHMARK_CAPTURE(BM_Filter, eBlurMore, zorbel::imaging::eBlurMore) SIZES;
BENCHMARK(BM_CvBlur5) SIZES;
BENCHMARK_CAPTURE(BM_Filter, eSharpen, zorbel::imaging::eSharpen) SIZES;
BENCHMARK(BM_CvFilter2DSharpen) SIZES;
BENCHMARK_CAPTURE(BM_Filter, eCustom9x9, zorbel::imaging::eCustom) SIZES;
BENCHMARK(BM_CvFilter2D9x9) SIZES;
BENCHMARK_CAPTURE(BM_Filter, eMinimum, zorbel::imaging::eMinimum) SIZES;
BENCHMARK(BM_CvErode3) SIZES;
BENCHMARK_CAPTURE(BM_Filter, eMaximum, zorbel::imaging::eMaximum) SIZES;
BENCHMARK(BM_CvDilate3) SIZES;
BENCHMARK(BM_GrayScale) SIZES;
BENCHMARK(BM_CvGray) SIZES;

// ---- ApplyPalette ----

constexpr int32_t kPaletteSide = 2048;

Ref<cPalette> palette256() {
    static Ref<cPalette> palette = [] {
        std::mt19937 random(7);
        std::string text;
        for (int i = 0; i < 256; ++i)
            text += std::to_string(random() % 256) + " " + std::to_string(random() % 256) + " " +
                    std::to_string(random() % 256) + "\r\n";
        auto file = std::filesystem::temp_directory_path() / "zorbel-bench-256.pal";
        std::ofstream(file, std::ios::binary) << text;
        Ref<cPalette> p = zorbel::makeRef<cPalette>();
        p->LoadFromFile(file.string());
        std::filesystem::remove(file);
        return p;
    }();
    return palette;
}

// The described loop with the palette's own linear search for every pixel.
void applyPaletteLinear(DIBSection& from, DIBSection& to, cPalette& pal) {
    const size_t fs = static_cast<size_t>(from.BytesPerScanLine()), ts = static_cast<size_t>(to.BytesPerScanLine());
    const int32_t last = 3 * (to.Width() - 1);
    auto f = [&](int32_t x, int32_t r) -> uint8_t& { return from.bits()[r * fs + static_cast<size_t>(x)]; };
    auto t = [&](int32_t x, int32_t r) -> uint8_t& { return to.bits()[r * ts + static_cast<size_t>(x)]; };
    auto clamp = [](int32_t v) { return static_cast<uint8_t>(std::clamp(v, 0, 255)); };
    for (int32_t x = 0; x <= last; x += 3)
        for (int32_t r = 0; r < to.Height(); ++r) {
            const int32_t i = pal.ClosestIndex(f(x + 2, r), f(x + 1, r), f(x, r));
            t(x + 2, r) = pal.Red(zorbel::Variant(i));
            t(x + 1, r) = pal.Green(zorbel::Variant(i));
            t(x, r) = pal.Blue(zorbel::Variant(i));
            int32_t e[3];
            for (int c = 0; c < 3; ++c) e[c] = f(x + c, r) - t(x + c, r);
            if (std::abs(e[0]) + std::abs(e[1]) + std::abs(e[2]) < 4) continue;
            if (x < last - 3)
                for (int c = 0; c < 3; ++c) f(x + 3 + c, r) = clamp(f(x + 3 + c, r) + 7 * e[c] / 16);
            if (r < to.Height() - 1 && 0 < x && x < last)
                for (int c = 0; c < 3; ++c) f(x + c, r + 1) = clamp(f(x + c, r + 1) + 4 * e[c] / 16);
        }
    std::memcpy(from.bits(), to.bits(), ts * static_cast<size_t>(to.Height()));
}

void BM_ApplyPalette(benchmark::State& state) {
    Ref<cPalette> pal = palette256();
    Ref<DIBSection> source = randomPicture(kPaletteSide, kPaletteSide, 3);
    Ref<DIBSection> from = randomPicture(kPaletteSide, kPaletteSide, 3), to = randomPicture(kPaletteSide, kPaletteSide, 4);
    Ref<ImageProcessingDIB> f = zorbel::makeRef<ImageProcessingDIB>();
    const size_t bytes = static_cast<size_t>(source->BytesPerScanLine()) * kPaletteSide;
    // Once against the linear search: the pictures must agree.
    Ref<DIBSection> linearFrom = randomPicture(kPaletteSide, kPaletteSide, 3), linearTo = randomPicture(kPaletteSide, kPaletteSide, 4);
    applyPaletteLinear(*linearFrom, *linearTo, *pal);
    f->ApplyPalette(from, to, pal);
    if (std::memcmp(to->bits(), linearTo->bits(), bytes) != 0) state.SkipWithError("differs from the linear search");
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(from->bits(), source->bits(), bytes);
        state.ResumeTiming();
        f->ApplyPalette(from, to, pal);
    }
    state.SetItemsProcessed(state.iterations() * kPaletteSide * kPaletteSide);
}
BENCHMARK(BM_ApplyPalette)->Unit(benchmark::kMillisecond);

void BM_ApplyPaletteLinearSearch(benchmark::State& state) {
    Ref<cPalette> pal = palette256();
    Ref<DIBSection> source = randomPicture(kPaletteSide, kPaletteSide, 3);
    Ref<DIBSection> from = randomPicture(kPaletteSide, kPaletteSide, 3), to = randomPicture(kPaletteSide, kPaletteSide, 4);
    const size_t bytes = static_cast<size_t>(source->BytesPerScanLine()) * kPaletteSide;
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(from->bits(), source->bits(), bytes);
        state.ResumeTiming();
        applyPaletteLinear(*from, *to, *pal);
    }
    state.SetItemsProcessed(state.iterations() * kPaletteSide * kPaletteSide);
}
BENCHMARK(BM_ApplyPaletteLinearSearch)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
