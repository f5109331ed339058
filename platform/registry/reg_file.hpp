#pragma once
// Internal to the registry: the classic ".reg" text used by `zorbel-reg export` and
// `zorbel-reg import`.
//
//     Windows Registry Editor Version 5.00
//
//     [HKEY_CURRENT_USER\Control Panel\Colors]
//     "ButtonFace"="212 208 200"
//     @="default value"
//     "Count"=dword:0000002a
//     "Blob"=hex:00,ff,10
//     "Path"=hex(2):25,00,48,00,...     (UTF-16LE with terminating NUL, lines end in '\')
//     "List"=hex(7):61,00,00,00,00,00   (NUL-terminated strings and a closing NUL)
//     "Old"=-                           (deletes the value)
//     [-HKEY_CURRENT_USER\Obsolete]     (deletes the key)
//
// Files are written as UTF-8. Quoted texts escape backslash and double quote as usual and,
// where a text needs it, control bytes and bytes outside valid UTF-8 as in the hive format
// (\n \r \t \0 \xHH). Bytes outside valid UTF-8 travel through the UTF-16 forms as the lone
// surrogates U+DC80..U+DCFF, so every text round-trips exactly. A multi-string whose items hold
// a NUL, which the NUL-terminated form cannot carry, is written as multi:"a\0b","c".
// Import also reads UTF-16LE files with a byte order mark, CRLF line ends and ';' comments.

#include <string>
#include <string_view>
#include <vector>

#include "platform/registry/hive_file.hpp"

namespace zorbel::registry::detail {

inline constexpr int32_t kBadRegFileError = kUserErrorBase + 0x102;

std::string hiveLongName(Hive hive);  // "HKEY_CURRENT_USER", ...

struct RegChange {
    enum class Kind { CreateKey, DeleteKey, SetValue, DeleteValue };
    Kind kind = Kind::CreateKey;
    Hive hive = Hive::CurrentUser;
    std::vector<std::string> path;
    std::string name;  // SetValue, DeleteValue
    Value value;       // SetValue
};

// The .reg text for `key` and everything below it; `storedPath` is its path in stored case.
// Raises kBadRegFileError for a key name the format cannot hold (line breaks).
std::string formatRegFile(Hive hive, const std::vector<std::string>& storedPath, const Key& key);

// The changes a .reg text describes, in file order. `fileLabel` names the file in errors
// (kBadRegFileError with the line number). Nothing is changed by parsing.
std::vector<RegChange> parseRegFile(std::string_view bytes, const std::string& fileLabel);

// Applies the changes: one locked, atomic write per hive involved.
void applyRegChanges(const std::vector<RegChange>& changes);

// UTF-8 <-> UTF-16LE bytes, with bytes outside valid UTF-8 carried as U+DC80..U+DCFF.
std::string utf8ToUtf16le(std::string_view text);
std::string utf16leToUtf8(std::string_view bytes);  // bytes.size() must be even

}  // namespace zorbel::registry::detail
