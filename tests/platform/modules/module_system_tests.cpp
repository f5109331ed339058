#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>

#include "platform/modules/module_system.hpp"
#include "platform/window/pump.hpp"
#include "tests/platform/audio/audio_test_support.hpp"
#include "tests/support/module_fixture.hpp"
#include "tests/support/temp_root.hpp"
#include "tests/support/wav_file.hpp"

namespace zorbel::modules {
namespace {

using namespace std::chrono_literals;
using testing::makeModule;
using testing::ModuleSpec;

std::string name(const NameField& field) { return std::string(field.data(), strnlen(field.data(), field.size())); }

class ModuleSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(system.startup());
        ASSERT_TRUE(system.init());
        ASSERT_TRUE(system.startBackgroundPlay(100));
        ASSERT_TRUE(system.openChannels(50));
    }
    void TearDown() override { system.close(); }
    std::string write(const std::string& file, const std::string& bytes) {
        testing::writeFile(folder / file, bytes);
        return (folder / file).string();
    }
    std::string write(const std::string& file, const ModuleSpec& spec) {
        return testing::writeModuleFile(folder / file, spec);
    }

    testing::TempFolder folder;
    ModuleSystem& system = ModuleSystem::forThisThread();
};

TEST_F(ModuleSystemTest, ModuleFactsAndSampleNames) {
    ModuleSpec eight;
    eight.title = "Eight Channels";
    eight.channels = 8;
    eight.patterns = 20;
    eight.orders.clear();
    for (int i = 0; i < 30; ++i) eight.orders.push_back(static_cast<uint8_t>(i % 20));
    eight.sampleNames = {"Bass", "Sn\xE4re"};  // Windows-1252 bytes in the file
    ModuleHandle module = system.loadModule(write("eight.mod", eight));
    ASSERT_NE(module, 0u);
    ModuleInfo info;
    ASSERT_TRUE(system.getModuleInfo(module, info));
    EXPECT_EQ(name(info.songName), "Eight Channels");
    EXPECT_EQ(info.songLength, 30u);
    EXPECT_EQ(info.numPatterns, 20u);
    EXPECT_EQ(info.numChannels, 8u);
    EXPECT_EQ(info.numInstruments, 31u);  // a format without instruments: its sample slots
    InstrumentInfo instrument;
    ASSERT_TRUE(system.getInstrumentInfo(module, 1, instrument));
    EXPECT_EQ(name(instrument.name), "Bass");
    ASSERT_TRUE(system.getInstrumentInfo(module, 2, instrument));
    EXPECT_EQ(name(instrument.name), "Sn\xE4re");
    EXPECT_FALSE(system.getInstrumentInfo(module, 0, instrument));
    EXPECT_FALSE(system.getInstrumentInfo(module, 32, instrument));
    EXPECT_TRUE(system.freeModule(module));
    EXPECT_FALSE(system.getModuleInfo(module, info));
    EXPECT_FALSE(system.freeModule(module));
}

TEST_F(ModuleSystemTest, BadFilesAreRefused) {
    auto valid = makeModule(ModuleSpec{});
    std::string truncated(valid.begin(), valid.begin() + 1100);
    ModuleSpec absurd;
    absurd.orders.assign(128, 127);  // 128 patterns claimed, none stored
    auto absurdBytes = makeModule(absurd);
    std::string absurdFile(absurdBytes.begin(), absurdBytes.begin() + 1084);
    std::string garbage(5000, '\x7F');
    const std::string files[] = {
        write("text.mod", "not a module at all"), write("empty.mod", ""), write("cut.mod", truncated),
        write("absurd.mod", absurdFile),        write("garbage.xm", garbage),
        (folder / "missing.mod").string(),      folder.path().string(),
    };
    for (const std::string& file : files) {
        ModuleHandle module = system.loadModule(file);
        if (!module) continue;
        // libopenmpt salvages what it can of some damaged files; their facts stay sane.
        ModuleInfo info;
        ASSERT_TRUE(system.getModuleInfo(module, info)) << file;
        EXPECT_LE(info.numPatterns, 256u) << file;
        system.freeModule(module);
    }
    EXPECT_EQ(system.loadModule(files[0]), 0u);
    EXPECT_EQ(system.loadModule(files[1]), 0u);
    EXPECT_EQ(system.loadModule(files[5]), 0u);
    EXPECT_EQ(system.loadModule(files[6]), 0u);
}

TEST_F(ModuleSystemTest, StepsNeedTheirPredecessors) {
    std::string file = write("a.mod", ModuleSpec{});
    system.close();
    EXPECT_FALSE(system.init());
    EXPECT_EQ(system.loadModule(file), 0u);
    ASSERT_TRUE(system.startup());
    EXPECT_FALSE(system.openChannels(50));
    ASSERT_TRUE(system.init());
    ModuleHandle module = system.loadModule(file);
    ASSERT_NE(module, 0u);
    EXPECT_EQ(system.playModule(module, false), 0u);  // no background play, no channels
    ASSERT_TRUE(system.startBackgroundPlay(100));
    ASSERT_TRUE(system.openChannels(2));
    EXPECT_EQ(system.playModule(module, false), 0u);  // four channels do not fit in two
    EXPECT_FALSE(system.stopModule(12345));
}

TEST_F(ModuleSystemTest, ConfigurationRoundTripAndRefusals) {
    std::string good = write("good.cfg", std::string("\x44\xAC\x00\x00\x0A\x00\x00\x00\x01\x00\x00\x00\xF4\x01\x00\x00\x64\x00\x00\x00", 20));
    ASSERT_TRUE(system.loadConfig(good));
    EXPECT_EQ(system.configuration().mixingRate(), 44100u);
    EXPECT_TRUE(system.config());
    std::string saved = (folder / "saved.cfg").string();
    ASSERT_TRUE(system.saveConfig(saved));
    EXPECT_EQ(testing::readFile(saved), testing::readFile(good));
    for (const std::string& bad : {write("short.cfg", std::string(19, '\1')), write("long.cfg", std::string(21, '\1')),
                                   write("rate.cfg", std::string(20, '\0')), (folder / "none.cfg").string()})
        EXPECT_FALSE(system.loadConfig(bad)) << bad;
    EXPECT_EQ(system.configuration().mixingRate(), 44100u);
    EXPECT_FALSE(system.saveConfig((folder / "no/such/folder.cfg").string()));
}

TEST_F(ModuleSystemTest, PlaysAudiblyForTheModulesLengthAndReportsTheOrder) {
    audio::WavOutput output;
    ModuleSpec spec;  // three orders of 0.64 s
    ModuleHandle module = system.loadModule(write("three.mod", spec));
    PlayHandle play = system.playModule(module, false);
    ASSERT_NE(play, 0u);
    std::vector<uint32_t> orders;
    const auto started = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - started < 1800ms) {
        PlayStatus s;
        if (system.getPlayStatus(play, s) && (orders.empty() || orders.back() != s.position))
            orders.push_back(s.position);
        window::runUntil([] { return false; }, 20ms);
    }
    EXPECT_EQ(orders, (std::vector<uint32_t>{0, 1, 2}));
    window::runUntil([] { return false; }, 600ms);  // past the end
    EXPECT_TRUE(system.stopModule(play));
    audio::Engine::instance().shutdown();
    auto wav = testing::readWav(output.path());
    ASSERT_TRUE(wav);
    EXPECT_GT(wav->peak(), 2000);
    EXPECT_NEAR(wav->soundingSeconds(), 3 * testing::kOrderSeconds, 0.12);
}

TEST_F(ModuleSystemTest, LoopsWhenAskedStopsOnRequestAndJumpsToAnOrder) {
    audio::WavOutput output;
    ModuleSpec spec;
    spec.orders = {0, 1};  // 1.28 s a pass
    ModuleHandle module = system.loadModule(write("two.mod", spec));
    PlayHandle play = system.playModule(module, true);
    ASSERT_NE(play, 0u);
    window::runUntil([] { return false; }, 1700ms);  // into the second pass
    PlayStatus s;
    ASSERT_TRUE(system.getPlayStatus(play, s));
    EXPECT_EQ(s.position, 0u);
    EXPECT_TRUE(system.setPosition(play, 1));
    EXPECT_FALSE(system.setPosition(play, 2));
    window::runUntil([] { return false; }, 100ms);
    ASSERT_TRUE(system.getPlayStatus(play, s));
    EXPECT_EQ(s.position, 1u);
    EXPECT_TRUE(system.setMusicVolume(play, 32));
    window::runUntil([] { return false; }, 300ms);
    EXPECT_TRUE(system.stopModule(play));
    window::runUntil([] { return false; }, 400ms);
    audio::Engine::instance().shutdown();
    auto wav = testing::readWav(output.path());
    ASSERT_TRUE(wav);
    // Sound for about 2.1 s of playing, then silence after the stop.
    EXPECT_GT(wav->soundingSeconds(), 1.9);
    EXPECT_LT(wav->soundingSeconds(), 2.4);
}

}  // namespace
}  // namespace zorbel::modules
