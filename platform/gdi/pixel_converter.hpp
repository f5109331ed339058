#pragma once
// PixelConverter: turns a source bitmap's stored values into a destination bitmap's stored
// values by the blit rules (see blit.hpp), with a lookup table for indexed sources.

#include <cstdint>
#include <vector>

#include "platform/gdi/bitmap.hpp"
#include "platform/gdi/types.hpp"

namespace zorbel::gdi {

class PixelConverter {
public:
    // sourceBackground: the source context's background colour; destText/destBackground:
    // the destination context's text and background colours.
    PixelConverter(const Bitmap& source, const Bitmap& destination, ColorRef sourceBackground, ColorRef destText,
                   ColorRef destBackground);

    uint32_t operator()(uint32_t raw) const;
    // True when stored values pass unchanged.
    bool identity() const { return mode_ == Mode::Identity; }

private:
    enum class Mode { Identity, Table, ToMono, ToColor };
    Mode mode_ = Mode::Identity;
    const Bitmap& source_;
    const Bitmap& destination_;
    ColorRef sourceBackground_;
    std::vector<uint32_t> table_;
};

}  // namespace zorbel::gdi
