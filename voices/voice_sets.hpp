#pragma once
// VoiceSets: the voice sets of one user.

#include "voices/child_collection.hpp"
#include "voices/voice_set.hpp"

namespace zorbel::voices {

class VoiceSets final : public ChildCollection<VoiceSets, VoiceSet> {
public:
    static const ClassInfo& typeInfo() {
        static const ClassInfo info = describe("VoiceSets", "KillSet", "CreateSet");
        return info;
    }
};

}  // namespace zorbel::voices
