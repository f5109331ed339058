#include "playback/mod_file.hpp"

#include "frame/class_builder.hpp"
#include "frame/text.hpp"
#include "frame/zorbel_classes.hpp"
#include "platform/modules/module_system.hpp"
#include "platform/system/file_ops.hpp"
#include "playback/midas.hpp"

namespace zorbel::playback {

namespace {

modules::ModuleSystem& moduleSystem() { return modules::ModuleSystem::forThisThread(); }

}  // namespace

const ClassInfo& MODFile::typeInfo() {
    using C = MODFile;
    using P = Param;
    static const ClassInfo info = ClassBuilder<C>("MODFile", zorbelIdentity("MODFile"))
                                      .method("InitSoundSystem", &C::InitSoundSystem, {P::opt("UseConfigFile", "")})
                                      .method("ShutdownSoundSystem", &C::ShutdownSoundSystem)
                                      .method("OpenFile", &C::OpenFile, {"Filename"})
                                      .method("CloseFile", &C::CloseFile)
                                      .method("Play", &C::Play, {P::opt("loopSong", false)})
                                      .method("StopPlay", &C::StopPlay)
                                      .method("ConfigSoundSystem", &C::ConfigSoundSystem)
                                      .method("LoadConfigFile", &C::LoadConfigFile, {"ConfigFileName"})
                                      .property("CurrentPosition", &C::CurrentPosition, &C::setCurrentPosition)
                                      .property("volume", nullptr, &C::setVolume)
                                      .property("songLength", &C::songLength)
                                      .property("PatternCount", &C::PatternCount)
                                      .property("InstrumentCount", &C::InstrumentCount)
                                      .property("ChannelCount", &C::ChannelCount)
                                      .property("SongTitle", &C::SongTitle)
                                      .property("Filename", &C::Filename)
                                      .property("status", &C::status)
                                      .build();
    return info;
}

MODFile::~MODFile() { ShutdownSoundSystem(); }

bool MODFile::InitSoundSystem(std::string useConfigFile) {
    if (status_ != kNotStarted || !MidasAcquire()) return false;
    if (!useConfigFile.empty()) LoadConfigFile(useConfigFile);
    status_ = kStarted;
    return true;
}

void MODFile::ShutdownSoundSystem() {
    if (status_ == kLoaded || status_ == kPlaying) CloseFile();
    if (status_ == kStarted) {
        MidasRelease();
        status_ = kNotStarted;
    }
}

bool MODFile::OpenFile(std::string fileName) {
    if (status_ == kNotStarted) InitSoundSystem("");
    if (status_ != kStarted || !system::fileExists(fileName)) return false;
    playHandle_ = 0;
    moduleHandle_ = 0;
    factsRead_ = false;
    moduleHandle_ = moduleSystem().loadModule(fileName);
    if (!moduleHandle_) return false;
    fileName_ = std::move(fileName);
    status_ = kLoaded;
    return true;
}

void MODFile::CloseFile() {
    if (status_ == kPlaying) StopPlay();
    if (status_ == kLoaded) {
        moduleSystem().freeModule(moduleHandle_);
        status_ = kStarted;
    }
}

bool MODFile::Play(bool loopSong) {
    if (status_ != kLoaded) return false;
    playHandle_ = moduleSystem().playModule(moduleHandle_, loopSong);
    if (!playHandle_) return false;
    status_ = kPlaying;
    return true;
}

void MODFile::StopPlay() {
    if (status_ != kPlaying) return;
    moduleSystem().stopModule(playHandle_);
    status_ = kLoaded;
}

std::string MODFile::ConfigSoundSystem() {
    if (status_ == kNotStarted) return "";
    moduleSystem().config();
    moduleSystem().saveConfig(midasConfigPath());
    return midasConfigPath();
}

bool MODFile::LoadConfigFile(std::string configFileName) {
    if (status_ != kNotStarted || !moduleSystem().loadConfig(configFileName)) return false;
    // Only the file written at start-up is removed; a caller's file is never deleted.
    const std::string& previous = midasConfigPath();
    if (!previous.empty() && previous == midasStartupConfigPath() && previous != configFileName) {
        try {
            system::deleteFile(previous);
        } catch (const Error&) {
            // A temporary file that cannot be removed stays behind; the new file is in use.
        }
    }
    setMidasConfigPath(std::move(configFileName));
    return true;
}

int32_t MODFile::CurrentPosition() {
    if (status_ < kPlaying) return 0;
    modules::PlayStatus s;
    if (!moduleSystem().getPlayStatus(playHandle_, s)) return 0;
    return static_cast<int32_t>(s.position);
}

void MODFile::setCurrentPosition(int32_t position) {
    if (status_ >= kPlaying) moduleSystem().setPosition(playHandle_, position);
}

void MODFile::setVolume(int32_t volume) {
    if (status_ >= kPlaying) moduleSystem().setMusicVolume(playHandle_, volume);
}

const modules::ModuleInfo& MODFile::facts() {
    static const modules::ModuleInfo none{};
    if (status_ < kLoaded) return none;
    if (!factsRead_) {
        moduleSystem().getModuleInfo(moduleHandle_, info_);
        factsRead_ = true;
    }
    return info_;
}

std::string MODFile::SongTitle() {
    if (status_ < kLoaded) return "";
    return text::rtrim(modules::nameText(facts().songName));
}

}  // namespace zorbel::playback
