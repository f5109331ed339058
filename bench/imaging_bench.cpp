// Resample of 4096 x 4096 pictures down to 2048 x 2048 and up to 6000 x 6000 against
// cv::resize (bilinear, one thread), and JPEG load and save of a 4096 x 4096 picture at
// quality 90.

#include <benchmark/benchmark.h>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <cstdio>
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

std::string benchFile() { return (std::filesystem::temp_directory_path() / "zorbel-bench-4096.jpg").string(); }

void BM_SaveJPEG(benchmark::State& state) {
    Ref<DIBSection> source = noisyPicture();
    for (auto _ : state) source->SaveJPEG(benchFile(), 90);
    state.SetItemsProcessed(state.iterations() * int64_t{kSide} * kSide);
}
BENCHMARK(BM_SaveJPEG)->Unit(benchmark::kMillisecond);

void BM_LoadJPEG(benchmark::State& state) {
    noisyPicture()->SaveJPEG(benchFile(), 90);
    Ref<DIBSection> target = zorbel::makeRef<DIBSection>();
    for (auto _ : state) target->LoadJPEG(benchFile());
    state.SetItemsProcessed(state.iterations() * int64_t{kSide} * kSide);
    std::remove(benchFile().c_str());
}
BENCHMARK(BM_LoadJPEG)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
