#include "imaging/picture_object.hpp"

#include "frame/class_builder.hpp"

namespace zorbel::imaging {

const ClassInfo& PictureObject::typeInfo() {
    static const ClassInfo info = ClassBuilder<PictureObject>("Picture", nullptr)
                                      .property("Handle", &PictureObject::Handle)
                                      .asDefault()
                                      .property("hPal", &PictureObject::hPal)
                                      .property("Type", &PictureObject::Type)
                                      .property("Width", &PictureObject::Width)
                                      .property("Height", &PictureObject::Height)
                                      .build();
    return info;
}

Ref<PictureObject> PictureObject::make(const gdi::Picture& picture, bool owned) {
    Ref<PictureObject> object = makeRef<PictureObject>();
    object->picture_ = picture;
    object->owned_ = owned;
    return object;
}

PictureObject::~PictureObject() {
    if (owned_) gdi::releasePicture(picture_);
}

}  // namespace zorbel::imaging
