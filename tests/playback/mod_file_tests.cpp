#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "platform/modules/module_system.hpp"
#include "platform/window/pump.hpp"
#include "playback/midas.hpp"
#include "playback/mod_file.hpp"
#include "tests/platform/audio/audio_test_support.hpp"
#include "tests/support/module_fixture.hpp"
#include "tests/support/temp_root.hpp"
#include "tests/support/wav_file.hpp"

namespace zorbel::playback {
namespace {

using namespace std::chrono_literals;

class MODFileTest : public ::testing::Test {
protected:
    std::string module(const std::string& file, const testing::ModuleSpec& spec = {}) {
        return testing::writeModuleFile(folder / file, spec);
    }
    void TearDown() override { EXPECT_EQ(midasUserCount(), 0); }
    testing::TempFolder folder;
};

void wait(std::chrono::milliseconds d) { window::runUntil([] { return false; }, d); }

TEST_F(MODFileTest, StatusWalksThroughItsStates) {
    auto m = makeRef<MODFile>();
    EXPECT_EQ(m->status(), -1);
    EXPECT_FALSE(m->Play(false));  // nothing loaded
    m->StopPlay();                 // not playing: nothing
    EXPECT_EQ(m->ConfigSoundSystem(), "");
    ASSERT_TRUE(m->OpenFile(module("a.mod")));  // starts the sound system itself
    EXPECT_EQ(m->status(), 1);
    EXPECT_EQ(midasUserCount(), 1);
    EXPECT_FALSE(m->OpenFile(module("b.mod")));  // keeps the loaded module
    EXPECT_EQ(m->Filename(), (folder / "a.mod").string());
    ASSERT_TRUE(m->Play(false));
    EXPECT_EQ(m->status(), 2);
    m->StopPlay();
    EXPECT_EQ(m->status(), 1);
    m->CloseFile();
    EXPECT_EQ(m->status(), 0);
    EXPECT_EQ(m->Filename(), "");
    m->ShutdownSoundSystem();
    EXPECT_EQ(m->status(), -1);
    m->ShutdownSoundSystem();  // harmless
}

TEST_F(MODFileTest, SharedSystemCountsItsUsers) {
    auto first = makeRef<MODFile>(), second = makeRef<MODFile>();
    EXPECT_TRUE(first->InitSoundSystem(""));
    EXPECT_FALSE(first->InitSoundSystem(""));  // already started
    EXPECT_TRUE(second->InitSoundSystem(""));
    EXPECT_EQ(midasUserCount(), 2);
    const std::string startupConfig = midasConfigPath();
    EXPECT_TRUE(std::filesystem::exists(startupConfig));
    EXPECT_EQ(std::filesystem::path(startupConfig).filename().string().rfind("MIDAS", 0), 0u);
    EXPECT_EQ(std::filesystem::file_size(startupConfig), 20u);
    first = nullptr;  // releasing runs the shutdown
    EXPECT_EQ(midasUserCount(), 1);
    EXPECT_TRUE(modules::ModuleSystem::forThisThread().started());
    second = nullptr;
    EXPECT_EQ(midasUserCount(), 0);
    EXPECT_FALSE(modules::ModuleSystem::forThisThread().started());
    EXPECT_TRUE(std::filesystem::exists(startupConfig));  // stays in the temporary folder
}

TEST_F(MODFileTest, FactsAndTitle) {
    testing::ModuleSpec spec;
    spec.title = "  Short Tune  ";
    spec.channels = 8;
    spec.patterns = 3;
    spec.orders = {0, 1, 2, 1, 0};
    auto m = makeRef<MODFile>();
    EXPECT_EQ(m->songLength(), 0);
    EXPECT_EQ(m->SongTitle(), "");
    ASSERT_TRUE(m->OpenFile(module("t.mod", spec)));
    EXPECT_EQ(m->songLength(), 5);
    EXPECT_EQ(m->PatternCount(), 3);
    EXPECT_EQ(m->ChannelCount(), 8);
    EXPECT_EQ(m->InstrumentCount(), 31);
    // The 32-character field with only trailing blanks removed: leading blanks and the NULs
    // after the name are characters of the field (the reader drops the name's own trailing
    // blanks).
    EXPECT_EQ(m->SongTitle(), std::string("  Short Tune") + std::string(20, '\0'));
}

TEST_F(MODFileTest, MissingAndBrokenFilesDoNotOpen) {
    auto m = makeRef<MODFile>();
    EXPECT_FALSE(m->OpenFile((folder / "missing.mod").string()));
    EXPECT_EQ(m->status(), 0);  // the sound system was started on the way
    testing::writeFile(folder / "bad.mod", "no module");
    EXPECT_FALSE(m->OpenFile((folder / "bad.mod").string()));
    EXPECT_EQ(m->status(), 0);
}

TEST_F(MODFileTest, PositionAndVolumeOnlyWhilePlaying) {
    audio::WavOutput output;
    auto m = makeRef<MODFile>();
    ASSERT_TRUE(m->OpenFile(module("p.mod")));
    m->setCurrentPosition(2);  // ignored: not playing
    m->setVolume(10);
    EXPECT_EQ(m->CurrentPosition(), 0);
    ASSERT_TRUE(m->Play(false));
    m->setVolume(110);  // the player's own setting; full volume at most
    wait(800ms);
    EXPECT_EQ(m->CurrentPosition(), 1);
    m->setCurrentPosition(2);
    wait(100ms);
    EXPECT_EQ(m->CurrentPosition(), 2);
    m->StopPlay();
    EXPECT_EQ(m->CurrentPosition(), 0);
    audio::Engine::instance().shutdown();
    auto wav = testing::readWav(output.path());
    ASSERT_TRUE(wav);
    EXPECT_GT(wav->peak(), 2000);
}

TEST_F(MODFileTest, ConfigurationFiles) {
    auto m = makeRef<MODFile>();
    const std::string mine = (folder / "mine.cfg").string();
    testing::writeFile(mine, std::string("\x22\x56\x00\x00\x0A\x00\x00\x00\x01\x00\x00\x00\xF4\x01\x00\x00\x64\x00\x00\x00", 20));
    EXPECT_FALSE(m->LoadConfigFile((folder / "missing.cfg").string()));
    ASSERT_TRUE(m->InitSoundSystem(mine));
    EXPECT_EQ(midasConfigPath(), mine);
    EXPECT_FALSE(std::filesystem::exists(midasStartupConfigPath()));  // the start-up copy went
    EXPECT_EQ(modules::ModuleSystem::forThisThread().configuration().mixingRate(), 22050u);
    EXPECT_FALSE(m->LoadConfigFile(mine));  // only before the start
    EXPECT_EQ(m->ConfigSoundSystem(), mine);
    EXPECT_EQ(std::filesystem::file_size(mine), 20u);
    m->ShutdownSoundSystem();
    EXPECT_TRUE(std::filesystem::exists(mine));  // a caller's file is never deleted
}

}  // namespace
}  // namespace zorbel::playback
