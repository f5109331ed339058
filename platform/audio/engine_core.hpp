#pragma once
// The state one open engine shares with the voices, buffers and effect slots made from it.
// Every OpenAL call of the engine happens under `mutex`; the objects stay usable after the
// engine shut down (their calls then do nothing), because they keep this state alive.

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/audio/al_library.hpp"
#include "platform/audio/output_config.hpp"

namespace zorbel::audio {

// Something that owns OpenAL objects: let go of them before the context goes.
class EngineObject {
public:
    virtual ~EngineObject() = default;
    // Engine thread or shutdown, under the core's mutex.
    virtual void releaseAl() = 0;
    // Engine thread, under the core's mutex, once per tick.
    virtual void tick() {}
};

struct EngineCore {
    std::mutex mutex;
    bool open = false;
    OutputKind output = OutputKind::None;
    int mixingRate = 44100;
    EfxFunctions efx;
    std::vector<std::weak_ptr<EngineObject>> objects;

    void add(const std::shared_ptr<EngineObject>& object) {
        std::lock_guard lock(mutex);
        objects.push_back(object);
    }
};

}  // namespace zorbel::audio
