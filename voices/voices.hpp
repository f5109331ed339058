#pragma once
// Voices: the voices of one voice set.

#include "voices/child_collection.hpp"
#include "voices/voice.hpp"

namespace zorbel::voices {

class Voices final : public ChildCollection<Voices, Voice> {
public:
    static const ClassInfo& typeInfo() {
        static const ClassInfo info = describe("Voices", "KillVoice", "CreateVoice");
        return info;
    }
};

}  // namespace zorbel::voices
