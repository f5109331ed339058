#pragma once
// Owns a window handle and destroys the window when it goes (on the owner thread).

#include <utility>

#include "platform/window/window.hpp"

namespace zorbel::window {

class OwnedWindow {
public:
    OwnedWindow() = default;
    explicit OwnedWindow(WindowHandle handle) : handle_(handle) {}
    explicit OwnedWindow(WindowOptions options) : handle_(createWindow(std::move(options))) {}
    ~OwnedWindow() { reset(); }
    OwnedWindow(OwnedWindow&& other) noexcept : handle_(other.release()) {}
    OwnedWindow& operator=(OwnedWindow&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = other.release();
        }
        return *this;
    }
    OwnedWindow(const OwnedWindow&) = delete;
    OwnedWindow& operator=(const OwnedWindow&) = delete;

    WindowHandle get() const { return handle_; }
    explicit operator bool() const { return handle_ != kNoWindow; }
    WindowHandle release() { return std::exchange(handle_, kNoWindow); }

    // Destroys the window if it still exists. A failure of its destruction messages is
    // swallowed here: a destructor must not throw.
    void reset() noexcept {
        const WindowHandle handle = release();
        if (handle == kNoWindow) return;
        try {
            destroyWindow(handle);
        } catch (...) {
        }
    }

private:
    WindowHandle handle_ = kNoWindow;
};

}  // namespace zorbel::window
