#include "platform/gdi/clipboard.hpp"

#include <mutex>
#include <thread>

#include "platform/gdi/bitmaps.hpp"
#include "platform/gdi/contexts.hpp"

namespace zorbel::gdi {

namespace {

struct Clipboard {
    std::mutex mutex;
    std::optional<std::thread::id> openBy;
    HBITMAP bitmap = 0;
    std::optional<std::string> text;

    bool openHere() const { return openBy && *openBy == std::this_thread::get_id(); }
    void dropBitmap() {
        if (bitmap) deleteObject(bitmap);
        bitmap = 0;
    }
};

Clipboard& clipboard() {
    static Clipboard c;
    return c;
}

}  // namespace

bool openClipboard(HWND) {
    Clipboard& c = clipboard();
    std::lock_guard lock(c.mutex);
    if (c.openBy && !c.openHere()) return false;
    c.openBy = std::this_thread::get_id();
    return true;
}

bool closeClipboard() {
    Clipboard& c = clipboard();
    std::lock_guard lock(c.mutex);
    if (!c.openHere()) return false;
    c.openBy.reset();
    return true;
}

bool emptyClipboard() {
    Clipboard& c = clipboard();
    std::lock_guard lock(c.mutex);
    if (!c.openHere()) return false;
    c.dropBitmap();
    c.text.reset();
    return true;
}

Handle setClipboardData(uint32_t format, Handle data) {
    Clipboard& c = clipboard();
    std::lock_guard lock(c.mutex);
    if (!c.openHere() || format != kClipboardBitmap || !bitmapOf(data)) return 0;
    if (c.bitmap != data) c.dropBitmap();
    c.bitmap = data;
    return data;
}

bool setClipboardText(const std::string& text) {
    Clipboard& c = clipboard();
    std::lock_guard lock(c.mutex);
    if (!c.openHere()) return false;
    c.text = text;
    return true;
}

Handle getClipboardData(uint32_t format) {
    Clipboard& c = clipboard();
    std::lock_guard lock(c.mutex);
    return format == kClipboardBitmap ? c.bitmap : 0;
}

std::optional<std::string> getClipboardText() {
    Clipboard& c = clipboard();
    std::lock_guard lock(c.mutex);
    return c.text;
}

bool isClipboardFormatAvailable(uint32_t format) {
    Clipboard& c = clipboard();
    std::lock_guard lock(c.mutex);
    return format == kClipboardBitmap ? c.bitmap != 0 : format == kClipboardText && c.text.has_value();
}

}  // namespace zorbel::gdi
