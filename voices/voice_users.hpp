#pragma once
// VoiceUsers: the users of the voice registry. Creating one reads the user count the registry
// keeps; the collection itself always starts empty.

#include "voices/child_collection.hpp"
#include "voices/voice_user.hpp"

namespace zorbel::voices {

class VoiceUsers final : public ChildCollection<VoiceUsers, VoiceUser> {
public:
    VoiceUsers();
    static const ClassInfo& typeInfo() {
        static const ClassInfo info = describe("VoiceUsers", "KillUser", "CreateUser");
        return info;
    }
};

}  // namespace zorbel::voices
