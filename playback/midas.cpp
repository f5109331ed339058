#include "playback/midas.hpp"

#include <fstream>

#include "platform/modules/module_system.hpp"
#include "platform/system/temp_files.hpp"
#include "resources/custom.hpp"

namespace zorbel::playback {

namespace {

struct MidasState {
    int32_t users = 0;
    std::string configPath;
    std::string startupConfigPath;
};

MidasState& state() {
    thread_local MidasState s;
    return s;
}

bool writeStartupConfig(const std::string& path) {
    auto bytes = resources::loadCustom("CUSTOM", "MIDAS_INI");
    if (!bytes) return false;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(reinterpret_cast<const char*>(bytes->data()), static_cast<std::streamsize>(bytes->size()));
    return static_cast<bool>(out.flush());
}

bool midasClose() {
    modules::ModuleSystem& m = modules::ModuleSystem::forThisThread();
    return m.closeChannels() && m.stopBackgroundPlay() && m.close();
}

// Each step that fails ends the start with the steps before it left in place.
bool midasOpen() {
    modules::ModuleSystem& m = modules::ModuleSystem::forThisThread();
    if (!m.startup() || !m.init() || !m.startBackgroundPlay(100) || !m.openChannels(50)) return false;
    try {
        state().configPath = state().startupConfigPath = system::temporaryFileName("MIDAS");
    } catch (...) {
        return false;
    }
    if (!writeStartupConfig(state().configPath)) return false;
    if (m.loadConfig(state().configPath)) return true;
    midasClose();
    return false;
}

}  // namespace

bool MidasAcquire() {
    MidasState& s = state();
    if (s.users == 0 && !midasOpen()) return false;
    ++s.users;
    return true;
}

bool MidasRelease() {
    MidasState& s = state();
    if (s.users == 1 && !midasClose()) return false;
    if (s.users > 0) {
        --s.users;
        return true;
    }
    return false;
}

int32_t midasUserCount() { return state().users; }

const std::string& midasConfigPath() { return state().configPath; }

void setMidasConfigPath(std::string path) { state().configPath = std::move(path); }

const std::string& midasStartupConfigPath() { return state().startupConfigPath; }

}  // namespace zorbel::playback
