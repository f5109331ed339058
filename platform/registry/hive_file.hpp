#pragma once
// Internal to the registry: the in-memory tree of one hive, the hive's text file format and
// the locked, atomic update of a hive file. The registry functions, the zorbel-reg tool and
// the tests use it; other code goes through registry.hpp.
//
// Hive file format (UTF-8 text, one record per line, '\n' line ends):
//
//     zorbel-hive 1
//     value "" sz "default value of the hive's root key"
//     key "Software"
//     key "Software" "Quendra"
//     value "Name" sz "text"
//     value "Path" expand "%HOME%\\bin"
//     value "List" multi "first" "second"
//     value "Count" dword 42
//     value "Blob" binary 00ff10
//     end
//
// The first line names the format version. A `key` line lists the key's path one quoted
// name per segment and makes it the current key; the `value` lines that follow belong to it
// (values before the first `key` line belong to the root key). Every key is written, parents
// before children, so empty keys survive. Quoted texts escape backslash, double quote,
// control bytes (\n \r \t \0 \xHH) and bytes that are not part of valid UTF-8 (\xHH); other
// UTF-8 is written as it is. The closing `end` line tells a complete file from a cut one.
// Blank lines and lines starting with '#' are ignored.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "frame/error.hpp"
#include "platform/registry/registry.hpp"

namespace zorbel::registry::detail {

inline constexpr const char* kErrorSource = "Zorbel.Registry";

// Deepest key path accepted, as on the desktop registry; also bounds recursion on hostile files.
inline constexpr size_t kMaxKeyDepth = 512;
// Largest hive file read; anything bigger is reported as damaged instead of exhausting memory.
inline constexpr size_t kMaxHiveBytes = 256u * 1024u * 1024u;

// Lower-cases UTF-8 text code point by code point; bytes that are not UTF-8 are kept as they
// are. Names are compared in this form.
std::string foldCase(std::string_view name);


// The quoted, escaped form of a text ("a\"b\\c\n") and its reverse. unquote reads a quoted
// text starting at text[pos] (which must be '"'), stores it in `out` and returns the position
// after the closing quote; on malformed input it returns npos and sets `problem`.
std::string quote(std::string_view text);
size_t unquote(std::string_view text, size_t pos, std::string& out, std::string& problem);

// Splits "Software\\Quendra\\" into its names, ignoring leading and trailing backslashes.
// Raises kBadKeyPathError for empty names inside the path or a path deeper than kMaxKeyDepth.
std::vector<std::string> splitKeyPath(std::string_view path);

// Raises kInvalidCall when the value's type is not one of the five known kinds.
void checkValueType(const Value& value);

class Key {
public:
    struct Entry {
        std::string name;    // as first written
        std::string folded;  // foldCase(name)
        Value value;
    };

    Key() = default;
    explicit Key(std::string name) : name_(std::move(name)) {}
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    Key(Key&&) = default;
    Key& operator=(Key&&) = default;

    const std::string& name() const { return name_; }

    // Values in the order they were first written.
    const std::vector<Entry>& values() const { return values_; }
    const Value* findValue(std::string_view name) const;
    bool setValue(std::string_view name, const Value& value);  // true when something changed
    bool removeValue(std::string_view name);                    // true when it was there
    bool clearValues();

    // Direct children keyed by folded name, so iteration is sorted without letter case.
    const std::map<std::string, std::unique_ptr<Key>>& subkeys() const { return subkeys_; }
    Key* findSubkey(std::string_view name);
    const Key* findSubkey(std::string_view name) const;
    Key& ensureSubkey(std::string_view name, bool* created = nullptr);
    bool removeSubkey(std::string_view name);

    // Walks a path below this key. `storedNames`, when given, receives the names in stored case.
    Key* find(const std::vector<std::string>& path, std::vector<std::string>* storedNames = nullptr);
    const Key* find(const std::vector<std::string>& path,
                    std::vector<std::string>* storedNames = nullptr) const;
    Key& ensure(const std::vector<std::string>& path, bool* created = nullptr);

private:
    std::string name_;
    std::vector<Entry> values_;
    std::unordered_map<std::string, size_t> valueIndex_;  // folded name -> index in values_
    std::map<std::string, std::unique_ptr<Key>> subkeys_;
};

// Parses hive file text. `fileLabel` names the file in errors (kHiveDamagedError with the line).
Key parseHive(std::string_view text, const std::string& fileLabel);
std::string serializeHive(const Key& root);

std::filesystem::path hiveFile(Hive hive);

// The hive as it is on disk now; a missing file is an empty hive.
Key loadHive(Hive hive);

// Under an exclusive lock on the hive's lock file: reads the hive from disk, lets `change`
// modify it and, when `change` returns true, replaces the file atomically. A damaged hive
// raises before `change` runs and is left as it is; an exception from `change` writes nothing.
void updateHive(Hive hive, const std::function<bool(Key& root)>& change);

// Replaces `file` with `bytes`: temporary file in the same folder, fsync, rename, fsync of the
// folder. Keeps the mode of an existing file, otherwise 0644.
void writeFileAtomically(const std::filesystem::path& file, std::string_view bytes);

// A failed system call on `path` as a file error carrying the path and the system's reason.
Error fileFailure(int errnoValue, const std::filesystem::path& path);

}  // namespace zorbel::registry::detail
