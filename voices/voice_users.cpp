#include "voices/voice_users.hpp"

#include "frame/text.hpp"
#include "platform/registry/registry.hpp"

namespace zorbel::voices {

namespace {
constexpr const char* kVoiceKey = "SOFTWARE\\Quendra\\Shared\\VoiceSets";
}

VoiceUsers::VoiceUsers() {
    // The stored user count is read as the registry keeps it, but nothing depends on it:
    // the collection starts empty whatever it says.
    auto users = registry::readValue(registry::Hive::LocalMachine, kVoiceKey, "Users");
    (void)text::leadingNumber(users ? users->asText() : "0");
}

}  // namespace zorbel::voices
