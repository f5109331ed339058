#pragma once
// Message boxes: the one entry point every part of the toolkit uses to ask the user.
// Without a hook or presentation backend the box is written to standard error as one line
// "[caption] text" and answers its default button at once.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace zorbel::window {

// Buttons (the low four bits of the style).
inline constexpr uint32_t MB_OK = 0x0;
inline constexpr uint32_t MB_OKCANCEL = 0x1;
inline constexpr uint32_t MB_ABORTRETRYIGNORE = 0x2;
inline constexpr uint32_t MB_YESNOCANCEL = 0x3;
inline constexpr uint32_t MB_YESNO = 0x4;
inline constexpr uint32_t MB_RETRYCANCEL = 0x5;
inline constexpr uint32_t MB_TYPEMASK = 0xF;
// Icons.
inline constexpr uint32_t MB_ICONHAND = 0x10;
inline constexpr uint32_t MB_ICONQUESTION = 0x20;
inline constexpr uint32_t MB_ICONEXCLAMATION = 0x30;
inline constexpr uint32_t MB_ICONASTERISK = 0x40;
inline constexpr uint32_t MB_ICONMASK = 0xF0;
// Default button.
inline constexpr uint32_t MB_DEFBUTTON1 = 0x000;
inline constexpr uint32_t MB_DEFBUTTON2 = 0x100;
inline constexpr uint32_t MB_DEFBUTTON3 = 0x200;
inline constexpr uint32_t MB_DEFBUTTON4 = 0x300;
inline constexpr uint32_t MB_DEFMASK = 0xF00;

// Answers.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// The answer of the style's default button. An unknown button set counts as MB_OK; a default
// button beyond the set's last button counts as the first.
int defaultAnswer(uint32_t style);

// Asks in this order: the hook, the presentation backend, standard error. The hook and the
// backend answer a value or nullopt for "the default answer"; with a hook installed nothing is
// written to standard error. Any thread.
int messageBox(const std::string& text, const std::string& caption, uint32_t style);

using MessageBoxHook = std::function<std::optional<int>(const std::string& text, const std::string& caption, uint32_t style)>;

// Process-wide; nullptr restores the default. Thread-safe; the hook is called without any lock
// held, so it may show boxes itself or replace the hook.
void setMessageBoxHook(MessageBoxHook hook);

}  // namespace zorbel::window
