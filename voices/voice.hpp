#pragma once
// Voice: one recorded voice prompt, naming a sound file with a caption and a description.
// Recording and playing are part of the interface but perform nothing.

#include <string>

#include "frame/object.hpp"

namespace zorbel::voices {

class Voice final : public Dispatchable<Voice> {
public:
    static const ClassInfo& typeInfo();

    std::string key;

    void RecordSave() {}
    void RecordPlay() {}
    void Record() {}
    void Play() {}

    std::string Filename() const { return filename_; }
    void setFilename(std::string value) { filename_ = std::move(value); }
    std::string Description() const { return description_; }
    void setDescription(std::string value) { description_ = std::move(value); }
    std::string Caption() const { return caption_; }
    void setCaption(std::string value) { caption_ = std::move(value); }

private:
    std::string filename_;
    std::string description_;
    std::string caption_;
};

}  // namespace zorbel::voices
