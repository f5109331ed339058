#include "voices/voice_user.hpp"

#include "frame/class_builder.hpp"
#include "frame/zorbel_classes.hpp"

namespace zorbel::voices {

const ClassInfo& VoiceUser::typeInfo() {
    static const ClassInfo info = ClassBuilder<VoiceUser>("VoiceUser", zorbelIdentity("VoiceUser"))
                                      .stored("Skip", &VoiceUser::Skip)
                                      .property("SetLocation", &VoiceUser::SetLocation, &VoiceUser::setSetLocation)
                                      .property("UserName", &VoiceUser::UserName, &VoiceUser::setUserName)
                                      .property("VoiceSets", &VoiceUser::VoiceSetsCollection, &VoiceUser::setVoiceSets)
                                      .build();
    return info;
}

Ref<VoiceSets> VoiceUser::VoiceSetsCollection() {
    if (!voiceSets_) voiceSets_ = makeRef<VoiceSets>();
    return voiceSets_;
}

}  // namespace zorbel::voices
