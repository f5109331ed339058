#include "platform/db/connection_text.hpp"

#include <vector>

#include "frame/text.hpp"

namespace zorbel::db {
namespace {

// Splits at ";" outside double quotes.
std::optional<std::vector<std::string>> splitParts(std::string_view text) {
    std::vector<std::string> parts(1);
    bool quoted = false;
    for (char c : text) {
        if (c == '"') quoted = !quoted;
        if (c == ';' && !quoted) {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    if (quoted) return std::nullopt;
    return parts;
}

std::string unquote(std::string value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') return value.substr(1, value.size() - 2);
    return value;
}

}  // namespace

std::optional<ConnectionText> parseConnectionText(std::string_view text) {
    auto parts = splitParts(text);
    if (!parts) return std::nullopt;
    ConnectionText result;
    for (const std::string& part : *parts) {
        if (text::trim(part).empty()) continue;
        size_t eq = part.find('=');
        if (eq == std::string::npos) return std::nullopt;
        std::string key = text::toLower(text::trim(part.substr(0, eq)));
        std::string value = unquote(text::trim(part.substr(eq + 1)));
        if (key == "provider") result.provider = value;
        else if (key == "data source") result.dataSource = value;
        else if (key == "mode") result.mode = value;
        // Other keys (user id, password, ...) carry nothing for a local file.
    }
    if (result.provider.empty() || result.dataSource.empty()) return std::nullopt;
    return result;
}

std::string connectionTextFor(const std::string& file) {
    std::string source = file.find(';') == std::string::npos ? file : '"' + file + '"';
    return std::string("Provider=") + kJetProvider + ";Data Source=" + source + ";Mode=Share Deny None";
}

}  // namespace zorbel::db
