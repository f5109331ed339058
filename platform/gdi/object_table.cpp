#include "platform/gdi/object_table.hpp"

namespace zorbel::gdi {

ObjectTable& ObjectTable::instance() {
    static ObjectTable table;
    return table;
}

Handle ObjectTable::add(GdiObject object) {
    std::lock_guard lock(mutex_);
    if (next_ == 0) next_ = 0x00010000;  // after 2^32 handles; never hand out 0
    Handle handle = next_++;
    objects_.emplace(handle, std::move(object));
    return handle;
}

bool ObjectTable::remove(Handle handle) {
    std::lock_guard lock(mutex_);
    return objects_.erase(handle) > 0;
}

ObjectType ObjectTable::typeOf(Handle handle) const {
    std::lock_guard lock(mutex_);
    auto it = objects_.find(handle);
    if (it == objects_.end()) return ObjectType::None;
    switch (it->second.index()) {
        case 0: return ObjectType::Bitmap;
        case 1: return ObjectType::Brush;
        case 2: return ObjectType::Palette;
        case 3: return ObjectType::Icon;
        default: {
            auto& dc = std::get<std::shared_ptr<DeviceContext>>(it->second);
            return dc->kind == ContextKind::Memory ? ObjectType::MemoryDC : ObjectType::DeviceContext;
        }
    }
}

Handle ObjectTable::findBitmap(const Bitmap* bitmap) const {
    std::lock_guard lock(mutex_);
    for (auto& [handle, object] : objects_) {
        auto* p = std::get_if<std::shared_ptr<Bitmap>>(&object);
        if (p && p->get() == bitmap) return handle;
    }
    return 0;
}

}  // namespace zorbel::gdi
