#include "platform/system/host_window.hpp"

#include <mutex>
#include <utility>

namespace zorbel::system {

namespace {

std::mutex providerMutex;
DefaultWindowProvider& provider() {
    static DefaultWindowProvider instance;
    return instance;
}

}  // namespace

void setDefaultWindowProvider(DefaultWindowProvider newProvider) {
    std::lock_guard lock(providerMutex);
    provider() = std::move(newProvider);
}

WindowHandle defaultWindow() {
    DefaultWindowProvider current;
    {
        std::lock_guard lock(providerMutex);
        current = provider();
    }
    return current ? current() : 0;
}

void activateWindow(WindowHandle) {}

}  // namespace zorbel::system
