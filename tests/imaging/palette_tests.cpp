#include <gtest/gtest.h>

#include <string>

#include "frame/error.hpp"
#include "imaging/palette_file.hpp"
#include "tests/support/temp_root.hpp"

namespace zorbel::imaging {
namespace {

using zorbel::testing::TempFolder;
using zorbel::testing::writeFile;

TEST(PaletteParseTest, LinesAndFields) {
    struct Case {
        const char* name;
        std::string text;
        std::vector<PaletteColor> expected;
    };
    const Case cases[] = {
        {"three lines, no final line end", "255 0 0\r\n0 255 0\r\n0 0 255", {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}}},
        {"header lines skipped", "JASC-PAL\r\n0100\r\n2\r\n1 2 3\r\n4 5 6\r\n", {{1, 2, 3}, {4, 5, 6}}},
        {"double space gives four fields", "1  2 3\r\n7 8 9", {{7, 8, 9}}},
        {"four fields skipped", "1 2 3 4\r\n", {}},
        {"bare line feeds make one line", "1 2 3\n4 5 6\n", {}},
        {"tabs are no separators", "1\t2\t3", {}},
        {"fractions round to even", "0.5 1.5 2.5", {{0, 2, 2}}},
        {"empty", "", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(parsePaletteText(c.text), c.expected) << c.name;
}

TEST(PaletteParseTest, BadFieldsRaiseConversionErrors) {
    struct Case {
        const char* text;
        int32_t error;
    };
    for (Case c : {Case{"256 0 0", err::kOverflow}, Case{"-1 0 0", err::kOverflow}, Case{"red 0 0", err::kTypeMismatch},
                   Case{"1  2", err::kTypeMismatch}, Case{"1\t2 3 4", err::kTypeMismatch}}) {
        try {
            parsePaletteText(c.text);
            ADD_FAILURE() << c.text;
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), c.error) << c.text;
        }
    }
}

TEST(PaletteFileTest, LoadAndFailures) {
    TempFolder folder;
    writeFile(folder / "rgb.pal", "255 0 0\r\n0 255 0\r\n0 0 255");
    writeFile(folder / "bad.pal", "1 2 3\r\n256 0 0\r\n");
    Ref<cPalette> p = makeRef<cPalette>();
    EXPECT_TRUE(p->LoadFromFile((folder / "rgb.pal").string()));
    EXPECT_EQ(p->Count(), 3);
    EXPECT_EQ(p->Red(Variant(1)), 255);
    EXPECT_EQ(p->Blue(Variant(3)), 255);
    EXPECT_EQ(p->Green(Variant("2")), 255);
    struct Case {
        std::string file;
        int32_t error;
    };
    for (const Case& c : {Case{"bad.pal", err::kOverflow}, Case{"missing.pal", err::kFileNotFound}}) {
        try {
            p->LoadFromFile((folder / c.file).string());
            ADD_FAILURE() << c.file;
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), c.error);
            EXPECT_EQ(e.source(), "Zorbel.cPalette");
        }
        EXPECT_EQ(p->Count(), 0);
    }
    for (int index : {0, 1, 4})
        try {
            p->Red(Variant(index));
            ADD_FAILURE();
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), err::kSubscriptOutOfRange);
        }
}

TEST(PaletteFileTest, ClosestIndex) {
    TempFolder folder;
    Ref<cPalette> p = makeRef<cPalette>();
    EXPECT_EQ(p->ClosestIndex(1, 2, 3), 0);
    writeFile(folder / "white.pal", "255 255 255");
    p->LoadFromFile((folder / "white.pal").string());
    EXPECT_EQ(p->ClosestIndex(0, 0, 0), 0);  // 765 is not below 765
    EXPECT_EQ(p->ClosestIndex(255, 255, 255), 1);
    writeFile(folder / "tie.pal", "10 0 0\r\n0 10 0\r\n5 5 1\r\n5 5 0");
    p->LoadFromFile((folder / "tie.pal").string());
    EXPECT_EQ(p->ClosestIndex(5, 5, 0), 4);  // exact match after a close entry
    EXPECT_EQ(p->ClosestIndex(5, 5, 2), 3);
    writeFile(folder / "tie2.pal", "10 0 0\r\n0 10 0");
    p->LoadFromFile((folder / "tie2.pal").string());
    EXPECT_EQ(p->ClosestIndex(5, 5, 0), 1);  // ties keep the lowest entry
}

}  // namespace
}  // namespace zorbel::imaging
