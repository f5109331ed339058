#pragma once
// The registry stand-in: three hives (classes root, current user, local machine) kept as text
// files below one root folder. Key and value names are compared without letter case and keep
// the case they were first written with. Every write is atomic (temporary file in the same
// folder, fsync, rename) and made under a file lock, so concurrent processes never lose each
// other's values and a crash never leaves a partial hive.
//
// Key paths use backslashes ("Software\\QUENDRA\\Brenwick"); leading and trailing backslashes
// are ignored. The value name "" is the key's default value. Failures raise zorbel::Error.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "frame/error.hpp"

namespace zorbel::registry {

// Error numbers raised by the registry (source "Zorbel.Registry"). I/O failures raise the
// standard file errors (53, 70, 76, ...).
inline constexpr int32_t kHiveDamagedError = kUserErrorBase + 0x100;  // hive file cannot be parsed
inline constexpr int32_t kBadKeyPathError = kUserErrorBase + 0x101;   // empty name inside a key path, too deep

enum class Hive : uint32_t {
    ClassesRoot = 0x80000000u,
    CurrentUser = 0x80000001u,
    LocalMachine = 0x80000002u,
};

// Value kinds with the classic type numbers.
enum class ValueType : uint32_t {
    String = 1,        // REG_SZ
    ExpandString = 2,  // REG_EXPAND_SZ
    Binary = 3,        // REG_BINARY
    DWord = 4,         // REG_DWORD
    MultiString = 7,   // REG_MULTI_SZ
};

struct Value {
    ValueType type = ValueType::String;
    std::string text;                  // String, ExpandString
    uint32_t dword = 0;                // DWord
    std::vector<std::string> strings;  // MultiString
    std::vector<uint8_t> bytes;        // Binary

    static Value ofString(std::string s);
    static Value ofExpandString(std::string s);
    static Value ofDWord(uint32_t v);
    static Value ofMultiString(std::vector<std::string> v);
    static Value ofBinary(std::vector<uint8_t> v);

    // The value as text: strings as they are, a DWord in decimal, multi-strings joined by
    // NUL, binary as lower-case hex pairs. Used by callers that read any value as text.
    std::string asText() const;
    bool operator==(const Value&) const = default;
};

// The folder holding the hive files: $ZORBEL_ROOT when set, otherwise
// $XDG_CONFIG_HOME/zorbel (default ~/.config/zorbel). Read on every call, so tests can
// switch roots with setenv.
std::filesystem::path rootFolder();

// Hive from a root name: "HKCR"/"HKEY_CLASSES_ROOT", "HKCU"/"HKEY_CURRENT_USER",
// "HKLM"/"HKEY_LOCAL_MACHINE" (without letter case). nullopt for anything else.
std::optional<Hive> hiveFromName(std::string_view name);
std::string hiveShortName(Hive hive);  // "HKCR", "HKCU", "HKLM"

bool keyExists(Hive hive, const std::string& key);
void createKey(Hive hive, const std::string& key);            // with all missing parents
void deleteKey(Hive hive, const std::string& key);            // with its subkeys and values; missing is fine
std::optional<Value> readValue(Hive hive, const std::string& key, const std::string& name);
void writeValue(Hive hive, const std::string& key, const std::string& name, const Value& value);  // creates the key
void deleteValue(Hive hive, const std::string& key, const std::string& name);  // missing is fine
std::vector<std::string> subkeyNames(Hive hive, const std::string& key);      // direct children, in stored case, sorted without case
std::vector<std::string> valueNames(Hive hive, const std::string& key);       // "" for the default value when present

}  // namespace zorbel::registry
