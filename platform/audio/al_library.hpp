#pragma once
// Thin owners of the OpenAL Soft objects the engine uses, and the extension entry points it
// looks up at run time (loopback rendering, effects).

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>
#include <AL/efx.h>

#include <memory>

namespace zorbel::audio {

struct DeviceCloser {
    void operator()(ALCdevice* device) const { alcCloseDevice(device); }
};
using DeviceHandle = std::unique_ptr<ALCdevice, DeviceCloser>;

struct ContextDestroyer {
    void operator()(ALCcontext* context) const {
        if (alcGetCurrentContext() == context) alcMakeContextCurrent(nullptr);
        alcDestroyContext(context);
    }
};
using ContextHandle = std::unique_ptr<ALCcontext, ContextDestroyer>;

struct LoopbackFunctions {
    LPALCLOOPBACKOPENDEVICESOFT openDevice = nullptr;
    LPALCRENDERSAMPLESSOFT renderSamples = nullptr;
    explicit operator bool() const { return openDevice && renderSamples; }
};
LoopbackFunctions loopbackFunctions();

// The effect functions of the current context's device; empty when it has no effects.
struct EfxFunctions {
    LPALGENEFFECTS genEffects = nullptr;
    LPALDELETEEFFECTS deleteEffects = nullptr;
    LPALEFFECTI effecti = nullptr;
    LPALEFFECTF effectf = nullptr;
    LPALGENAUXILIARYEFFECTSLOTS genSlots = nullptr;
    LPALDELETEAUXILIARYEFFECTSLOTS deleteSlots = nullptr;
    LPALAUXILIARYEFFECTSLOTI sloti = nullptr;
    explicit operator bool() const { return genEffects && genSlots && sloti && effecti && effectf; }
};
EfxFunctions efxFunctions(ALCdevice* device);

}  // namespace zorbel::audio
