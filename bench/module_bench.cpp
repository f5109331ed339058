// Module rendering speed: 60 seconds of a 4-channel and of a 32-channel module played through
// the audio engine to no output, rendered as fast as it goes, with the whole process on one
// core. Reports the speed as a multiple of real time, next to libopenmpt rendering the same
// module into memory by itself (the engine's share is the difference).
//   module_bench [seconds]     (default: 60)

#include <libopenmpt/libopenmpt.h>
#include <sched.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/audio/engine.hpp"
#include "platform/modules/module_system.hpp"
#include "tests/support/module_fixture.hpp"

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

zorbel::testing::ModuleSpec moduleSpecWith(int channels) {
    zorbel::testing::ModuleSpec spec;
    spec.channels = channels;
    spec.orders = {0, 1, 0, 1};
    return spec;
}

double throughEngine(const std::string& file, double length) {
    auto& system = zorbel::modules::ModuleSystem::forThisThread();
    auto module = system.loadModule(file);
    auto play = system.playModule(module, true);
    if (!play) {
        std::fprintf(stderr, "cannot play %s\n", file.c_str());
        std::exit(1);
    }
    const auto start = Clock::now();
    zorbel::audio::Engine::instance().renderAhead(length);
    const double elapsed = seconds(Clock::now() - start);
    system.stopModule(play);
    system.freeModule(module);
    return elapsed;
}

double libopenmptAlone(const std::vector<uint8_t>& bytes, double length) {
    openmpt_module* m = openmpt_module_create_from_memory2(bytes.data(), bytes.size(), openmpt_log_func_silent, nullptr,
                                                           openmpt_error_func_ignore, nullptr, nullptr, nullptr, nullptr);
    openmpt_module_set_repeat_count(m, -1);
    std::vector<int16_t> block(2 * 640);
    const auto frames = static_cast<size_t>(length * 32000);
    const auto start = Clock::now();
    for (size_t done = 0; done < frames; done += 640) openmpt_module_read_interleaved_stereo(m, 32000, 640, block.data());
    const double elapsed = seconds(Clock::now() - start);
    openmpt_module_destroy(m);
    return elapsed;
}

}  // namespace

int main(int argc, char** argv) {
    const double length = argc > 1 ? std::atof(argv[1]) : 60.0;
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(0, &one);
    sched_setaffinity(0, sizeof one, &one);  // this thread and the engine thread it starts
    setenv("ZORBEL_AUDIO_OUTPUT", "none", 1);

    auto& system = zorbel::modules::ModuleSystem::forThisThread();
    system.startup();
    system.init();
    system.startBackgroundPlay(100);
    system.openChannels(64);
    const auto folder = std::filesystem::temp_directory_path();
    std::printf("%-12s %14s %16s %18s\n", "module", "engine (s)", "x real time", "libopenmpt alone");
    for (int channels : {4, 32}) {
        const std::vector<uint8_t> bytes = zorbel::testing::makeModule(moduleSpecWith(channels));
        const std::string file = zorbel::testing::writeModuleFile(
            folder / ("zorbel-bench-" + std::to_string(channels) + ".mod"), moduleSpecWith(channels));
        const double engine = throughEngine(file, length);
        const double alone = libopenmptAlone(bytes, length);
        std::printf("%2d channels  %14.3f %16.0f %15.0fx rt\n", channels, engine, length / engine, length / alone);
        std::filesystem::remove(file);
    }
    system.close();
    zorbel::audio::Engine::instance().shutdown();
}
