#include "platform/audio/al_library.hpp"

namespace zorbel::audio {

namespace {

template <typename F>
F alcFunction(ALCdevice* device, const char* name) {
    return reinterpret_cast<F>(alcGetProcAddress(device, name));
}

template <typename F>
F alFunction(const char* name) {
    return reinterpret_cast<F>(alGetProcAddress(name));
}

}  // namespace

LoopbackFunctions loopbackFunctions() {
    LoopbackFunctions f;
    if (!alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback")) return f;
    f.openDevice = alcFunction<LPALCLOOPBACKOPENDEVICESOFT>(nullptr, "alcLoopbackOpenDeviceSOFT");
    f.renderSamples = alcFunction<LPALCRENDERSAMPLESSOFT>(nullptr, "alcRenderSamplesSOFT");
    return f;
}

EfxFunctions efxFunctions(ALCdevice* device) {
    EfxFunctions f;
    if (!alcIsExtensionPresent(device, "ALC_EXT_EFX")) return f;
    f.genEffects = alFunction<LPALGENEFFECTS>("alGenEffects");
    f.deleteEffects = alFunction<LPALDELETEEFFECTS>("alDeleteEffects");
    f.effecti = alFunction<LPALEFFECTI>("alEffecti");
    f.effectf = alFunction<LPALEFFECTF>("alEffectf");
    f.genSlots = alFunction<LPALGENAUXILIARYEFFECTSLOTS>("alGenAuxiliaryEffectSlots");
    f.deleteSlots = alFunction<LPALDELETEAUXILIARYEFFECTSLOTS>("alDeleteAuxiliaryEffectSlots");
    f.sloti = alFunction<LPALAUXILIARYEFFECTSLOTI>("alAuxiliaryEffectSloti");
    return f;
}

}  // namespace zorbel::audio
