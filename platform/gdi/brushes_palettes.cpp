#include "platform/gdi/brushes_palettes.hpp"

#include <algorithm>

#include "platform/gdi/object_table.hpp"
#include "platform/gdi/sys_colors.hpp"

namespace zorbel::gdi {

HBRUSH createSolidBrush(ColorRef color) {
    auto brush = std::make_shared<Brush>();
    brush->color = translateColor(color) & 0x00FFFFFFu;
    return ObjectTable::instance().add(brush);
}

ColorRef brushColor(HBRUSH brush) {
    auto b = ObjectTable::instance().get<Brush>(brush);
    return b ? b->color : kInvalidColor;
}

HPALETTE createPalette(const std::vector<PaletteEntry>& entries) {
    if (entries.empty() || entries.size() > 256) return 0;
    auto palette = std::make_shared<Palette>();
    palette->entries = entries;
    return ObjectTable::instance().add(palette);
}

uint32_t getPaletteEntries(HPALETTE palette, uint32_t start, uint32_t count, PaletteEntry* out) {
    auto p = ObjectTable::instance().get<Palette>(palette);
    if (!p) return 0;
    uint32_t size = static_cast<uint32_t>(p->entries.size());
    if (!out) return size;
    if (start >= size) return 0;
    uint32_t n = std::min(count, size - start);
    std::copy_n(p->entries.begin() + start, n, out);
    return n;
}

uint32_t setPaletteEntries(HPALETTE palette, uint32_t start, uint32_t count, const PaletteEntry* in) {
    auto p = ObjectTable::instance().get<Palette>(palette);
    if (!p || !in) return 0;
    uint32_t size = static_cast<uint32_t>(p->entries.size());
    if (start >= size) return 0;
    uint32_t n = std::min(count, size - start);
    std::copy_n(in, n, p->entries.begin() + start);
    return n;
}

HICON createIcon(const Bitmap& color, const Bitmap& mask) {
    if (color.width() != mask.width() || color.height() != mask.height()) return 0;
    auto icon = std::make_shared<Icon>();
    icon->color = std::make_shared<Bitmap>(color);
    icon->mask = std::make_shared<Bitmap>(mask);
    icon->color->setSelectedIn(0);
    icon->mask->setSelectedIn(0);
    return ObjectTable::instance().add(icon);
}

std::shared_ptr<Icon> iconOf(HICON icon) { return ObjectTable::instance().get<Icon>(icon); }

}  // namespace zorbel::gdi
