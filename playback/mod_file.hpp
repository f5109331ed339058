#pragma once
// MODFile: one tracker module loaded into the shared module sound system, played, stopped
// and positioned, with its facts.

#include <cstdint>
#include <string>

#include "frame/object.hpp"
#include "platform/modules/module_records.hpp"

namespace zorbel::playback {

class MODFile final : public Dispatchable<MODFile> {
public:
    static const ClassInfo& typeInfo();

    // The values of status.
    enum : int16_t { kNotStarted = -1, kStarted = 0, kLoaded = 1, kPlaying = 2 };

    ~MODFile() override;

    bool InitSoundSystem(std::string useConfigFile);
    void ShutdownSoundSystem();
    bool OpenFile(std::string fileName);
    void CloseFile();
    bool Play(bool loopSong);
    void StopPlay();
    std::string ConfigSoundSystem();
    bool LoadConfigFile(std::string configFileName);
    int32_t CurrentPosition();
    void setCurrentPosition(int32_t position);
    void setVolume(int32_t volume);
    int32_t songLength() { return static_cast<int32_t>(facts().songLength); }
    int32_t PatternCount() { return static_cast<int32_t>(facts().numPatterns); }
    int32_t InstrumentCount() { return static_cast<int32_t>(facts().numInstruments); }
    int32_t ChannelCount() { return static_cast<int32_t>(facts().numChannels); }
    std::string SongTitle();
    std::string Filename() const { return status_ >= kLoaded ? fileName_ : std::string(); }
    int32_t status() const { return status_; }

private:
    // The loaded module's facts, read once per module; zero before a module is loaded.
    const modules::ModuleInfo& facts();

    int16_t status_ = kNotStarted;
    std::string fileName_;
    modules::PlayHandle playHandle_ = 0;
    modules::ModuleHandle moduleHandle_ = 0;
    bool factsRead_ = false;
    modules::ModuleInfo info_{};
};

}  // namespace zorbel::playback
