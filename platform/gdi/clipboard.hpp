#pragma once
// The clipboard: one per process, held in memory, with the bitmap and text formats. As with
// the classic clipboard, it must be opened (by one thread at a time) before it is emptied or
// written, and a bitmap handed to it belongs to it from then on: emptying the clipboard or
// replacing the bitmap deletes the old one.

#include <optional>
#include <string>

#include "platform/gdi/types.hpp"

namespace zorbel::gdi {

bool openClipboard(HWND owner);
bool closeClipboard();
bool emptyClipboard();  // only while open; deletes an owned bitmap
// Hands a bitmap over (format kClipboardBitmap). Returns the handle, 0 when the clipboard is
// not open by this thread or the handle is no bitmap (which stays the caller's then).
Handle setClipboardData(uint32_t format, Handle data);
bool setClipboardText(const std::string& text);  // only while open

// Readable whether or not the clipboard is open.
Handle getClipboardData(uint32_t format);
std::optional<std::string> getClipboardText();
bool isClipboardFormatAvailable(uint32_t format);

}  // namespace zorbel::gdi
