#pragma once
// Two-colour gradients drawn as a run of overlapping 3-pixel solid strips, and system
// colours read from the user's "Control Panel\Colors" registry values.

#include <cstdint>
#include <string>

namespace zorbel::imaging {

// Width and height in twips (15 per pixel); style 0 left to right, 1 top to bottom, other
// styles draw nothing. Never raises: a step that fails is skipped.
void drawGradient(int32_t hdc, int32_t widthTwips, int32_t heightTwips, int32_t startColor, int32_t endColor,
                  int16_t style);

// The colour value of a registry value holding "red green blue"; black when it is missing.
// Raises type mismatch (13) for a word that is no number, overflow (6) beyond 16 bits.
int32_t colorFromSysColorId(const std::string& sysColorId);

}  // namespace zorbel::imaging
