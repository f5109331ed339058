#include "platform/audio/output_config.hpp"

#include <cstdlib>

#include "platform/registry/registry.hpp"

namespace zorbel::audio {

std::optional<OutputConfig> parseOutputConfig(std::string_view text) {
    if (text == "device" || text.empty()) return OutputConfig{};
    if (text == "none") return OutputConfig{OutputKind::None, {}};
    constexpr std::string_view kWav = "wav:";
    if (text.substr(0, kWav.size()) == kWav && text.size() > kWav.size())
        return OutputConfig{OutputKind::Wav, std::string(text.substr(kWav.size()))};
    return std::nullopt;
}

OutputConfig configuredOutput() {
    std::optional<OutputConfig> config;
    if (const char* env = std::getenv("ZORBEL_AUDIO_OUTPUT"); env && *env) {
        config = parseOutputConfig(env);
    } else {
        try {
            if (auto value = registry::readValue(registry::Hive::CurrentUser, kAudioSettingsKey, "Output"))
                config = parseOutputConfig(value->asText());
        } catch (...) {
            // A damaged hive must not keep the sound off; the default device is used.
        }
    }
    return config.value_or(OutputConfig{});
}

}  // namespace zorbel::audio
