#pragma once
// One module loaded by libopenmpt, shared between its owner and the engine thread that
// renders it; every use of the libopenmpt object holds `mutex`.

#include <libopenmpt/libopenmpt.h>

#include <memory>
#include <mutex>
#include <string>

#include "platform/modules/module_records.hpp"

namespace zorbel::modules {

struct OpenmptDestroyer {
    void operator()(openmpt_module* module) const { openmpt_module_destroy(module); }
};

class LoadedModule {
public:
    // Null when the file cannot be read or is not a module libopenmpt can play.
    static std::shared_ptr<LoadedModule> load(const std::string& path);
    static std::shared_ptr<LoadedModule> fromBytes(const void* bytes, size_t size);

    ModuleInfo info();
    // `number` counts from 1; false outside 1..numInstruments.
    bool instrumentInfo(uint32_t number, InstrumentInfo& out);

    // Playback, from any thread.
    void rewind(bool loop);
    size_t render(int sampleRate, int16_t* stereo, size_t frames);
    PlayStatus status();
    void setOrder(int32_t order);

private:
    explicit LoadedModule(openmpt_module* module) : module_(module) {}
    bool hasInstruments() const;
    // Instruments, or samples for formats without instruments.
    uint32_t instrumentCount() const;

    std::mutex mutex_;
    std::unique_ptr<openmpt_module, OpenmptDestroyer> module_;
};

}  // namespace zorbel::modules
