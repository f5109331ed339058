#include "platform/window/presentation_backend.hpp"

#include <mutex>

namespace zorbel::window {

namespace {
std::mutex& backendMutex() {
    static std::mutex mutex;
    return mutex;
}
std::shared_ptr<PresentationBackend>& backendSlot() {
    static std::shared_ptr<PresentationBackend> backend;
    return backend;
}
}  // namespace

void setPresentationBackend(std::shared_ptr<PresentationBackend> backend) {
    std::lock_guard lock(backendMutex());
    backendSlot() = std::move(backend);
}

std::shared_ptr<PresentationBackend> presentationBackend() {
    std::lock_guard lock(backendMutex());
    return backendSlot();
}

}  // namespace zorbel::window
