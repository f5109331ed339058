#include "imaging/imaging_messages.hpp"

#include "platform/window/message_box.hpp"

namespace zorbel::imaging {

void showMessage(const std::string& text, MessageIcon icon) {
    uint32_t style = window::MB_OK | (icon == MessageIcon::Warning ? window::MB_ICONEXCLAMATION : 0);
    window::messageBox(text, "Zorbel", style);
}

}  // namespace zorbel::imaging
