#include "platform/registry/registry.hpp"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <utility>

#include "platform/registry/hive_file.hpp"

namespace zorbel::registry {

namespace fs = std::filesystem;
using detail::Key;

Value Value::ofString(std::string s) {
    Value v;
    v.type = ValueType::String;
    v.text = std::move(s);
    return v;
}

Value Value::ofExpandString(std::string s) {
    Value v;
    v.type = ValueType::ExpandString;
    v.text = std::move(s);
    return v;
}

Value Value::ofDWord(uint32_t d) {
    Value v;
    v.type = ValueType::DWord;
    v.dword = d;
    return v;
}

Value Value::ofMultiString(std::vector<std::string> strings) {
    Value v;
    v.type = ValueType::MultiString;
    v.strings = std::move(strings);
    return v;
}

Value Value::ofBinary(std::vector<uint8_t> bytes) {
    Value v;
    v.type = ValueType::Binary;
    v.bytes = std::move(bytes);
    return v;
}

std::string Value::asText() const {
    switch (type) {
        case ValueType::String:
        case ValueType::ExpandString: return text;
        case ValueType::DWord: return std::to_string(dword);
        case ValueType::MultiString: {
            std::string out;
            for (size_t i = 0; i < strings.size(); ++i) {
                if (i > 0) out += '\0';
                out += strings[i];
            }
            return out;
        }
        case ValueType::Binary: {
            static constexpr char kDigits[] = "0123456789abcdef";
            std::string out;
            out.reserve(bytes.size() * 2);
            for (uint8_t b : bytes) {
                out += kDigits[b >> 4];
                out += kDigits[b & 0xF];
            }
            return out;
        }
    }
    return {};
}

fs::path rootFolder() {
    const char* root = std::getenv("ZORBEL_ROOT");
    if (root != nullptr && *root != '\0') return fs::path(root);
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && *config != '\0') return fs::path(config) / "zorbel";
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0') {
        const passwd* entry = ::getpwuid(::getuid());
        home = entry != nullptr ? entry->pw_dir : nullptr;
    }
    if (home == nullptr || *home == '\0') {
        throw Error(err::kPathNotFound, "Cannot find the registry folder: neither ZORBEL_ROOT nor HOME is set",
                    detail::kErrorSource);
    }
    return fs::path(home) / ".config" / "zorbel";
}

namespace {

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 0x20);
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 0x20);
        if (x != y) return false;
    }
    return true;
}

}  // namespace

std::optional<Hive> hiveFromName(std::string_view name) {
    if (equalsNoCase(name, "HKCR") || equalsNoCase(name, "HKEY_CLASSES_ROOT")) return Hive::ClassesRoot;
    if (equalsNoCase(name, "HKCU") || equalsNoCase(name, "HKEY_CURRENT_USER")) return Hive::CurrentUser;
    if (equalsNoCase(name, "HKLM") || equalsNoCase(name, "HKEY_LOCAL_MACHINE")) return Hive::LocalMachine;
    return std::nullopt;
}

std::string hiveShortName(Hive hive) {
    switch (hive) {
        case Hive::ClassesRoot: return "HKCR";
        case Hive::CurrentUser: return "HKCU";
        case Hive::LocalMachine: return "HKLM";
    }
    throw Error(err::kInvalidCall, "Unknown registry hive " + std::to_string(static_cast<uint32_t>(hive)),
                detail::kErrorSource);
}

bool keyExists(Hive hive, const std::string& key) {
    const auto path = detail::splitKeyPath(key);
    return detail::loadHive(hive).find(path) != nullptr;
}

void createKey(Hive hive, const std::string& key) {
    const auto path = detail::splitKeyPath(key);
    detail::updateHive(hive, [&](Key& root) {
        bool created = false;
        root.ensure(path, &created);
        return created;
    });
}

void deleteKey(Hive hive, const std::string& key) {
    auto path = detail::splitKeyPath(key);
    if (path.empty()) {
        throw Error(err::kInvalidCall, "The root key of a registry hive cannot be deleted", detail::kErrorSource);
    }
    const std::string last = std::move(path.back());
    path.pop_back();
    detail::updateHive(hive, [&](Key& root) {
        Key* parent = root.find(path);
        return parent != nullptr && parent->removeSubkey(last);
    });
}

std::optional<Value> readValue(Hive hive, const std::string& key, const std::string& name) {
    const auto path = detail::splitKeyPath(key);
    const Key root = detail::loadHive(hive);
    const Key* found = root.find(path);
    if (found == nullptr) return std::nullopt;
    const Value* value = found->findValue(name);
    if (value == nullptr) return std::nullopt;
    return *value;
}

void writeValue(Hive hive, const std::string& key, const std::string& name, const Value& value) {
    detail::checkValueType(value);
    const auto path = detail::splitKeyPath(key);
    detail::updateHive(hive, [&](Key& root) {
        bool created = false;
        Key& target = root.ensure(path, &created);
        // Store only the member that belongs to the type, so a read gives back an equal Value.
        Value clean;
        switch (value.type) {
            case ValueType::String: clean = Value::ofString(value.text); break;
            case ValueType::ExpandString: clean = Value::ofExpandString(value.text); break;
            case ValueType::MultiString: clean = Value::ofMultiString(value.strings); break;
            case ValueType::DWord: clean = Value::ofDWord(value.dword); break;
            case ValueType::Binary: clean = Value::ofBinary(value.bytes); break;
        }
        return target.setValue(name, clean) || created;
    });
}

void deleteValue(Hive hive, const std::string& key, const std::string& name) {
    const auto path = detail::splitKeyPath(key);
    detail::updateHive(hive, [&](Key& root) {
        Key* found = root.find(path);
        return found != nullptr && found->removeValue(name);
    });
}

std::vector<std::string> subkeyNames(Hive hive, const std::string& key) {
    const auto path = detail::splitKeyPath(key);
    const Key root = detail::loadHive(hive);
    std::vector<std::string> names;
    if (const Key* found = root.find(path)) {
        names.reserve(found->subkeys().size());
        for (const auto& [folded, child] : found->subkeys()) names.push_back(child->name());
    }
    return names;
}

std::vector<std::string> valueNames(Hive hive, const std::string& key) {
    const auto path = detail::splitKeyPath(key);
    const Key root = detail::loadHive(hive);
    std::vector<std::string> names;
    if (const Key* found = root.find(path)) {
        names.reserve(found->values().size());
        for (const Key::Entry& entry : found->values()) names.push_back(entry.name);
    }
    return names;
}

}  // namespace zorbel::registry
