#pragma once
// VoiceUser: one user with a location and the user's voice sets, made on first read.

#include <string>

#include "voices/voice_sets.hpp"

namespace zorbel::voices {

class VoiceUser final : public Dispatchable<VoiceUser> {
public:
    static const ClassInfo& typeInfo();

    std::string Skip;

    std::string SetLocation() const { return setLocation_; }
    void setSetLocation(std::string value) { setLocation_ = std::move(value); }
    std::string UserName() const { return userName_; }
    void setUserName(std::string value) { userName_ = std::move(value); }
    Ref<VoiceSets> VoiceSetsCollection();
    void setVoiceSets(Ref<VoiceSets> value) { voiceSets_ = std::move(value); }

private:
    std::string setLocation_;
    std::string userName_;
    Ref<VoiceSets> voiceSets_;
};

}  // namespace zorbel::voices
