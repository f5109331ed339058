#pragma once
// cPalette: a list of colours read from a plain-text palette file, and the search for the
// entry nearest to a colour.
//
// File format: lines end at carriage-return line-feed pairs (text after the last pair is a
// line too); fields are separated by single spaces. A line of exactly three fields is a
// colour (red, green, blue, each converted like the classic text-to-byte conversion); every
// other line is skipped.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "frame/object.hpp"

namespace zorbel::imaging {

inline constexpr const char* kPaletteErrorSource = "Zorbel.cPalette";

struct PaletteColor {
    uint8_t red = 0, green = 0, blue = 0;
    bool operator==(const PaletteColor&) const = default;
};

// Parses a palette file's contents; raises the conversion errors (6 overflow, 13 type
// mismatch) of the first bad colour field.
std::vector<PaletteColor> parsePaletteText(std::string_view text);

class cPalette final : public Dispatchable<cPalette> {
public:
    static const ClassInfo& typeInfo();

    int32_t ClosestIndex(int32_t Red, int32_t Green, int32_t Blue) const;
    int32_t Count() const { return static_cast<int32_t>(entries_.size()); }
    uint8_t Red(Variant iIndex) const { return entry(iIndex).red; }
    uint8_t Green(Variant iIndex) const { return entry(iIndex).green; }
    uint8_t Blue(Variant iIndex) const { return entry(iIndex).blue; }
    bool LoadFromFile(std::string sFileName);

    const std::vector<PaletteColor>& entries() const { return entries_; }

private:
    const PaletteColor& entry(const Variant& index) const;
    std::vector<PaletteColor> entries_;
};

}  // namespace zorbel::imaging
