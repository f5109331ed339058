#include "platform/registry/hive_file.hpp"

#include "frame/text.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace zorbel::registry::detail {

namespace fs = std::filesystem;

// ---------------------------------------------------------------------------------------------
// Text helpers

namespace {

char hexDigit(unsigned v) { return "0123456789abcdef"[v & 0xF]; }

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string foldCase(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    size_t pos = 0;
    while (pos < name.size()) {
        char32_t cp;
        size_t length;
        if (zorbel::text::decodeAt(name, pos, cp, length)) {
            zorbel::text::appendUtf8(out, zorbel::text::toLower(cp));
            pos += length;
        } else {
            out += name[pos++];  // bytes that are not UTF-8 compare as they are
        }
    }
    return out;
}

std::string quote(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    size_t pos = 0;
    while (pos < text.size()) {
        const auto c = static_cast<uint8_t>(text[pos]);
        if (c >= 0x80) {
            char32_t cp;
            size_t length;
            if (zorbel::text::decodeAt(text, pos, cp, length)) {
                out.append(text.substr(pos, length));
                pos += length;
            } else {
                out += "\\x";
                out += hexDigit(c >> 4);
                out += hexDigit(c);
                ++pos;
            }
            continue;
        }
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            case 0: out += "\\0"; break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    out += "\\x";
                    out += hexDigit(c >> 4);
                    out += hexDigit(c);
                } else {
                    out += static_cast<char>(c);
                }
        }
        ++pos;
    }
    out += '"';
    return out;
}

size_t unquote(std::string_view text, size_t pos, std::string& out, std::string& problem) {
    out.clear();
    if (pos >= text.size() || text[pos] != '"') {
        problem = "expected a quoted text";
        return std::string_view::npos;
    }
    ++pos;
    while (pos < text.size()) {
        const char c = text[pos];
        if (c == '"') return pos + 1;
        if (static_cast<uint8_t>(c) < 0x20 && c != '\t') {
            problem = "control character inside a quoted text";
            return std::string_view::npos;
        }
        if (c != '\\') {
            out += c;
            ++pos;
            continue;
        }
        if (pos + 1 >= text.size()) break;
        const char e = text[pos + 1];
        pos += 2;
        switch (e) {
            case '"': out += '"'; break;
            case '\\': out += '\\'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case '0': out += '\0'; break;
            case 'x': {
                const int hi = pos < text.size() ? hexValue(text[pos]) : -1;
                const int lo = pos + 1 < text.size() ? hexValue(text[pos + 1]) : -1;
                if (hi < 0 || lo < 0) {
                    problem = "\\x must be followed by two hex digits";
                    return std::string_view::npos;
                }
                out += static_cast<char>(hi * 16 + lo);
                pos += 2;
                break;
            }
            default:
                problem = std::string("unknown escape \\") +
                          (static_cast<uint8_t>(e) >= 0x20 ? std::string(1, e) : std::string("?"));
                return std::string_view::npos;
        }
    }
    problem = "quoted text is not closed";
    return std::string_view::npos;
}

std::vector<std::string> splitKeyPath(std::string_view path) {
    while (!path.empty() && path.front() == '\\') path.remove_prefix(1);
    while (!path.empty() && path.back() == '\\') path.remove_suffix(1);
    std::vector<std::string> names;
    while (!path.empty()) {
        const size_t cut = path.find('\\');
        const std::string_view name = path.substr(0, cut);
        if (name.empty()) {
            throw Error(kBadKeyPathError, "Invalid registry key path (empty key name): " + std::string(path),
                        kErrorSource);
        }
        if (names.size() == kMaxKeyDepth) {
            throw Error(kBadKeyPathError, "Registry key path is nested too deeply", kErrorSource);
        }
        names.emplace_back(name);
        if (cut == std::string_view::npos) break;
        path.remove_prefix(cut + 1);
    }
    return names;
}

void checkValueType(const Value& value) {
    switch (value.type) {
        case ValueType::String:
        case ValueType::ExpandString:
        case ValueType::Binary:
        case ValueType::DWord:
        case ValueType::MultiString: return;
    }
    throw Error(err::kInvalidCall,
                "Unknown registry value type " + std::to_string(static_cast<uint32_t>(value.type)),
                kErrorSource);
}

// ---------------------------------------------------------------------------------------------
// Key

const Value* Key::findValue(std::string_view name) const {
    const auto it = valueIndex_.find(foldCase(name));
    return it == valueIndex_.end() ? nullptr : &values_[it->second].value;
}

bool Key::setValue(std::string_view name, const Value& value) {
    std::string folded = foldCase(name);
    const auto it = valueIndex_.find(folded);
    if (it != valueIndex_.end()) {
        Value& stored = values_[it->second].value;
        if (stored == value) return false;
        stored = value;
        return true;
    }
    valueIndex_.emplace(folded, values_.size());
    values_.push_back(Entry{std::string(name), std::move(folded), value});
    return true;
}

bool Key::removeValue(std::string_view name) {
    const auto it = valueIndex_.find(foldCase(name));
    if (it == valueIndex_.end()) return false;
    values_.erase(values_.begin() + static_cast<std::ptrdiff_t>(it->second));
    valueIndex_.clear();
    for (size_t i = 0; i < values_.size(); ++i) valueIndex_.emplace(values_[i].folded, i);
    return true;
}

bool Key::clearValues() {
    if (values_.empty()) return false;
    values_.clear();
    valueIndex_.clear();
    return true;
}

Key* Key::findSubkey(std::string_view name) {
    const auto it = subkeys_.find(foldCase(name));
    return it == subkeys_.end() ? nullptr : it->second.get();
}

const Key* Key::findSubkey(std::string_view name) const {
    const auto it = subkeys_.find(foldCase(name));
    return it == subkeys_.end() ? nullptr : it->second.get();
}

Key& Key::ensureSubkey(std::string_view name, bool* created) {
    auto [it, inserted] = subkeys_.try_emplace(foldCase(name));
    if (inserted) {
        it->second = std::make_unique<Key>(std::string(name));
        if (created != nullptr) *created = true;
    }
    return *it->second;
}

bool Key::removeSubkey(std::string_view name) { return subkeys_.erase(foldCase(name)) > 0; }

Key* Key::find(const std::vector<std::string>& path, std::vector<std::string>* storedNames) {
    return const_cast<Key*>(static_cast<const Key*>(this)->find(path, storedNames));
}

const Key* Key::find(const std::vector<std::string>& path, std::vector<std::string>* storedNames) const {
    const Key* key = this;
    for (const std::string& name : path) {
        key = key->findSubkey(name);
        if (key == nullptr) return nullptr;
        if (storedNames != nullptr) storedNames->push_back(key->name());
    }
    return key;
}

Key& Key::ensure(const std::vector<std::string>& path, bool* created) {
    Key* key = this;
    for (const std::string& name : path) key = &key->ensureSubkey(name, created);
    return *key;
}

// ---------------------------------------------------------------------------------------------
// Hive text format

namespace {

constexpr std::string_view kHeaderWord = "zorbel-hive";
constexpr int kFormatVersion = 1;

struct Token {
    bool quoted;
    std::string text;
};

[[noreturn]] void damaged(const std::string& file, size_t line, const std::string& reason) {
    std::string where = line > 0 ? " at line " + std::to_string(line) : std::string();
    throw Error(kHiveDamagedError,
                "Registry hive file '" + file + "' is damaged" + where + ": " + reason +
                    " (the file was left unchanged)",
                kErrorSource);
}

// Splits a line into bare words and quoted texts separated by blanks.
bool tokenize(std::string_view line, std::vector<Token>& tokens, std::string& problem) {
    tokens.clear();
    size_t pos = 0;
    while (true) {
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
        if (pos >= line.size()) return true;
        Token token;
        if (line[pos] == '"') {
            token.quoted = true;
            pos = unquote(line, pos, token.text, problem);
            if (pos == std::string_view::npos) return false;
        } else {
            token.quoted = false;
            const size_t start = pos;
            while (pos < line.size() && line[pos] != ' ' && line[pos] != '\t' && line[pos] != '"') {
                if (static_cast<uint8_t>(line[pos]) < 0x20) {
                    problem = "control character in the line";
                    return false;
                }
                ++pos;
            }
            token.text.assign(line.substr(start, pos - start));
        }
        if (pos < line.size() && line[pos] != ' ' && line[pos] != '\t') {
            problem = "missing blank between items";
            return false;
        }
        tokens.push_back(std::move(token));
    }
}

bool parseDecimal(std::string_view text, uint32_t& value) {
    if (text.empty() || text.size() > 10) return false;
    uint64_t v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + static_cast<uint64_t>(c - '0');
    }
    if (v > 0xFFFFFFFFu) return false;
    value = static_cast<uint32_t>(v);
    return true;
}

const char* typeWord(ValueType type) {
    switch (type) {
        case ValueType::String: return "sz";
        case ValueType::ExpandString: return "expand";
        case ValueType::MultiString: return "multi";
        case ValueType::DWord: return "dword";
        case ValueType::Binary: return "binary";
    }
    return "?";
}

Value parseValueData(const std::string& type, const std::vector<Token>& tokens, size_t first,
                     std::string& problem, bool& ok) {
    ok = false;
    const size_t count = tokens.size() - first;
    const auto allQuoted = [&] {
        for (size_t i = first; i < tokens.size(); ++i)
            if (!tokens[i].quoted) return false;
        return true;
    };
    if (type == "sz" || type == "expand") {
        if (count != 1 || !tokens[first].quoted) {
            problem = "a " + type + " value needs exactly one quoted text";
            return {};
        }
        ok = true;
        return type == "sz" ? Value::ofString(tokens[first].text) : Value::ofExpandString(tokens[first].text);
    }
    if (type == "multi") {
        if (!allQuoted()) {
            problem = "a multi value holds quoted texts only";
            return {};
        }
        std::vector<std::string> strings;
        strings.reserve(count);
        for (size_t i = first; i < tokens.size(); ++i) strings.push_back(tokens[i].text);
        ok = true;
        return Value::ofMultiString(std::move(strings));
    }
    if (type == "dword") {
        uint32_t v = 0;
        if (count != 1 || tokens[first].quoted || !parseDecimal(tokens[first].text, v)) {
            problem = "a dword value needs one decimal number from 0 to 4294967295";
            return {};
        }
        ok = true;
        return Value::ofDWord(v);
    }
    if (type == "binary") {
        std::vector<uint8_t> bytes;
        if (count > 1 || (count == 1 && tokens[first].quoted)) {
            problem = "a binary value needs one run of hex digits";
            return {};
        }
        if (count == 1) {
            const std::string& hex = tokens[first].text;
            if (hex.size() % 2 != 0) {
                problem = "odd number of hex digits";
                return {};
            }
            bytes.reserve(hex.size() / 2);
            for (size_t i = 0; i < hex.size(); i += 2) {
                const int hi = hexValue(hex[i]);
                const int lo = hexValue(hex[i + 1]);
                if (hi < 0 || lo < 0) {
                    problem = "not a hex digit in binary data";
                    return {};
                }
                bytes.push_back(static_cast<uint8_t>(hi * 16 + lo));
            }
        }
        ok = true;
        return Value::ofBinary(std::move(bytes));
    }
    problem = "unknown value type '" + type + "'";
    return {};
}

void writeValueLine(std::string& out, const Key::Entry& entry) {
    const Value& v = entry.value;
    out += "value ";
    out += quote(entry.name);
    out += ' ';
    out += typeWord(v.type);
    switch (v.type) {
        case ValueType::String:
        case ValueType::ExpandString:
            out += ' ';
            out += quote(v.text);
            break;
        case ValueType::MultiString:
            for (const std::string& s : v.strings) {
                out += ' ';
                out += quote(s);
            }
            break;
        case ValueType::DWord:
            out += ' ';
            out += std::to_string(v.dword);
            break;
        case ValueType::Binary:
            if (!v.bytes.empty()) {
                out += ' ';
                for (uint8_t b : v.bytes) {
                    out += hexDigit(b >> 4);
                    out += hexDigit(b);
                }
            }
            break;
    }
    out += '\n';
}

void writeKey(std::string& out, const Key& key, std::vector<const std::string*>& path) {
    if (!path.empty()) {
        out += "key";
        for (const std::string* name : path) {
            out += ' ';
            out += quote(*name);
        }
        out += '\n';
    }
    for (const Key::Entry& entry : key.values()) writeValueLine(out, entry);
    for (const auto& [folded, child] : key.subkeys()) {
        path.push_back(&child->name());
        writeKey(out, *child, path);
        path.pop_back();
    }
}

}  // namespace

Key parseHive(std::string_view text, const std::string& fileLabel) {
    if (text.size() > kMaxHiveBytes) damaged(fileLabel, 0, "the file is too large");
    Key root;
    Key* current = &root;
    bool sawHeader = false;
    bool sawEnd = false;
    size_t lineNumber = 0;
    size_t pos = 0;
    std::vector<Token> tokens;
    std::vector<std::string> path;
    std::string problem;
    while (pos < text.size()) {
        ++lineNumber;
        size_t eol = text.find('\n', pos);
        if (eol == std::string_view::npos) eol = text.size();
        const std::string_view line = text.substr(pos, eol - pos);
        pos = eol + 1;

        if (!sawHeader) {
            if (!tokenize(line, tokens, problem) || tokens.size() != 2 || tokens[0].quoted ||
                tokens[0].text != kHeaderWord) {
                damaged(fileLabel, lineNumber, "not a registry hive file (the first line must be 'zorbel-hive 1')");
            }
            uint32_t version = 0;
            if (tokens[1].quoted || !parseDecimal(tokens[1].text, version)) {
                damaged(fileLabel, lineNumber, "bad format version");
            }
            if (version != kFormatVersion) {
                damaged(fileLabel, lineNumber,
                        "format version " + std::to_string(version) + " is not supported (this build reads " +
                            std::to_string(kFormatVersion) + ")");
            }
            sawHeader = true;
            continue;
        }
        if (line.empty() || line.front() == '#') continue;
        if (sawEnd) damaged(fileLabel, lineNumber, "text after the 'end' line");
        if (!tokenize(line, tokens, problem)) damaged(fileLabel, lineNumber, problem);
        if (tokens.empty()) continue;
        if (tokens[0].quoted) damaged(fileLabel, lineNumber, "a line must start with 'key', 'value' or 'end'");
        const std::string& word = tokens[0].text;
        if (word == "end") {
            if (tokens.size() != 1) damaged(fileLabel, lineNumber, "text after 'end'");
            sawEnd = true;
        } else if (word == "key") {
            if (tokens.size() < 2) damaged(fileLabel, lineNumber, "a key line needs at least one name");
            if (tokens.size() - 1 > kMaxKeyDepth) damaged(fileLabel, lineNumber, "key is nested too deeply");
            path.clear();
            for (size_t i = 1; i < tokens.size(); ++i) {
                if (!tokens[i].quoted) damaged(fileLabel, lineNumber, "key names must be quoted");
                if (tokens[i].text.empty() || tokens[i].text.find('\\') != std::string::npos) {
                    damaged(fileLabel, lineNumber, "a key name must not be empty or contain a backslash");
                }
                path.push_back(std::move(tokens[i].text));
            }
            current = &root.ensure(path);
        } else if (word == "value") {
            if (tokens.size() < 3 || !tokens[1].quoted || tokens[2].quoted) {
                damaged(fileLabel, lineNumber, "a value line is: value \"name\" type data");
            }
            bool ok = false;
            Value value = parseValueData(tokens[2].text, tokens, 3, problem, ok);
            if (!ok) damaged(fileLabel, lineNumber, problem);
            if (current->findValue(tokens[1].text) != nullptr) {
                damaged(fileLabel, lineNumber, "value " + quote(tokens[1].text) + " appears twice in one key");
            }
            current->setValue(tokens[1].text, value);
        } else {
            damaged(fileLabel, lineNumber, "unknown line '" + std::string(word.substr(0, 40)) + "'");
        }
    }
    if (!sawHeader) damaged(fileLabel, 1, "the file is empty");
    if (!sawEnd) damaged(fileLabel, lineNumber, "the file is incomplete (no 'end' line)");
    return root;
}

std::string serializeHive(const Key& root) {
    std::string out = std::string(kHeaderWord) + " " + std::to_string(kFormatVersion) + "\n";
    std::vector<const std::string*> path;
    writeKey(out, root, path);
    out += "end\n";
    return out;
}

// ---------------------------------------------------------------------------------------------
// Files

Error fileFailure(int errnoValue, const fs::path& path) {
    const Error base = fileError(errnoValue, kErrorSource);
    return Error(base.number(), base.description() + ": '" + path.string() + "' (" + std::strerror(errnoValue) + ")",
                 kErrorSource);
}

namespace {

class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() { reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    void reset() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }
    int release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

void writeAll(int fd, std::string_view bytes, const fs::path& path) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            throw fileFailure(errno, path);
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
}

void fsyncFolder(const fs::path& folder) {
    Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() < 0) throw fileFailure(errno, folder);
    if (::fsync(dir.get()) != 0 && errno != EINVAL) throw fileFailure(errno, folder);
}

// Reads a hive file; nullopt-like empty hive when it does not exist.
Key readHiveFile(const fs::path& file) {
    Fd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        if (errno == ENOENT) return Key();
        throw fileFailure(errno, file);
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) throw fileFailure(errno, file);
    if (!S_ISREG(st.st_mode)) throw fileFailure(EISDIR, file);
    if (static_cast<uint64_t>(st.st_size) > kMaxHiveBytes) damaged(file.string(), 0, "the file is too large");
    std::string text;
    text.resize(static_cast<size_t>(st.st_size));
    size_t have = 0;
    while (true) {
        if (have == text.size()) {
            if (text.size() >= kMaxHiveBytes) damaged(file.string(), 0, "the file is too large");
            text.resize(text.size() + 4096);  // the file may have grown since fstat
        }
        const ssize_t n = ::read(fd.get(), text.data() + have, text.size() - have);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw fileFailure(errno, file);
        }
        if (n == 0) break;
        have += static_cast<size_t>(n);
    }
    text.resize(have);
    return parseHive(text, file.string());
}

class ExclusiveLock {
public:
    explicit ExclusiveLock(const fs::path& lockFile)
        : fd_(::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)) {
        if (fd_.get() < 0) throw fileFailure(errno, lockFile);
        while (::flock(fd_.get(), LOCK_EX) != 0) {
            if (errno != EINTR) throw fileFailure(errno, lockFile);
        }
    }

private:
    Fd fd_;  // closing the descriptor releases the lock
};

// Temporary files of a hive are only created while its lock is held, so any found by the lock
// holder were left by a writer that died.
void removeStaleTemporaries(const fs::path& folder, const std::string& hiveName) {
    const std::string prefix = hiveName + ".tmp-";
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.compare(0, prefix.size(), prefix) == 0) {
            std::error_code ignored;
            fs::remove(it->path(), ignored);
        }
    }
}

}  // namespace

fs::path hiveFile(Hive hive) { return rootFolder() / (hiveShortName(hive) + ".hive"); }

Key loadHive(Hive hive) {
    // Writers replace the file by rename, so an unlocked read sees one complete version.
    return readHiveFile(hiveFile(hive));
}

void updateHive(Hive hive, const std::function<bool(Key& root)>& change) {
    const fs::path file = hiveFile(hive);
    const fs::path folder = file.parent_path();
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) throw fileFailure(ec.value(), folder);

    const std::string hiveName = file.filename().string();
    ExclusiveLock lock(folder / (hiveName + ".lock"));
    removeStaleTemporaries(folder, hiveName);
    Key root = readHiveFile(file);
    if (!change(root)) return;
    writeFileAtomically(file, serializeHive(root));
}

void writeFileAtomically(const fs::path& file, std::string_view bytes) {
    fs::path folder = file.parent_path();
    if (folder.empty()) folder = ".";
    std::string pattern = (folder / (file.filename().string() + ".tmp-XXXXXX")).string();
    Fd fd(::mkostemp(pattern.data(), O_CLOEXEC));
    if (fd.get() < 0) throw fileFailure(errno, file);
    const fs::path temp = pattern;
    try {
        struct stat st {};
        const mode_t mode = ::stat(file.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
        if (::fchmod(fd.get(), mode) != 0) throw fileFailure(errno, temp);
        writeAll(fd.get(), bytes, temp);
        if (::fsync(fd.get()) != 0) throw fileFailure(errno, temp);
        if (::close(fd.release()) != 0) throw fileFailure(errno, temp);
        if (::rename(temp.c_str(), file.c_str()) != 0) throw fileFailure(errno, file);
    } catch (...) {
        ::unlink(temp.c_str());
        throw;
    }
    fsyncFolder(folder);
}

}  // namespace zorbel::registry::detail
