#pragma once
// ObjectTable: the process-wide table that turns graphics objects into nonzero 32-bit
// handles and back. Handles are never reused while the process runs, so a stale handle finds
// nothing instead of another object.

#include <memory>
#include <mutex>
#include <unordered_map>
#include <variant>

#include "platform/gdi/bitmap.hpp"
#include "platform/gdi/device_context.hpp"
#include "platform/gdi/gdi_objects.hpp"
#include "platform/gdi/types.hpp"

namespace zorbel::gdi {

using GdiObject = std::variant<std::shared_ptr<Bitmap>, std::shared_ptr<Brush>, std::shared_ptr<Palette>,
                               std::shared_ptr<Icon>, std::shared_ptr<DeviceContext>>;

class ObjectTable {
public:
    static ObjectTable& instance();

    Handle add(GdiObject object);
    bool remove(Handle handle);
    ObjectType typeOf(Handle handle) const;

    template <class T>
    std::shared_ptr<T> get(Handle handle) const {
        std::lock_guard lock(mutex_);
        auto it = objects_.find(handle);
        if (it == objects_.end()) return nullptr;
        auto* p = std::get_if<std::shared_ptr<T>>(&it->second);
        return p ? *p : nullptr;
    }

    // The handle of a bitmap object, 0 when it is not in the table.
    Handle findBitmap(const Bitmap* bitmap) const;

private:
    mutable std::mutex mutex_;
    std::unordered_map<Handle, GdiObject> objects_;
    Handle next_ = 0x00010000;
};

}  // namespace zorbel::gdi
