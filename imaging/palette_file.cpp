#include "imaging/palette_file.hpp"

#include <cerrno>
#include <cstdlib>
#include <fstream>

#include "frame/class_builder.hpp"
#include "frame/zorbel_classes.hpp"

namespace zorbel::imaging {

namespace {

// Palette files are small; anything beyond this is refused as out of memory rather than
// read whole.
constexpr std::streamoff kMaxPaletteFileBytes = std::streamoff{256} << 20;

// Calls fn for each piece of text between separators (the text after the last one too).
template <class Fn>
void forEachPiece(std::string_view text, std::string_view separator, Fn fn) {
    size_t start = 0;
    for (;;) {
        size_t end = text.find(separator, start);
        if (end == std::string_view::npos) {
            fn(text.substr(start));
            return;
        }
        fn(text.substr(start, end - start));
        start = end + separator.size();
    }
}

std::string readPaletteFile(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary | std::ios::ate);
    if (!in) throw fileError(errno == 0 ? ENOENT : errno);
    std::streamoff size = in.tellg();
    if (size < 0) throw Error::runtime(err::kDeviceIoError);
    if (size > kMaxPaletteFileBytes) throw Error::runtime(err::kOutOfMemory);
    std::string text(static_cast<size_t>(size), '\0');
    in.seekg(0);
    if (!in.read(text.data(), size)) throw Error::runtime(err::kDeviceIoError);
    return text;
}

uint8_t toByte(std::string_view field) { return Variant(std::string(field)).toByte(); }

}  // namespace

std::vector<PaletteColor> parsePaletteText(std::string_view text) {
    std::vector<PaletteColor> colors;
    forEachPiece(text, "\r\n", [&](std::string_view line) {
        std::vector<std::string_view> fields;
        forEachPiece(line, " ", [&](std::string_view field) { fields.push_back(field); });
        if (fields.size() != 3) return;
        colors.push_back(PaletteColor{toByte(fields[0]), toByte(fields[1]), toByte(fields[2])});
    });
    return colors;
}

const ClassInfo& cPalette::typeInfo() {
    static const ClassInfo info = ClassBuilder<cPalette>("cPalette", zorbelIdentity("cPalette"))
                                      .property("ClosestIndex", &cPalette::ClosestIndex, {"Red", "Green", "Blue"})
                                      .property("Count", &cPalette::Count)
                                      .property("Red", &cPalette::Red, {"iIndex"})
                                      .property("Green", &cPalette::Green, {"iIndex"})
                                      .property("Blue", &cPalette::Blue, {"iIndex"})
                                      .method("LoadFromFile", &cPalette::LoadFromFile, {"sFileName"})
                                      .build();
    return info;
}

int32_t cPalette::ClosestIndex(int32_t Red, int32_t Green, int32_t Blue) const {
    int32_t best = 0;
    int64_t bestDistance = 765;
    for (size_t i = 0; i < entries_.size(); ++i) {
        const PaletteColor& c = entries_[i];
        if (c.red == Red && c.green == Green && c.blue == Blue) return static_cast<int32_t>(i + 1);
        int64_t d = std::llabs(int64_t{Red} - c.red) + std::llabs(int64_t{Blue} - c.blue) +
                    std::llabs(int64_t{Green} - c.green);
        if (d < bestDistance) best = static_cast<int32_t>(i + 1), bestDistance = d;
    }
    return best;
}

const PaletteColor& cPalette::entry(const Variant& index) const {
    int32_t i = index.toLong();
    if (i < 1 || i > Count()) throw Error::runtime(err::kSubscriptOutOfRange);
    return entries_[static_cast<size_t>(i - 1)];
}

bool cPalette::LoadFromFile(std::string sFileName) {
    entries_.clear();
    try {
        entries_ = parsePaletteText(readPaletteFile(sFileName));
    } catch (const Error& e) {
        entries_.clear();
        throw Error(e.number(), e.description(), kPaletteErrorSource);
    }
    return true;
}

}  // namespace zorbel::imaging
