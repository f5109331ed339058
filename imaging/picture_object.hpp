#pragma once
// PictureObject: the picture object that imaging members take and hand out: a bitmap or icon
// handle with its type, size in pixels and optional palette. The object owns its handles
// and deletes them when the last reference goes, unless they were handed over.

#include "frame/object.hpp"
#include "platform/gdi/picture.hpp"

namespace zorbel::imaging {

class PictureObject final : public Dispatchable<PictureObject> {
public:
    static const ClassInfo& typeInfo();
    static Ref<PictureObject> make(const gdi::Picture& picture, bool owned = true);

    int32_t Handle() const { return static_cast<int32_t>(picture_.handle); }
    int32_t hPal() const { return static_cast<int32_t>(picture_.palette); }
    int16_t Type() const { return static_cast<int16_t>(picture_.type); }
    int32_t Width() const { return picture_.width; }
    int32_t Height() const { return picture_.height; }

    const gdi::Picture& picture() const { return picture_; }

protected:
    ~PictureObject() override;

private:
    gdi::Picture picture_;
    bool owned_ = true;
};

}  // namespace zorbel::imaging
