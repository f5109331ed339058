#pragma once
// Pumping the calling thread's message queue: once (the classic wait-by-pumping DoEvents),
// until a condition holds, or modally until a window is hidden. Handlers may pump again from
// inside; see README.md in this folder.

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>

#include "platform/window/window_handle.hpp"

namespace zorbel::window {

// Delivers everything that was pending when it started and returns the number of deliveries.
size_t pumpOnce();

// Pumps until `done` answers true (checked before and after every pump) or the timeout
// passes, sleeping on the queue's descriptor in between. Something that makes `done` true
// from another thread must also post to the queue (a task or a message) so the sleep ends.
// True when `done` held. Without a timeout it waits as long as it takes.
bool runUntil(const std::function<bool()>& done,
              std::optional<std::chrono::milliseconds> timeout = std::nullopt);

// Shows the window (owner thread) and pumps until it is hidden or destroyed. True when it
// was; false when the timeout passed first (the window then stays as it is).
bool runModal(WindowHandle window, std::optional<std::chrono::milliseconds> timeout = std::nullopt);

// The descriptor of the calling thread's queue, for poll(), GLib or Qt; see MessageQueue.
int queueDescriptor();
bool hasPendingMessages();

}  // namespace zorbel::window
