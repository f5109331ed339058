#pragma once
// The connection text of the database layer: "Provider=...;Data Source=<path>;Mode=...".
// Keys are matched without letter case, surrounding spaces are ignored, and a value may be
// enclosed in double quotes (for paths holding a ";").

#include <optional>
#include <string>
#include <string_view>

namespace zorbel::db {

// The one provider this layer serves.
inline constexpr const char* kJetProvider = "Microsoft.Jet.OLEDB.4.0";

struct ConnectionText {
    std::string provider;
    std::string dataSource;
    std::string mode;  // empty when not given
};

// The parts of a connection text; nullopt when it is malformed or lacks a provider or source.
std::optional<ConnectionText> parseConnectionText(std::string_view text);
// The text for a database file, in the form the library uses.
std::string connectionTextFor(const std::string& file);

}  // namespace zorbel::db
