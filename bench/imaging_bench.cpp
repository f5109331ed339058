// Resample of 4096 x 4096 pictures down to 2048 x 2048 and up to 6000 x 6000 against
// cv::resize (bilinear, one thread), and JPEG load and save of a photo-like 4096 x 4096
// picture at quality 90. The save benchmark leaves the picture as zorbel-bench-4096.ppm in the
// temporary folder for tjbench.

#include <benchmark/benchmark.h>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <vector>
#include <filesystem>
#include <string>

#include "imaging/dib_section.hpp"

namespace {

using zorbel::Ref;
using zorbel::imaging::DIBSection;

constexpr int kSide = 4096;

Ref<DIBSection> noisyPicture() {
    Ref<DIBSection> d = zorbel::makeRef<DIBSection>();
    d->Create(kSide, kSide);
    d->RandomiseBits(false);
    return d;
}

void BM_Resample(benchmark::State& state) {
    Ref<DIBSection> source = noisyPicture();
    const auto side = static_cast<int32_t>(state.range(0));
    for (auto _ : state) {
        Ref<DIBSection> result = source->Resample(side, side);
        benchmark::DoNotOptimize(result->bits());
    }
    state.SetItemsProcessed(state.iterations() * int64_t{side} * side);
}
BENCHMARK(BM_Resample)->Arg(2048)->Arg(6000)->Unit(benchmark::kMillisecond);

void BM_OpenCvResize(benchmark::State& state) {
    cv::setNumThreads(1);
    Ref<DIBSection> source = noisyPicture();
    cv::Mat in(kSide, kSide, CV_8UC3, source->bits(), static_cast<size_t>(source->BytesPerScanLine()));
    const int side = static_cast<int>(state.range(0));
    cv::Mat out;
    for (auto _ : state) {
        cv::resize(in, out, cv::Size(side, side), 0, 0, cv::INTER_LINEAR);
        benchmark::DoNotOptimize(out.data);
    }
    state.SetItemsProcessed(state.iterations() * int64_t{side} * side);
}
BENCHMARK(BM_OpenCvResize)->Arg(2048)->Arg(6000)->Unit(benchmark::kMillisecond);

// Smooth shapes with a little grain, which compresses like a photograph (noise would not).
Ref<DIBSection> photoLikePicture() {
    Ref<DIBSection> d = zorbel::makeRef<DIBSection>();
    d->Create(kSide, kSide);
    const size_t stride = static_cast<size_t>(d->BytesPerScanLine());
    uint32_t grain = 12345;
    for (int y = 0; y < kSide; ++y) {
        uint8_t* row = d->bits() + static_cast<size_t>(y) * stride;
        for (int x = 0; x < kSide; ++x) {
            grain = grain * 1103515245u + 12345u;
            const int n = static_cast<int>((grain >> 16) & 15) - 8;
            const double fx = x / 4096.0, fy = y / 4096.0;
            auto clamp = [](double v) { return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); };
            row[3 * x] = clamp(128 + 90 * std::sin(9 * fx) * std::cos(7 * fy) + n);
            row[3 * x + 1] = clamp(60 + 150 * fy * fx + 30 * std::sin(40 * fx * fy) + n);
            row[3 * x + 2] = clamp(200 - 120 * fx + 20 * std::cos(25 * fy) + n);
        }
    }
    return d;
}

// The same picture as a PPM file for `tjbench <file> 90 -bgr -bottomup -subsamp 420`.
void writePpm(DIBSection& d, const std::string& file) {
    std::ofstream out(file, std::ios::binary);
    out << "P6\n" << kSide << " " << kSide << "\n255\n";
    const size_t stride = static_cast<size_t>(d.BytesPerScanLine());
    std::vector<char> row(3 * static_cast<size_t>(kSide));
    for (int y = kSide - 1; y >= 0; --y) {  // top row first
        const uint8_t* p = d.bits() + static_cast<size_t>(y) * stride;
        for (int x = 0; x < kSide; ++x) {
            row[3 * x] = static_cast<char>(p[3 * x + 2]);
            row[3 * x + 1] = static_cast<char>(p[3 * x + 1]);
            row[3 * x + 2] = static_cast<char>(p[3 * x]);
        }
        out.write(row.data(), static_cast<std::streamsize>(row.size()));
    }
}

std::string benchFile() { return (std::filesystem::temp_directory_path() / "zorbel-bench-4096.jpg").string(); }

void BM_SaveJPEG(benchmark::State& state) {
    Ref<DIBSection> source = photoLikePicture();
    writePpm(*source, (std::filesystem::temp_directory_path() / "zorbel-bench-4096.ppm").string());
    for (auto _ : state) source->SaveJPEG(benchFile(), 90);
    state.SetItemsProcessed(state.iterations() * int64_t{kSide} * kSide);
}
BENCHMARK(BM_SaveJPEG)->Unit(benchmark::kMillisecond);

void BM_LoadJPEG(benchmark::State& state) {
    photoLikePicture()->SaveJPEG(benchFile(), 90);
    Ref<DIBSection> target = zorbel::makeRef<DIBSection>();
    for (auto _ : state) target->LoadJPEG(benchFile());
    state.SetItemsProcessed(state.iterations() * int64_t{kSide} * kSide);
    std::remove(benchFile().c_str());
}
BENCHMARK(BM_LoadJPEG)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
