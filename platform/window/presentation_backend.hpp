#pragma once
// What a presentation backend (a display library) plugs in to show windows on a real screen.
// Without one, windows live off-screen: their surfaces are still drawn, nothing is shown, the
// screen size comes from the virtual screen and message boxes go to standard error.
//
// The window layer calls the backend on the thread that owns the window concerned, so a
// backend serving windows of several threads must be thread-safe. The backend reports input
// back with the functions of input.hpp, from any thread.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/window/geometry.hpp"
#include "platform/window/screen.hpp"
#include "platform/window/surface.hpp"
#include "platform/window/window_handle.hpp"

namespace zorbel::window {

class PresentationBackend {
public:
    virtual ~PresentationBackend() = default;

    virtual ScreenInfo screen() = 0;

    virtual void windowCreated(WindowHandle window, const WindowRect& rect) = 0;
    virtual void windowShown(WindowHandle window, bool visible) = 0;
    virtual void windowMoved(WindowHandle window, const WindowRect& rect) = 0;
    // After each WM_PAINT of a visible window: show these pixels.
    virtual void windowPainted(WindowHandle window, const Surface& surface) = 0;
    virtual void windowDestroyed(WindowHandle window) = 0;

    // Shows a message box and waits for the user's answer (IDOK ...); nullopt to fall back
    // to the default answer.
    virtual std::optional<int> messageBox(const std::string& text, const std::string& caption, uint32_t style) = 0;
};

// Installs the backend for the whole process (nullptr removes it). Windows that exist already
// are not announced to a new backend. Thread-safe.
void setPresentationBackend(std::shared_ptr<PresentationBackend> backend);
std::shared_ptr<PresentationBackend> presentationBackend();

}  // namespace zorbel::window
