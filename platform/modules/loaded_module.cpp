#include "platform/modules/loaded_module.hpp"

#include <optional>
#include <vector>

#include "platform/system/file_ops.hpp"

namespace zorbel::modules {

namespace {

// Larger files are refused before anything is read: no tracker module comes near this.
constexpr uint64_t kMaxModuleBytes = uint64_t{256} << 20;

std::string takeString(const char* text) {
    if (!text) return {};
    std::string out(text);
    openmpt_free_string(text);
    return out;
}

uint32_t count(int32_t n) { return n > 0 ? static_cast<uint32_t>(n) : 0; }

}  // namespace

std::shared_ptr<LoadedModule> LoadedModule::load(const std::string& path) {
    std::optional<std::vector<uint8_t>> bytes = system::readWholeFile(path, kMaxModuleBytes);
    if (!bytes) return nullptr;
    return fromBytes(bytes->data(), bytes->size());
}

std::shared_ptr<LoadedModule> LoadedModule::fromBytes(const void* bytes, size_t size) {
    if (!bytes || size == 0) return nullptr;
    int error = 0;
    openmpt_module* module = openmpt_module_create_from_memory2(bytes, size, openmpt_log_func_silent,
                                                                nullptr, openmpt_error_func_ignore, nullptr, &error,
                                                                nullptr, nullptr);
    if (!module) return nullptr;
    return std::shared_ptr<LoadedModule>(new LoadedModule(module));
}

bool LoadedModule::hasInstruments() const { return openmpt_module_get_num_instruments(module_.get()) > 0; }

uint32_t LoadedModule::instrumentCount() const {
    openmpt_module* m = module_.get();
    return count(hasInstruments() ? openmpt_module_get_num_instruments(m) : openmpt_module_get_num_samples(m));
}

ModuleInfo LoadedModule::info() {
    std::lock_guard lock(mutex_);
    openmpt_module* m = module_.get();
    ModuleInfo info;
    info.songName = nameField(takeString(openmpt_module_get_metadata(m, "title")));
    info.songLength = count(openmpt_module_get_num_orders(m));
    info.numPatterns = count(openmpt_module_get_num_patterns(m));
    info.numInstruments = instrumentCount();
    info.numChannels = count(openmpt_module_get_num_channels(m));
    return info;
}

bool LoadedModule::instrumentInfo(uint32_t number, InstrumentInfo& out) {
    std::lock_guard lock(mutex_);
    openmpt_module* m = module_.get();
    if (number < 1 || number > instrumentCount()) return false;
    const auto index = static_cast<int32_t>(number - 1);
    out.name = nameField(takeString(hasInstruments() ? openmpt_module_get_instrument_name(m, index)
                                                     : openmpt_module_get_sample_name(m, index)));
    return true;
}

void LoadedModule::rewind(bool loop) {
    std::lock_guard lock(mutex_);
    openmpt_module_set_repeat_count(module_.get(), loop ? -1 : 0);
    openmpt_module_set_position_seconds(module_.get(), 0.0);
}

size_t LoadedModule::render(int sampleRate, int16_t* stereo, size_t frames) {
    std::lock_guard lock(mutex_);
    return openmpt_module_read_interleaved_stereo(module_.get(), sampleRate, frames, stereo);
}

PlayStatus LoadedModule::status() {
    std::lock_guard lock(mutex_);
    PlayStatus s;
    s.position = count(openmpt_module_get_current_order(module_.get()));
    s.pattern = count(openmpt_module_get_current_pattern(module_.get()));
    s.row = count(openmpt_module_get_current_row(module_.get()));
    return s;
}

void LoadedModule::setOrder(int32_t order) {
    std::lock_guard lock(mutex_);
    openmpt_module_set_position_order_row(module_.get(), order, 0);
}

}  // namespace zorbel::modules
