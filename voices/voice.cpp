#include "voices/voice.hpp"

#include "frame/class_builder.hpp"
#include "frame/zorbel_classes.hpp"

namespace zorbel::voices {

const ClassInfo& Voice::typeInfo() {
    static const ClassInfo info =
        ClassBuilder<Voice>("Voice", zorbelIdentity("Voice"))
            .stored("key", &Voice::key)
            .method("RecordSave", &Voice::RecordSave, {}, "Speichert die neu aufgenommene temporäre Stimme endgültig")
            .method("RecordPlay", &Voice::RecordPlay, {}, "Spielt die neu aufgenommene temporäre Stimme ab")
            .method("Record", &Voice::Record, {}, "Nimmt eine neue Stimme temporär auf")
            .method("Play", &Voice::Play, {}, "Spielt die Stimme ab")
            .property("Filename", &Voice::Filename, &Voice::setFilename)
            .property("Description", &Voice::Description, &Voice::setDescription)
            .property("Caption", &Voice::Caption, &Voice::setCaption)
            .build();
    return info;
}

}  // namespace zorbel::voices
