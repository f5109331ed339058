#include "voices/voice_set.hpp"

#include "frame/class_builder.hpp"
#include "frame/zorbel_classes.hpp"

namespace zorbel::voices {

const ClassInfo& VoiceSet::typeInfo() {
    static const ClassInfo info = ClassBuilder<VoiceSet>("VoiceSet", zorbelIdentity("VoiceSet"))
                                      .stored("key", &VoiceSet::key)
                                      .property("Application", &VoiceSet::Application, &VoiceSet::setApplication)
                                      .property("Voices", &VoiceSet::VoicesCollection, &VoiceSet::setVoices)
                                      .build();
    return info;
}

Ref<Voices> VoiceSet::VoicesCollection() {
    if (!voices_) voices_ = makeRef<Voices>();
    return voices_;
}

}  // namespace zorbel::voices
