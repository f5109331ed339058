#pragma once
// Where the audio engine sends its sound: the default sound device, a WAV file or nowhere.
// Chosen by ZORBEL_AUDIO_OUTPUT ("device", "none", "wav:<path>"); when that is not set, by the
// text value "Output" of HKCU\Software\ZorbelKit\Audio in the same syntax; else the device.

#include <optional>
#include <string>
#include <string_view>

namespace zorbel::audio {

enum class OutputKind { Device, None, Wav };

struct OutputConfig {
    OutputKind kind = OutputKind::Device;
    std::string wavPath;  // for OutputKind::Wav
};

inline constexpr const char* kAudioSettingsKey = "Software\\ZorbelKit\\Audio";

// nullopt for a text of neither form.
std::optional<OutputConfig> parseOutputConfig(std::string_view text);

// The configured output; a malformed setting counts as the default device.
OutputConfig configuredOutput();

}  // namespace zorbel::audio
