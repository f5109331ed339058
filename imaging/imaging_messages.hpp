#pragma once
// The modal boxes the imaging classes show: an OK button, the library's name as caption and
// an optional warning icon.

#include <string>

namespace zorbel::imaging {

enum class MessageIcon { None, Warning };

void showMessage(const std::string& text, MessageIcon icon);

}  // namespace zorbel::imaging
