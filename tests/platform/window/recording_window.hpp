#pragma once
// A window for tests that records every message its procedure receives and lets a test add
// behaviour for single messages.

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/window/messages.hpp"
#include "platform/window/owned_window.hpp"

namespace zorbel::window::testing {

struct Received {
    uint32_t message;
    intptr_t wParam;
    intptr_t lParam;
};

class RecordingWindow {
public:
    using Handler = std::function<intptr_t(intptr_t wParam, intptr_t lParam)>;

    explicit RecordingWindow(std::string className = "ZorbelTestWindow", WindowRect rect = {}, WindowHandle parent = kNoWindow)
        : window_(WindowOptions{std::move(className), "", rect, parent,
                                [this](WindowHandle h, uint32_t m, intptr_t w, intptr_t l) { return receive(h, m, w, l); }}) {}

    WindowHandle handle() const { return window_.get(); }
    void on(uint32_t message, Handler handler) {
        std::lock_guard lock(mutex_);
        handlers_[message] = std::move(handler);
    }

    std::vector<Received> received() const {
        std::lock_guard lock(mutex_);
        return received_;
    }
    std::vector<uint32_t> messages() const {
        std::vector<uint32_t> numbers;
        for (const auto& r : received()) numbers.push_back(r.message);
        return numbers;
    }
    size_t count(uint32_t message) const {
        size_t n = 0;
        for (const auto& r : received()) n += r.message == message;
        return n;
    }
    void clear() {
        std::lock_guard lock(mutex_);
        received_.clear();
    }

private:
    intptr_t receive(WindowHandle handle, uint32_t message, intptr_t wParam, intptr_t lParam) {
        Handler handler;
        {
            std::lock_guard lock(mutex_);
            received_.push_back({message, wParam, lParam});
            auto it = handlers_.find(message);
            if (it != handlers_.end()) handler = it->second;
        }
        return handler ? handler(wParam, lParam) : defaultWindowProc(handle, message, wParam, lParam);
    }

    mutable std::mutex mutex_;
    std::vector<Received> received_;
    std::map<uint32_t, Handler> handlers_;
    OwnedWindow window_;  // last: destroyed first, while the records above still exist
};

}  // namespace zorbel::window::testing
