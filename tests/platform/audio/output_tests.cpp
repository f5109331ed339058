#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "platform/audio/output_config.hpp"
#include "platform/audio/wav_writer.hpp"
#include "platform/registry/registry.hpp"
#include "tests/support/temp_root.hpp"
#include "tests/support/wav_file.hpp"

namespace zorbel::audio {
namespace {

TEST(OutputConfigTest, ParsesTheThreeForms) {
    struct Case {
        const char* text;
        bool valid;
        OutputKind kind;
        const char* path;
    };
    const Case cases[] = {
        {"device", true, OutputKind::Device, ""}, {"", true, OutputKind::Device, ""},
        {"none", true, OutputKind::None, ""},     {"wav:/tmp/a b.wav", true, OutputKind::Wav, "/tmp/a b.wav"},
        {"wav:", false, {}, ""},                  {"speakers", false, {}, ""},
        {"NONE", false, {}, ""},
    };
    for (const Case& c : cases) {
        auto config = parseOutputConfig(c.text);
        ASSERT_EQ(config.has_value(), c.valid) << c.text;
        if (!config) continue;
        EXPECT_EQ(config->kind, c.kind) << c.text;
        EXPECT_EQ(config->wavPath, c.path) << c.text;
    }
}

TEST(OutputConfigTest, EnvironmentFirstThenRegistryThenDevice) {
    const char* saved = std::getenv("ZORBEL_AUDIO_OUTPUT");
    const std::string before = saved ? saved : "";
    unsetenv("ZORBEL_AUDIO_OUTPUT");
    EXPECT_EQ(configuredOutput().kind, OutputKind::Device);
    registry::writeValue(registry::Hive::CurrentUser, kAudioSettingsKey, "Output",
                         registry::Value::ofString("wav:/tmp/from-registry.wav"));
    EXPECT_EQ(configuredOutput().wavPath, "/tmp/from-registry.wav");
    registry::writeValue(registry::Hive::CurrentUser, kAudioSettingsKey, "Output", registry::Value::ofString("bogus"));
    EXPECT_EQ(configuredOutput().kind, OutputKind::Device);
    setenv("ZORBEL_AUDIO_OUTPUT", "none", 1);
    EXPECT_EQ(configuredOutput().kind, OutputKind::None);
    registry::deleteKey(registry::Hive::CurrentUser, kAudioSettingsKey);
    setenv("ZORBEL_AUDIO_OUTPUT", before.c_str(), 1);
}

TEST(WavWriterTest, FileIsValidAfterEveryBlock) {
    testing::TempFolder folder;
    const std::string path = (folder / "w.wav").string();
    WavWriter writer(path, 22050, 2);
    ASSERT_TRUE(writer.ok());
    std::vector<int16_t> block(2 * 100);
    for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<int16_t>(i * 100 - 10000);
    for (int n = 1; n <= 3; ++n) {
        ASSERT_TRUE(writer.write(block.data(), 100));
        auto wav = testing::readWav(path);  // read while still open
        ASSERT_TRUE(wav);
        EXPECT_EQ(wav->sampleRate, 22050);
        EXPECT_EQ(wav->frames(), static_cast<size_t>(100 * n));
        EXPECT_EQ(wav->samples[1], block[1]);
    }
    writer.close();
    EXPECT_EQ(testing::readWav(path)->frames(), 300u);
}

TEST(WavWriterTest, UnwritableFolderIsReported) {
    WavWriter writer("/nonexistent-folder/out.wav", 44100, 2);
    EXPECT_FALSE(writer.ok());
    int16_t s[2] = {};
    EXPECT_FALSE(writer.write(s, 1));
}

}  // namespace
}  // namespace zorbel::audio
