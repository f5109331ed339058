#include "platform/registry/reg_file.hpp"

#include "frame/text.hpp"

#include <cstdio>
#include <utility>

namespace zorbel::registry::detail {

namespace {

constexpr std::string_view kRegHeader = "Windows Registry Editor Version 5.00";
constexpr size_t kWrapColumn = 80;

[[noreturn]] void badFile(const std::string& file, size_t line, const std::string& reason) {
    std::string where = line > 0 ? " at line " + std::to_string(line) : std::string();
    throw Error(kBadRegFileError, "Registry file '" + file + "' cannot be imported" + where + ": " + reason,
                kErrorSource);
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimLeft(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    return s;
}

std::string_view trimRight(std::string_view s) {
    while (!s.empty() && (isBlank(s.back()) || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

bool startsWithNoCase(std::string_view s, std::string_view prefix) {
    if (s.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        char c = s[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 0x20);
        if (c != prefix[i]) return false;
    }
    return true;
}

void appendUnit(std::string& out, uint32_t unit) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>((unit >> 8) & 0xFF);
}

// ----- writing

void appendHexData(std::string& out, std::string prefix, std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string line = std::move(prefix);
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<uint8_t>(bytes[i]);
        std::string piece{kDigits[b >> 4], kDigits[b & 0xF]};
        if (i + 1 < bytes.size()) piece += ',';
        if (i > 0 && line.size() + piece.size() + 1 > kWrapColumn) {
            out += line;
            out += "\\\n";
            line = "  ";
        }
        line += piece;
    }
    out += line;
    out += '\n';
}

void appendValue(std::string& out, const Key::Entry& entry) {
    const std::string name = entry.name.empty() ? std::string("@") : quote(entry.name);
    const Value& v = entry.value;
    switch (v.type) {
        case ValueType::String: out += name + "=" + quote(v.text) + "\n"; return;
        case ValueType::ExpandString: {
            std::string data = utf8ToUtf16le(v.text);
            appendUnit(data, 0);
            appendHexData(out, name + "=hex(2):", data);
            return;
        }
        case ValueType::MultiString: {
            bool hasNul = false;
            for (const std::string& s : v.strings) hasNul = hasNul || s.find('\0') != std::string::npos;
            if (hasNul) {
                out += name + "=multi:";
                for (size_t i = 0; i < v.strings.size(); ++i) {
                    if (i > 0) out += ',';
                    out += quote(v.strings[i]);
                }
                out += '\n';
                return;
            }
            std::string data;
            for (const std::string& s : v.strings) {
                data += utf8ToUtf16le(s);
                appendUnit(data, 0);
            }
            appendUnit(data, 0);
            appendHexData(out, name + "=hex(7):", data);
            return;
        }
        case ValueType::DWord: {
            char buffer[16];
            std::snprintf(buffer, sizeof buffer, "%08x", static_cast<unsigned>(v.dword));
            out += name + "=dword:" + buffer + "\n";
            return;
        }
        case ValueType::Binary:
            appendHexData(out, name + "=hex:",
                          std::string_view(reinterpret_cast<const char*>(v.bytes.data()), v.bytes.size()));
            return;
    }
}

void appendKey(std::string& out, const std::string& path, const Key& key) {
    if (path.find_first_of("\r\n") != std::string::npos) {
        throw Error(kBadRegFileError, "Registry key " + quote(path) + " has a line break in its name and cannot be exported",
                    kErrorSource);
    }
    out += "[" + path + "]\n";
    for (const Key::Entry& entry : key.values()) appendValue(out, entry);
    out += '\n';
    for (const auto& [folded, child] : key.subkeys()) appendKey(out, path + "\\" + child->name(), *child);
}

// ----- reading

struct LineSource {
    std::vector<std::string_view> lines;
    size_t next = 0;  // index of the next unread line; its number is next + 1
};

std::vector<uint8_t> parseByteList(std::string_view data, const std::string& file, size_t line) {
    std::vector<uint8_t> bytes;
    data = trimLeft(trimRight(data));
    if (data.empty()) return bytes;
    size_t pos = 0;
    while (pos <= data.size()) {
        const size_t comma = data.find(',', pos);
        const std::string_view token =
            trimLeft(trimRight(data.substr(pos, comma == std::string_view::npos ? std::string_view::npos : comma - pos)));
        const bool last = comma == std::string_view::npos;
        if (token.empty() && last && !bytes.empty()) break;  // tolerate one trailing comma
        if (token.empty() || token.size() > 2) badFile(file, line, "hex data must be bytes like 0a,ff");
        int value = 0;
        for (char c : token) {
            const int digit = hexValue(c);
            if (digit < 0) badFile(file, line, "not a hex digit in hex data");
            value = value * 16 + digit;
        }
        bytes.push_back(static_cast<uint8_t>(value));
        if (last) break;
        pos = comma + 1;
    }
    return bytes;
}

std::string decodeUtf16Data(const std::vector<uint8_t>& bytes, const std::string& file, size_t line) {
    if (bytes.size() % 2 != 0) badFile(file, line, "UTF-16 text data has an odd number of bytes");
    return utf16leToUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

Value valueFromHex(uint32_t kind, const std::vector<uint8_t>& bytes, const std::string& file, size_t line) {
    switch (kind) {
        case 1:
        case 2: {
            std::string text = decodeUtf16Data(bytes, file, line);
            if (!text.empty() && text.back() == '\0') text.pop_back();
            return kind == 1 ? Value::ofString(std::move(text)) : Value::ofExpandString(std::move(text));
        }
        case 3: return Value::ofBinary(bytes);
        case 4: {
            if (bytes.size() != 4) badFile(file, line, "hex(4) data must be four bytes");
            return Value::ofDWord(static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
                                  (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24));
        }
        case 7: {
            std::string text = decodeUtf16Data(bytes, file, line);
            // Items each end with a NUL and the list with one more; the last NUL closes the list.
            if (!text.empty() && text.back() == '\0') text.pop_back();
            std::vector<std::string> strings;
            size_t pos = 0;
            while (pos < text.size()) {
                const size_t end = text.find('\0', pos);
                if (end == std::string::npos) {
                    strings.push_back(text.substr(pos));
                    break;
                }
                strings.push_back(text.substr(pos, end - pos));
                pos = end + 1;
            }
            return Value::ofMultiString(std::move(strings));
        }
        default: {
            char buffer[16];
            std::snprintf(buffer, sizeof buffer, "%x", static_cast<unsigned>(kind));
            badFile(file, line, std::string("value type hex(") + buffer + ") is not supported");
        }
    }
}

// Reads the data after "name=" (already trimmed on the left). May consume continuation lines.
RegChange parseValueData(std::string_view data, LineSource& source, const std::string& file, size_t line) {
    RegChange change;
    change.kind = RegChange::Kind::SetValue;
    const std::string_view rest = trimRight(data);
    if (rest == "-") {
        change.kind = RegChange::Kind::DeleteValue;
        return change;
    }
    std::string problem;
    if (!rest.empty() && rest.front() == '"') {
        std::string text;
        const size_t end = unquote(rest, 0, text, problem);
        if (end == std::string_view::npos) badFile(file, line, problem);
        if (end != rest.size()) badFile(file, line, "text after the closing quote");
        change.value = Value::ofString(std::move(text));
        return change;
    }
    if (startsWithNoCase(rest, "dword:")) {
        const std::string_view digits = rest.substr(6);
        if (digits.empty() || digits.size() > 8) badFile(file, line, "dword data must be 1 to 8 hex digits");
        uint32_t v = 0;
        for (char c : digits) {
            const int d = hexValue(c);
            if (d < 0) badFile(file, line, "not a hex digit in dword data");
            v = (v << 4) | static_cast<uint32_t>(d);
        }
        change.value = Value::ofDWord(v);
        return change;
    }
    if (startsWithNoCase(rest, "multi:")) {
        std::vector<std::string> strings;
        std::string_view list = trimLeft(rest.substr(6));
        while (!list.empty()) {
            std::string text;
            const size_t end = unquote(list, 0, text, problem);
            if (end == std::string_view::npos) badFile(file, line, problem);
            strings.push_back(std::move(text));
            list = trimLeft(list.substr(end));
            if (list.empty()) break;
            if (list.front() != ',') badFile(file, line, "multi: items must be separated by commas");
            list = trimLeft(list.substr(1));
            if (list.empty()) badFile(file, line, "multi: list ends with a comma");
        }
        change.value = Value::ofMultiString(std::move(strings));
        return change;
    }
    if (startsWithNoCase(rest, "hex")) {
        std::string_view typePart = rest.substr(3);
        uint32_t kind = 3;
        if (!typePart.empty() && typePart.front() == '(') {
            const size_t close = typePart.find(')');
            if (close == std::string_view::npos || close == 1 || close > 9) badFile(file, line, "bad hex(type) form");
            kind = 0;
            for (char c : typePart.substr(1, close - 1)) {
                const int d = hexValue(c);
                if (d < 0) badFile(file, line, "bad hex(type) form");
                kind = (kind << 4) | static_cast<uint32_t>(d);
            }
            typePart.remove_prefix(close + 1);
        }
        if (typePart.empty() || typePart.front() != ':') badFile(file, line, "expected ':' after hex");
        std::string joined(typePart.substr(1));
        // A line ending in a backslash continues on the next one.
        while (true) {
            const std::string_view trimmed = trimRight(joined);
            if (trimmed.empty() || trimmed.back() != '\\') break;
            joined.resize(trimmed.size() - 1);
            if (source.next >= source.lines.size()) badFile(file, line, "hex data continues past the end of the file");
            joined += trimLeft(trimRight(source.lines[source.next++]));
        }
        change.value = valueFromHex(kind, parseByteList(joined, file, line), file, line);
        return change;
    }
    badFile(file, line, "unrecognised value data");
}

}  // namespace

std::string hiveLongName(Hive hive) {
    switch (hive) {
        case Hive::ClassesRoot: return "HKEY_CLASSES_ROOT";
        case Hive::CurrentUser: return "HKEY_CURRENT_USER";
        case Hive::LocalMachine: return "HKEY_LOCAL_MACHINE";
    }
    return hiveShortName(hive);  // raises for an unknown hive
}

std::string utf8ToUtf16le(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    size_t pos = 0;
    while (pos < text.size()) {
        char32_t cp;
        size_t length;
        if (!zorbel::text::decodeAt(text, pos, cp, length)) {
            appendUnit(out, 0xDC00u + static_cast<uint8_t>(text[pos]));
            ++pos;
            continue;
        }
        pos += length;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            appendUnit(out, 0xD800u + (cp >> 10));
            appendUnit(out, 0xDC00u + (cp & 0x3FF));
        } else {
            appendUnit(out, cp);
        }
    }
    return out;
}

std::string utf16leToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() / 2);
    const size_t units = bytes.size() / 2;
    const auto unit = [&](size_t i) {
        return static_cast<uint32_t>(static_cast<uint8_t>(bytes[2 * i])) |
               (static_cast<uint32_t>(static_cast<uint8_t>(bytes[2 * i + 1])) << 8);
    };
    for (size_t i = 0; i < units; ++i) {
        const uint32_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units && unit(i + 1) >= 0xDC00 && unit(i + 1) <= 0xDFFF) {
            zorbel::text::appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (unit(i + 1) - 0xDC00));
            ++i;
        } else if (u >= 0xDC80 && u <= 0xDCFF) {
            out += static_cast<char>(u - 0xDC00);  // a byte that was not valid UTF-8
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            zorbel::text::appendUtf8(out, 0xFFFD);
        } else {
            zorbel::text::appendUtf8(out, u);
        }
    }
    return out;
}

std::string formatRegFile(Hive hive, const std::vector<std::string>& storedPath, const Key& key) {
    std::string path = hiveLongName(hive);
    for (const std::string& name : storedPath) path += "\\" + name;
    std::string out = std::string(kRegHeader) + "\n\n";
    appendKey(out, path, key);
    return out;
}

std::vector<RegChange> parseRegFile(std::string_view bytes, const std::string& file) {
    if (bytes.size() > kMaxHiveBytes) badFile(file, 0, "the file is too large");
    std::string converted;
    if (bytes.size() >= 2 && static_cast<uint8_t>(bytes[0]) == 0xFF && static_cast<uint8_t>(bytes[1]) == 0xFE) {
        if (bytes.size() % 2 != 0) badFile(file, 0, "UTF-16 file has an odd number of bytes");
        converted = utf16leToUtf8(bytes.substr(2));
        bytes = converted;
    } else if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    }

    LineSource source;
    for (size_t pos = 0; pos <= bytes.size();) {
        const size_t eol = bytes.find('\n', pos);
        if (eol == std::string_view::npos) {
            if (pos < bytes.size()) source.lines.push_back(bytes.substr(pos));
            break;
        }
        source.lines.push_back(bytes.substr(pos, eol - pos));
        pos = eol + 1;
    }

    const std::string_view header = source.lines.empty() ? std::string_view() : trimRight(source.lines[0]);
    if (header == "REGEDIT4") badFile(file, 1, "REGEDIT4 files are not supported; export as version 5.00");
    if (header != kRegHeader) badFile(file, 1, "the first line must be '" + std::string(kRegHeader) + "'");
    source.next = 1;

    std::vector<RegChange> changes;
    bool haveKey = false;
    Hive hive = Hive::CurrentUser;
    std::vector<std::string> path;
    std::string problem;
    while (source.next < source.lines.size()) {
        const size_t lineNumber = source.next + 1;
        const std::string_view line = trimLeft(trimRight(source.lines[source.next++]));
        if (line.empty() || line.front() == ';') continue;

        if (line.front() == '[') {
            if (line.back() != ']') badFile(file, lineNumber, "a key line must end with ']'");
            std::string_view inner = line.substr(1, line.size() - 2);
            const bool remove = !inner.empty() && inner.front() == '-';
            if (remove) inner.remove_prefix(1);
            const size_t cut = inner.find('\\');
            const std::string_view rootName = inner.substr(0, cut);
            const auto found = hiveFromName(rootName);
            if (!found) badFile(file, lineNumber, "unknown root key '" + std::string(rootName.substr(0, 40)) + "'");
            try {
                path = splitKeyPath(cut == std::string_view::npos ? std::string_view() : inner.substr(cut + 1));
            } catch (const Error& e) {
                badFile(file, lineNumber, e.description());
            }
            hive = *found;
            RegChange change;
            change.hive = hive;
            change.path = path;
            if (remove) {
                if (path.empty()) badFile(file, lineNumber, "the root key of a hive cannot be deleted");
                change.kind = RegChange::Kind::DeleteKey;
                haveKey = false;
            } else {
                change.kind = RegChange::Kind::CreateKey;
                haveKey = true;
            }
            changes.push_back(std::move(change));
            continue;
        }

        if (line.front() == '@' || line.front() == '"') {
            if (!haveKey) badFile(file, lineNumber, "a value line must follow a key line");
            std::string name;
            size_t pos = 1;
            if (line.front() == '"') {
                pos = unquote(line, 0, name, problem);
                if (pos == std::string_view::npos) badFile(file, lineNumber, problem);
            }
            const std::string_view afterName = trimLeft(line.substr(pos));
            if (afterName.empty() || afterName.front() != '=') badFile(file, lineNumber, "expected '=' after the value name");
            RegChange change = parseValueData(trimLeft(afterName.substr(1)), source, file, lineNumber);
            change.hive = hive;
            change.path = path;
            change.name = std::move(name);
            changes.push_back(std::move(change));
            continue;
        }
        badFile(file, lineNumber, "unrecognised line");
    }
    return changes;
}

void applyRegChanges(const std::vector<RegChange>& changes) {
    std::vector<Hive> order;
    for (const RegChange& change : changes) {
        bool seen = false;
        for (Hive h : order) seen = seen || h == change.hive;
        if (!seen) order.push_back(change.hive);
    }
    for (Hive hive : order) {
        updateHive(hive, [&](Key& root) {
            bool changed = false;
            for (const RegChange& change : changes) {
                if (change.hive != hive) continue;
                switch (change.kind) {
                    case RegChange::Kind::CreateKey: root.ensure(change.path, &changed); break;
                    case RegChange::Kind::DeleteKey: {
                        std::vector<std::string> parentPath(change.path.begin(), change.path.end() - 1);
                        Key* parent = root.find(parentPath);
                        if (parent != nullptr && parent->removeSubkey(change.path.back())) changed = true;
                        break;
                    }
                    case RegChange::Kind::SetValue: {
                        checkValueType(change.value);
                        Key& key = root.ensure(change.path, &changed);
                        if (key.setValue(change.name, change.value)) changed = true;
                        break;
                    }
                    case RegChange::Kind::DeleteValue: {
                        Key* key = root.find(change.path);
                        if (key != nullptr && key->removeValue(change.name)) changed = true;
                        break;
                    }
                }
            }
            return changed;
        });
    }
}

}  // namespace zorbel::registry::detail
