#pragma once
// VoiceSet: the voices of one application; its Voices collection is made on first read.

#include <string>

#include "voices/voices.hpp"

namespace zorbel::voices {

class VoiceSet final : public Dispatchable<VoiceSet> {
public:
    static const ClassInfo& typeInfo();

    std::string key;

    std::string Application() const { return application_; }
    void setApplication(std::string value) { application_ = std::move(value); }
    Ref<Voices> VoicesCollection();
    void setVoices(Ref<Voices> value) { voices_ = std::move(value); }

private:
    std::string application_;
    Ref<Voices> voices_;
};

}  // namespace zorbel::voices
