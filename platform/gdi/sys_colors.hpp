#pragma once
// System colours: the 31 classic display-element colours by index (0 scroll bar ... 30
// gradient of inactive captions), and the translation of colour values whose high bit is set
// (0x80000000 | index) into the colour they name.

#include <cstdint>

#include "platform/gdi/types.hpp"

namespace zorbel::gdi {

inline constexpr int kSysColorCount = 31;
inline constexpr ColorRef kSysColorFlag = 0x80000000u;

// The colour of a display element; 0 for an index outside the table.
ColorRef getSysColor(int index);
// Changes a display element's colour for the whole process; false for a bad index.
bool setSysColor(int index, ColorRef color);
// Restores the classic defaults.
void resetSysColors();

// A colour value with the high bit set names the system colour of its low byte; any other
// value is returned unchanged.
ColorRef translateColor(ColorRef color);

}  // namespace zorbel::gdi
