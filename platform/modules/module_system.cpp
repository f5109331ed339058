#include "platform/modules/module_system.hpp"

#include <algorithm>
#include <vector>

#include "platform/audio/engine.hpp"
#include "platform/audio/stream.hpp"
#include "platform/modules/loaded_module.hpp"
#include "platform/system/atomic_file.hpp"
#include "platform/system/file_ops.hpp"

namespace zorbel::modules {

namespace {

constexpr size_t kConfigBytes = 20;
constexpr int kMaxChannels = 256;
constexpr int32_t kFullVolume = 64;

bool plausibleRate(uint32_t rate) { return rate >= 8000 && rate <= 192000; }

}  // namespace

ModuleSystem& ModuleSystem::forThisThread() {
    thread_local ModuleSystem system;
    return system;
}

bool ModuleSystem::startup() {
    started_ = true;
    return true;
}

bool ModuleSystem::init() {
    if (!started_) return false;
    initialised_ = true;
    return true;
}

bool ModuleSystem::startBackgroundPlay(int pollRate) {
    if (!initialised_ || pollRate <= 0) return false;
    background_ = true;
    return true;
}

bool ModuleSystem::openChannels(int channels) {
    if (!initialised_ || channels <= 0 || channels > kMaxChannels) return false;
    channels_ = channels;
    return true;
}

bool ModuleSystem::closeChannels() {
    if (channels_ == 0) return false;
    for (auto& [handle, play] : plays_) play.stream->stop();
    plays_.clear();
    channels_ = 0;
    return true;
}

bool ModuleSystem::stopBackgroundPlay() {
    if (!background_) return false;
    background_ = false;
    return true;
}

bool ModuleSystem::close() {
    if (!started_) return false;
    for (auto& [handle, play] : plays_) play.stream->stop();
    plays_.clear();
    modules_.clear();
    channels_ = 0;
    background_ = initialised_ = started_ = false;
    return true;
}

bool ModuleSystem::loadConfig(const std::string& path) {
    std::optional<std::vector<uint8_t>> bytes = system::readWholeFile(path, kConfigBytes);
    if (!bytes || bytes->size() != kConfigBytes) return false;
    ModuleConfig loaded;
    for (size_t i = 0; i < loaded.values.size(); ++i) {
        uint32_t v = 0;
        for (size_t b = 0; b < 4; ++b) v |= static_cast<uint32_t>((*bytes)[4 * i + b]) << (8 * b);
        loaded.values[i] = v;
    }
    if (!plausibleRate(loaded.mixingRate())) return false;
    config_ = loaded;
    return true;
}

bool ModuleSystem::saveConfig(const std::string& path) {
    std::string bytes;
    for (uint32_t v : config_.values)
        for (int b = 0; b < 4; ++b) bytes.push_back(static_cast<char>(v >> (8 * b)));
    try {
        system::replaceFileAtomically(path, bytes);
        return true;
    } catch (...) {
        return false;
    }
}

bool ModuleSystem::config() { return started_; }

std::shared_ptr<LoadedModule> ModuleSystem::moduleOf(ModuleHandle handle) const {
    auto it = modules_.find(handle);
    return it == modules_.end() ? nullptr : it->second;
}

ModuleSystem::Play* ModuleSystem::playOf(PlayHandle handle) {
    auto it = plays_.find(handle);
    return it == plays_.end() ? nullptr : &it->second;
}

void ModuleSystem::stopPlaysOf(ModuleHandle module) {
    for (auto it = plays_.begin(); it != plays_.end();) {
        if (it->second.module == module) {
            it->second.stream->stop();
            it = plays_.erase(it);
        } else {
            ++it;
        }
    }
}

ModuleHandle ModuleSystem::loadModule(const std::string& path) {
    if (!initialised_) return 0;
    std::shared_ptr<LoadedModule> loaded = LoadedModule::load(path);
    if (!loaded) return 0;
    const ModuleHandle handle = nextHandle_++;
    modules_[handle] = std::move(loaded);
    return handle;
}

bool ModuleSystem::freeModule(ModuleHandle module) {
    if (!moduleOf(module)) return false;
    stopPlaysOf(module);
    modules_.erase(module);
    return true;
}

PlayHandle ModuleSystem::playModule(ModuleHandle module, bool loop) {
    std::shared_ptr<LoadedModule> loaded = moduleOf(module);
    if (!loaded || !background_ || channels_ == 0) return 0;
    if (loaded->info().numChannels > static_cast<uint32_t>(channels_)) return 0;
    // One module plays once at a time: playing it again starts it over.
    stopPlaysOf(module);
    loaded->rewind(loop);
    const int rate = static_cast<int>(config_.mixingRate());
    auto stream = audio::Engine::instance().createStream(
        {rate, 2}, [loaded, rate](int16_t* samples, size_t frames) { return loaded->render(rate, samples, frames); });
    if (!stream) return 0;
    stream->play();
    const PlayHandle handle = nextHandle_++;
    plays_[handle] = Play{module, std::move(loaded), std::move(stream)};
    return handle;
}

bool ModuleSystem::stopModule(PlayHandle play) {
    auto it = plays_.find(play);
    if (it == plays_.end()) return false;
    it->second.stream->stop();
    plays_.erase(it);
    return true;
}

bool ModuleSystem::getPlayStatus(PlayHandle play, PlayStatus& status) {
    Play* p = playOf(play);
    if (!p) return false;
    status = p->loaded->status();
    return true;
}

bool ModuleSystem::setPosition(PlayHandle play, int32_t order) {
    Play* p = playOf(play);
    if (!p || order < 0 || static_cast<uint32_t>(order) >= p->loaded->info().songLength) return false;
    p->loaded->setOrder(order);
    return true;
}

bool ModuleSystem::setMusicVolume(PlayHandle play, int32_t volume) {
    Play* p = playOf(play);
    if (!p) return false;
    const int32_t clamped = std::clamp(volume, int32_t{0}, kFullVolume);
    p->stream->setGain(static_cast<float>(clamped) / kFullVolume);
    return true;
}

bool ModuleSystem::getModuleInfo(ModuleHandle module, ModuleInfo& info) {
    std::shared_ptr<LoadedModule> loaded = moduleOf(module);
    if (!loaded) return false;
    info = loaded->info();
    return true;
}

bool ModuleSystem::getInstrumentInfo(ModuleHandle module, uint32_t number, InstrumentInfo& info) {
    std::shared_ptr<LoadedModule> loaded = moduleOf(module);
    return loaded && loaded->instrumentInfo(number, info);
}

}  // namespace zorbel::modules
