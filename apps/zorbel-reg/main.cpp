// zorbel-reg: reads and changes the registry hives from the command line, with the syntax of
// the classic `reg` command (add, query, delete, export, import).

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <iostream>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "frame/error.hpp"
#include "platform/registry/hive_file.hpp"
#include "platform/registry/reg_file.hpp"
#include "platform/registry/registry.hpp"

namespace {

namespace reg = zorbel::registry;
namespace detail = zorbel::registry::detail;

constexpr const char* kNotFound = "The system was unable to find the specified registry key or value.";
constexpr const char* kDone = "The operation completed successfully.";

// A failure reported as "ERROR: <message>" with exit code 1.
struct Failure {
    std::string message;
};

Failure syntaxError(const std::string& detailText = {}) {
    std::string message = "Invalid syntax.";
    if (!detailText.empty()) message += " " + detailText;
    message += "\nType \"zorbel-reg /?\" for usage.";
    return Failure{message};
}

const char* kUsage =
    "zorbel-reg ADD KEY [/v NAME | /ve] [/t TYPE] [/s SEPARATOR] [/d DATA] [/f]\n"
    "zorbel-reg QUERY KEY [/v NAME | /ve] [/s]\n"
    "zorbel-reg DELETE KEY [/v NAME | /ve | /va] [/f]\n"
    "zorbel-reg EXPORT KEY FILE [/y]\n"
    "zorbel-reg IMPORT FILE\n"
    "\n"
    "  KEY        ROOT\\Sub\\Key with ROOT one of HKCR, HKCU, HKLM (or the HKEY_ names)\n"
    "  /v NAME    the value NAME; /ve the default value; /va all values of the key\n"
    "  /t TYPE    REG_SZ (default), REG_EXPAND_SZ, REG_MULTI_SZ, REG_DWORD, REG_BINARY\n"
    "  /s SEP     ADD: separator of REG_MULTI_SZ items in DATA (default \\0); QUERY: all subkeys\n"
    "  /d DATA    REG_DWORD in decimal or 0x hex, REG_BINARY as hex digits\n"
    "  /f, /y     overwrite or delete without asking\n";

std::string lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 0x20);
    return s;
}

// ----- command line

using Options = std::map<std::string, std::string>;  // option name (lower case) -> its argument

Options parseOptions(const std::vector<std::string>& args, size_t first, const std::set<std::string>& withArgument,
                     const std::set<std::string>& flags) {
    Options options;
    for (size_t i = first; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.size() < 2 || arg[0] != '/') throw syntaxError("Unexpected argument '" + arg + "'.");
        const std::string name = lower(arg.substr(1));
        const bool takesArgument = withArgument.count(name) > 0;
        if (!takesArgument && flags.count(name) == 0) throw syntaxError("Unknown option '" + arg + "'.");
        if (options.count(name) > 0) throw syntaxError("Option '" + arg + "' is given twice.");
        if (takesArgument) {
            if (i + 1 >= args.size()) throw syntaxError("Option '" + arg + "' needs an argument.");
            options[name] = args[++i];
        } else {
            options[name] = std::string();
        }
    }
    return options;
}

bool has(const Options& options, const std::string& name) { return options.count(name) > 0; }

struct KeyArg {
    reg::Hive hive;
    std::vector<std::string> path;
};

KeyArg parseKey(const std::string& text) {
    if (text.compare(0, 2, "\\\\") == 0) throw Failure{"Remote registries are not supported."};
    const size_t cut = text.find('\\');
    const auto hive = reg::hiveFromName(text.substr(0, cut));
    if (!hive) throw Failure{"Invalid key name."};
    KeyArg key{*hive, {}};
    try {
        key.path = detail::splitKeyPath(cut == std::string::npos ? std::string() : text.substr(cut + 1));
    } catch (const zorbel::Error&) {
        throw Failure{"Invalid key name."};
    }
    return key;
}

// The value name chosen by /v or /ve; nullopt when neither is given.
std::optional<std::string> valueOption(const Options& options) {
    if (has(options, "v") && has(options, "ve")) throw syntaxError("Use either /v or /ve.");
    if (has(options, "v")) return options.at("v");
    if (has(options, "ve")) return std::string();
    return std::nullopt;
}

std::string displayName(const std::string& name) { return name.empty() ? "(Default)" : name; }

// Asks on stdin; only "y" or "yes" (any case) agrees. End of input means no.
bool confirm(const std::string& question) {
    std::cout << question << " " << std::flush;
    std::string answer;
    if (!std::getline(std::cin, answer)) {
        std::cout << "\n";
        return false;
    }
    size_t begin = answer.find_first_not_of(" \t\r");
    size_t end = answer.find_last_not_of(" \t\r");
    answer = begin == std::string::npos ? std::string() : lower(answer.substr(begin, end - begin + 1));
    return answer == "y" || answer == "yes";
}

Failure cancelled() { return Failure{"The operation was cancelled by the user."}; }

// ----- value text

const char* typeName(reg::ValueType type) {
    switch (type) {
        case reg::ValueType::String: return "REG_SZ";
        case reg::ValueType::ExpandString: return "REG_EXPAND_SZ";
        case reg::ValueType::MultiString: return "REG_MULTI_SZ";
        case reg::ValueType::DWord: return "REG_DWORD";
        case reg::ValueType::Binary: return "REG_BINARY";
    }
    return "REG_NONE";
}

std::string dataText(const reg::Value& v) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    switch (v.type) {
        case reg::ValueType::String:
        case reg::ValueType::ExpandString: return v.text;
        case reg::ValueType::MultiString: {
            std::string out;
            for (size_t i = 0; i < v.strings.size(); ++i) {
                if (i > 0) out += "\\0";
                out += v.strings[i];
            }
            return out;
        }
        case reg::ValueType::DWord: {
            char buffer[16];
            std::snprintf(buffer, sizeof buffer, "0x%x", static_cast<unsigned>(v.dword));
            return buffer;
        }
        case reg::ValueType::Binary: {
            std::string out;
            for (uint8_t b : v.bytes) {
                out += kDigits[b >> 4];
                out += kDigits[b & 0xF];
            }
            return out;
        }
    }
    return {};
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

uint32_t parseDWord(const std::string& text) {
    const Failure bad{"Invalid data for REG_DWORD: '" + text + "' (use 0 to 4294967295 or 0x0 to 0xffffffff)."};
    if (text.empty()) return 0;
    uint64_t v = 0;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        if (text.size() > 10) throw bad;
        for (size_t i = 2; i < text.size(); ++i) {
            const int d = hexValue(text[i]);
            if (d < 0) throw bad;
            v = v * 16 + static_cast<uint64_t>(d);
        }
    } else {
        if (text.size() > 10) throw bad;
        for (char c : text) {
            if (c < '0' || c > '9') throw bad;
            v = v * 10 + static_cast<uint64_t>(c - '0');
        }
    }
    if (v > 0xFFFFFFFFu) throw bad;
    return static_cast<uint32_t>(v);
}

std::vector<uint8_t> parseBinary(const std::string& text) {
    if (text.size() % 2 != 0) throw Failure{"Invalid data for REG_BINARY: an even number of hex digits is needed."};
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < text.size(); i += 2) {
        const int hi = hexValue(text[i]);
        const int lo = hexValue(text[i + 1]);
        if (hi < 0 || lo < 0) throw Failure{"Invalid data for REG_BINARY: '" + text + "' is not hex digits."};
        bytes.push_back(static_cast<uint8_t>(hi * 16 + lo));
    }
    return bytes;
}

std::vector<std::string> splitMulti(const std::string& text, const std::string& separator) {
    std::vector<std::string> items;
    if (text.empty()) return items;
    size_t pos = 0;
    while (true) {
        const size_t cut = text.find(separator, pos);
        if (cut == std::string::npos) {
            items.push_back(text.substr(pos));
            return items;
        }
        items.push_back(text.substr(pos, cut - pos));
        pos = cut + separator.size();
    }
}

reg::Value valueFromOptions(const Options& options) {
    const std::string type = has(options, "t") ? lower(options.at("t")) : "reg_sz";
    const std::string data = has(options, "d") ? options.at("d") : std::string();
    if (has(options, "s") && type != "reg_multi_sz") throw syntaxError("/s is only used with REG_MULTI_SZ.");
    if (type == "reg_sz") return reg::Value::ofString(data);
    if (type == "reg_expand_sz") return reg::Value::ofExpandString(data);
    if (type == "reg_multi_sz") {
        const std::string separator = has(options, "s") ? options.at("s") : "\\0";
        if (separator.empty()) throw syntaxError("The /s separator must not be empty.");
        return reg::Value::ofMultiString(splitMulti(data, separator));
    }
    if (type == "reg_dword") return reg::Value::ofDWord(parseDWord(data));
    if (type == "reg_binary") return reg::Value::ofBinary(parseBinary(data));
    throw Failure{"Unsupported value type '" + options.at("t") + "'."};
}

// ----- snapshot helpers

struct Found {
    detail::Key root;
    const detail::Key* key = nullptr;
    std::string path;  // long root name and stored-case names
};

Found findKey(const KeyArg& arg) {
    Found found{detail::loadHive(arg.hive), nullptr, {}};
    std::vector<std::string> stored;
    found.key = found.root.find(arg.path, &stored);
    if (found.key == nullptr) throw Failure{kNotFound};
    found.path = detail::hiveLongName(arg.hive);
    for (const std::string& name : stored) found.path += "\\" + name;
    return found;
}

const detail::Key::Entry* findEntry(const detail::Key& key, const std::string& name) {
    const std::string folded = detail::foldCase(name);
    for (const auto& entry : key.values())
        if (entry.folded == folded) return &entry;
    return nullptr;
}

void printValueLine(const std::string& name, const reg::Value& value) {
    std::cout << "    " << displayName(name) << "    " << typeName(value.type) << "    " << dataText(value) << "\n";
}

void printKey(const detail::Key& key, const std::string& path, bool recursive) {
    std::cout << "\n" << path << "\n";
    for (const auto& entry : key.values()) printValueLine(entry.name, entry.value);
    if (recursive) {
        for (const auto& [folded, child] : key.subkeys()) printKey(*child, path + "\\" + child->name(), true);
        return;
    }
    if (!key.subkeys().empty()) {
        std::cout << "\n";
        for (const auto& [folded, child] : key.subkeys()) std::cout << path << "\\" << child->name() << "\n";
    }
}

size_t printMatches(const detail::Key& key, const std::string& path, const std::string& name) {
    size_t matches = 0;
    if (const detail::Key::Entry* entry = findEntry(key, name)) {
        std::cout << "\n" << path << "\n";
        printValueLine(entry->name, entry->value);
        ++matches;
    }
    for (const auto& [folded, child] : key.subkeys()) matches += printMatches(*child, path + "\\" + child->name(), name);
    return matches;
}

// ----- commands

int commandAdd(const std::vector<std::string>& args) {
    if (args.size() < 3) throw syntaxError();
    const KeyArg key = parseKey(args[2]);
    const Options options = parseOptions(args, 3, {"v", "t", "s", "d"}, {"ve", "f"});
    std::optional<std::string> name = valueOption(options);
    if (!name && (has(options, "t") || has(options, "d") || has(options, "s"))) name = std::string();
    if (!name) {
        detail::updateHive(key.hive, [&](detail::Key& root) {
            bool created = false;
            root.ensure(key.path, &created);
            return created;
        });
        std::cout << kDone << "\n";
        return 0;
    }
    const reg::Value value = valueFromOptions(options);
    if (!has(options, "f")) {
        const detail::Key root = detail::loadHive(key.hive);
        const detail::Key* existing = root.find(key.path);
        if (existing != nullptr && existing->findValue(*name) != nullptr &&
            !confirm("Value " + displayName(*name) + " exists, overwrite(Yes/No)?")) {
            throw cancelled();
        }
    }
    detail::updateHive(key.hive, [&](detail::Key& root) {
        bool created = false;
        return root.ensure(key.path, &created).setValue(*name, value) || created;
    });
    std::cout << kDone << "\n";
    return 0;
}

int commandQuery(const std::vector<std::string>& args) {
    if (args.size() < 3) throw syntaxError();
    const KeyArg key = parseKey(args[2]);
    const Options options = parseOptions(args, 3, {"v"}, {"ve", "s"});
    const std::optional<std::string> name = valueOption(options);
    const Found found = findKey(key);
    const bool recursive = has(options, "s");
    if (!name) {
        printKey(*found.key, found.path, recursive);
        std::cout << "\n";
        return 0;
    }
    if (recursive) {
        const size_t matches = printMatches(*found.key, found.path, *name);
        if (matches == 0) throw Failure{kNotFound};
        std::cout << "\nEnd of search: " << matches << " match(es) found.\n";
        return 0;
    }
    const detail::Key::Entry* entry = findEntry(*found.key, *name);
    if (entry == nullptr) throw Failure{kNotFound};
    std::cout << "\n" << found.path << "\n";
    printValueLine(entry->name, entry->value);
    std::cout << "\n";
    return 0;
}

int commandDelete(const std::vector<std::string>& args) {
    if (args.size() < 3) throw syntaxError();
    const KeyArg key = parseKey(args[2]);
    const Options options = parseOptions(args, 3, {"v"}, {"ve", "va", "f"});
    const int chosen = int(has(options, "v")) + int(has(options, "ve")) + int(has(options, "va"));
    if (chosen > 1) throw syntaxError("Use only one of /v, /ve and /va.");
    const bool force = has(options, "f");
    const Found found = findKey(key);

    if (has(options, "va")) {
        if (!force && !confirm("Delete all values under the registry key " + found.path + " (Yes/No)?")) throw cancelled();
        detail::updateHive(key.hive, [&](detail::Key& root) {
            detail::Key* target = root.find(key.path);
            return target != nullptr && target->clearValues();
        });
    } else if (const std::optional<std::string> name = valueOption(options)) {
        if (found.key->findValue(*name) == nullptr) throw Failure{kNotFound};
        if (!force && !confirm("Delete the registry value " + displayName(*name) + " (Yes/No)?")) throw cancelled();
        detail::updateHive(key.hive, [&](detail::Key& root) {
            detail::Key* target = root.find(key.path);
            return target != nullptr && target->removeValue(*name);
        });
    } else {
        if (key.path.empty()) throw Failure{"The root key of a hive cannot be deleted."};
        if (!force && !confirm("Permanently delete the registry key " + found.path + " (Yes/No)?")) throw cancelled();
        std::vector<std::string> parentPath(key.path.begin(), key.path.end() - 1);
        detail::updateHive(key.hive, [&](detail::Key& root) {
            detail::Key* parent = root.find(parentPath);
            return parent != nullptr && parent->removeSubkey(key.path.back());
        });
    }
    std::cout << kDone << "\n";
    return 0;
}

int commandExport(const std::vector<std::string>& args) {
    if (args.size() < 4) throw syntaxError();
    const KeyArg key = parseKey(args[2]);
    const std::string file = args[3];
    const Options options = parseOptions(args, 4, {}, {"y"});
    const Found found = findKey(key);
    std::vector<std::string> stored;
    found.root.find(key.path, &stored);
    const std::string text = detail::formatRegFile(key.hive, stored, *found.key);
    struct stat st {};
    if (!has(options, "y") && ::stat(file.c_str(), &st) == 0 &&
        !confirm("File " + file + " already exists. Overwrite (Yes/No)?")) {
        throw cancelled();
    }
    detail::writeFileAtomically(file, text);
    std::cout << kDone << "\n";
    return 0;
}

std::string readWholeFile(const std::string& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw detail::fileFailure(errno, file);
    std::string bytes;
    char buffer[65536];
    while (true) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            ::close(fd);
            throw detail::fileFailure(error, file);
        }
        if (n == 0) break;
        bytes.append(buffer, static_cast<size_t>(n));
        if (bytes.size() > detail::kMaxHiveBytes) {
            ::close(fd);
            throw Failure{"The file '" + file + "' is too large to import."};
        }
    }
    ::close(fd);
    return bytes;
}

int commandImport(const std::vector<std::string>& args) {
    if (args.size() != 3) throw syntaxError();
    const std::string bytes = readWholeFile(args[2]);
    detail::applyRegChanges(detail::parseRegFile(bytes, args[2]));
    std::cout << kDone << "\n";
    return 0;
}

int run(const std::vector<std::string>& args) {
    if (args.size() < 2) throw syntaxError();
    const std::string command = lower(args[1]);
    if (command == "/?" || command == "-?" || command == "/h" || command == "--help") {
        std::cout << kUsage;
        return 0;
    }
    if (args.size() == 3 && args[2] == "/?") {
        std::cout << kUsage;
        return 0;
    }
    if (command == "add") return commandAdd(args);
    if (command == "query") return commandQuery(args);
    if (command == "delete") return commandDelete(args);
    if (command == "export") return commandExport(args);
    if (command == "import") return commandImport(args);
    throw syntaxError("Unknown operation '" + args[1] + "'.");
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv, argv + argc);
    try {
        return run(args);
    } catch (const Failure& failure) {
        std::cerr << "ERROR: " << failure.message << "\n";
    } catch (const zorbel::Error& error) {
        std::cerr << "ERROR: " << error.description() << "\n";
    } catch (const std::exception& error) {
        std::cerr << "ERROR: " << error.what() << "\n";
    }
    return 1;
}
