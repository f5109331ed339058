#include "platform/system/ini_file.hpp"

#include <fstream>
#include <optional>
#include <string_view>

#include "frame/text.hpp"

namespace zorbel::system {

namespace {

std::string_view trimBlanks(std::string_view s) {
    size_t start = s.find_first_not_of(" \t");
    if (start == std::string_view::npos) return {};
    size_t end = s.find_last_not_of(" \t");
    return s.substr(start, end - start + 1);
}

std::string_view unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// Valid UTF-8 decodes and encodes back to the same bytes; anything invalid becomes U+FFFD.
bool isValidUtf8(std::string_view s) { return text::encodeUtf8(text::decodeUtf8(s)) == s; }

// One line as UTF-8 text, without its CR.
std::string normalisedLine(std::string line) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return isValidUtf8(line) ? line : text::fromWindows1252(line);
}

// The section a header line names, or nullopt when the line is not a header.
std::optional<std::string_view> sectionHeader(std::string_view line) {
    if (line.size() < 2 || line.front() != '[') return std::nullopt;
    size_t close = line.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return trimBlanks(line.substr(1, close - 1));
}

// The value when the line sets the key.
std::optional<std::string> keyValue(std::string_view line, const std::string& key) {
    size_t equals = line.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    if (!text::equalsNoCase(trimBlanks(line.substr(0, equals)), key)) return std::nullopt;
    return std::string(unquote(trimBlanks(line.substr(equals + 1))));
}

}  // namespace

std::string readIniValue(const std::string& file, const std::string& section, const std::string& key,
                         const std::string& defaultValue) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return defaultValue;
    const std::string wantedSection(trimBlanks(section));
    const std::string wantedKey(trimBlanks(key));
    bool inSection = false;
    bool firstLine = true;
    std::string raw;
    while (std::getline(in, raw)) {
        if (firstLine && raw.rfind("\xEF\xBB\xBF", 0) == 0) raw.erase(0, 3);
        firstLine = false;
        std::string line = normalisedLine(std::move(raw));
        std::string_view content = trimBlanks(line);
        if (content.empty() || content.front() == ';') continue;
        if (auto header = sectionHeader(content)) {
            inSection = text::equalsNoCase(*header, wantedSection);
        } else if (inSection) {
            if (auto value = keyValue(content, wantedKey)) return *value;
        }
    }
    return defaultValue;
}

}  // namespace zorbel::system
