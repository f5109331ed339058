#pragma once
// Points the engine at a WAV file of the test's own for the test's lifetime.

#include <cstdlib>
#include <string>

#include "platform/audio/engine.hpp"
#include "tests/support/temp_root.hpp"

namespace zorbel::audio {

class WavOutput {
public:
    WavOutput() : path_((folder_ / "out.wav").string()) {
        Engine::instance().shutdown();
        setenv("ZORBEL_AUDIO_OUTPUT", ("wav:" + path_).c_str(), 1);
    }
    ~WavOutput() {
        Engine::instance().shutdown();
        setenv("ZORBEL_AUDIO_OUTPUT", "none", 1);
    }
    const std::string& path() const { return path_; }

private:
    testing::TempFolder folder_;
    std::string path_;
};

}  // namespace zorbel::audio
