#include "platform/gdi/pixel_converter.hpp"

namespace zorbel::gdi {

PixelConverter::PixelConverter(const Bitmap& source, const Bitmap& destination, ColorRef sourceBackground,
                               ColorRef destText, ColorRef destBackground)
    : source_(source), destination_(destination), sourceBackground_(sourceBackground & 0x00FFFFFFu) {
    bool sameFormat = source.bitCount() == destination.bitCount();
    if (sameFormat && (source.bitCount() > 8 || source.colorTable() == destination.colorTable())) {
        mode_ = Mode::Identity;
    } else if (source.isMonochrome() && !destination.isMonochrome()) {
        mode_ = Mode::Table;
        table_ = {destination.rawOfColor(destText), destination.rawOfColor(destBackground)};
    } else if (destination.isMonochrome() && !source.isMonochrome()) {
        mode_ = Mode::ToMono;
        if (source.bitCount() <= 8) {
            mode_ = Mode::Table;
            for (const RgbQuad& q : source.colorTable())
                table_.push_back(rgb(q.red, q.green, q.blue) == sourceBackground_ ? 1u : 0u);
        }
    } else if (source.bitCount() <= 8) {
        mode_ = Mode::Table;
        for (uint32_t i = 0; i < source.colorTable().size(); ++i)
            table_.push_back(destination.rawOfColor(source.colorOfRaw(i)));
    } else {
        mode_ = Mode::ToColor;
    }
}

uint32_t PixelConverter::operator()(uint32_t raw) const {
    switch (mode_) {
        case Mode::Identity: return raw;
        case Mode::Table: return raw < table_.size() ? table_[raw] : 0;
        case Mode::ToMono: return source_.colorOfRaw(raw) == sourceBackground_ ? 1u : 0u;
        case Mode::ToColor: return destination_.rawOfColor(source_.colorOfRaw(raw));
    }
    return raw;
}

}  // namespace zorbel::gdi
