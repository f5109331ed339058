#pragma once
// Finding the top-level windows of this process. Lookups in other processes go through a
// separate directory of published windows and are not part of this header.

#include <optional>
#include <string_view>
#include <vector>

#include "platform/window/window_handle.hpp"

namespace zorbel::window {

// All live top-level windows of the process, the most recently created first.
std::vector<WindowHandle> topLevelWindows();

// The most recently created top-level window whose class name (and title, when given) match
// without letter case; an empty class name matches every class. kNoWindow when none does.
// Windows being destroyed are skipped. Any thread.
WindowHandle findWindow(std::string_view className, std::optional<std::string_view> title = std::nullopt);

}  // namespace zorbel::window
