#pragma once
// The library's string tables: one German (1031) and one English (1033) table. The table is
// picked from the user's language, German when the locale starts with "de", English otherwise.

#include <cstdint>
#include <optional>
#include <string>

namespace zorbel::resources {

enum class Language : int32_t {
    German = 1031,
    English = 1033,
};

// The user's language from LC_ALL, LC_MESSAGES and LANG, the first one that is set and not empty.
Language userLanguage();

// A string of the table for the user's language (or the given one); nullopt for an unknown id.
std::optional<std::string> loadString(int32_t id);
std::optional<std::string> loadString(int32_t id, Language language);

// True when the texts the library shows are German: string 101 read as a number is 1031.
bool germanTexts();

}  // namespace zorbel::resources
