#include "resources/strings.hpp"

#include <cstdlib>
#include <map>
#include <string_view>

#include "frame/text.hpp"

namespace zorbel::resources {

namespace {

using Table = std::map<int32_t, std::string_view>;

const Table& germanTable() {
    static const Table table = {
        {101, "1031"},
        {202, "Ein ungültiger Satz von Flags wurde angegeben."},
        {203, "Ein ungültiger Parameter oder ein ungültiger Satz von Flags wurde angegeben."},
        {204, "Der Grafiktreiber konnte die Aktion nicht ausführen."},
        {205, "Der Grafikmodus wird nicht unterstützt."},
        {206, "Fehler beim Schreibzugriff auf die Registrierung."},
    };
    return table;
}

const Table& englishTable() {
    static const Table table = {
        {101, "1033"},
        {202, "An invalid set of flags was passed in."},
        {203, "An invalid parameter was passed in. This can include an invalid flag or combination of flags."},
        {204, "The display driver failed the specified graphics mode."},
        {205, "The graphics mode is not supported."},
        {206, "Unable to write settings to the registry."},
    };
    return table;
}

}  // namespace

Language userLanguage() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value) return text::toLower(std::string_view(value).substr(0, 2)) == "de" ? Language::German : Language::English;
    }
    return Language::English;
}

std::optional<std::string> loadString(int32_t id, Language language) {
    const Table& table = language == Language::German ? germanTable() : englishTable();
    auto it = table.find(id);
    if (it == table.end()) return std::nullopt;
    return std::string(it->second);
}

std::optional<std::string> loadString(int32_t id) { return loadString(id, userLanguage()); }

bool germanTexts() { return text::leadingNumber(loadString(101).value_or("1033")) == 1031; }

}  // namespace zorbel::resources
