#pragma once
// The tracker module system of the calling thread: start-up and shut-down in steps, the
// configuration, loading and freeing modules, playing them through the audio engine, their
// position and volume, and their facts. Each step reports success as a Boolean, and a step
// that needs an earlier one fails while that one has not run.

#include <map>
#include <memory>
#include <string>

#include "platform/modules/module_records.hpp"

namespace zorbel::audio {
class Stream;
}

namespace zorbel::modules {

class LoadedModule;

class ModuleSystem {
public:
    static ModuleSystem& forThisThread();

    bool startup();
    bool init();
    bool startBackgroundPlay(int pollRate);
    bool openChannels(int channels);
    bool closeChannels();
    bool stopBackgroundPlay();
    bool close();  // also stops every play and frees every module

    // A configuration file holds the five values as little-endian 32-bit numbers (20 bytes).
    bool loadConfig(const std::string& path);
    bool saveConfig(const std::string& path);  // replaces the file atomically
    // The configuration "dialog": there is none here; the configuration stays as it is.
    bool config();
    const ModuleConfig& configuration() const { return config_; }

    ModuleHandle loadModule(const std::string& path);
    bool freeModule(ModuleHandle module);
    PlayHandle playModule(ModuleHandle module, bool loop);
    bool stopModule(PlayHandle play);
    bool getPlayStatus(PlayHandle play, PlayStatus& status);
    bool setPosition(PlayHandle play, int32_t order);
    bool setMusicVolume(PlayHandle play, int32_t volume);  // 0..64
    bool getModuleInfo(ModuleHandle module, ModuleInfo& info);
    bool getInstrumentInfo(ModuleHandle module, uint32_t number, InstrumentInfo& info);

    bool started() const { return started_; }
    size_t loadedModules() const { return modules_.size(); }
    size_t activePlays() const { return plays_.size(); }

private:
    struct Play {
        ModuleHandle module;
        std::shared_ptr<LoadedModule> loaded;
        std::shared_ptr<audio::Stream> stream;
    };
    std::shared_ptr<LoadedModule> moduleOf(ModuleHandle handle) const;
    Play* playOf(PlayHandle handle);
    void stopPlaysOf(ModuleHandle module);

    bool started_ = false;
    bool initialised_ = false;
    bool background_ = false;
    int channels_ = 0;
    ModuleConfig config_;
    uint32_t nextHandle_ = 1;
    std::map<ModuleHandle, std::shared_ptr<LoadedModule>> modules_;
    std::map<PlayHandle, Play> plays_;
};

}  // namespace zorbel::modules
