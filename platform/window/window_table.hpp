#pragma once
// The process-wide table of live windows (internal to this folder). Handles count up from a
// base and go once around all 32-bit values before one is used again; 0 is never used.

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "platform/window/message_queue.hpp"
#include "platform/window/surface.hpp"
#include "platform/window/window.hpp"

namespace zorbel::window::detail {

struct WindowRecord {
    WindowHandle handle = kNoWindow;
    uint64_t serial = 0;  // creation order
    std::string className;
    WindowHandle parent = kNoWindow;
    std::thread::id owner;
    std::shared_ptr<MessageQueue> queue;
    std::shared_ptr<Surface> surface;  // drawn and resized on the owner thread only

    mutable std::mutex mutex;  // guards the fields below
    std::string title;
    bool visible = false;
    bool destroying = false;
    WindowRect rect;
    std::shared_ptr<const WindowProc> proc;
};

class WindowTable {
public:
    static WindowTable& instance();

    WindowHandle add(const std::shared_ptr<WindowRecord>& record);  // assigns handle and serial
    std::shared_ptr<WindowRecord> find(WindowHandle handle) const;
    bool remove(WindowHandle handle);
    std::vector<std::shared_ptr<WindowRecord>> newestFirst() const;

private:
    mutable std::mutex mutex_;
    std::unordered_map<WindowHandle, std::shared_ptr<WindowRecord>> records_;
    WindowHandle next_ = 0x00010000;
    uint64_t serial_ = 0;
};

// The record of a live window, or kInvalidWindowError; with `ownerOnly`, kWrongThreadError
// when called from another thread. `what` names the call in the error text.
std::shared_ptr<WindowRecord> requireWindow(WindowHandle handle, const char* what, bool ownerOnly);

// Calls the record's current procedure.
intptr_t callProc(const WindowRecord& record, uint32_t message, intptr_t wParam = 0, intptr_t lParam = 0);

}  // namespace zorbel::window::detail
