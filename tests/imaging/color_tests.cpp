#include <gtest/gtest.h>

#include <array>

#include "frame/error.hpp"
#include "imaging/color_math.hpp"
#include "imaging/gradient.hpp"
#include "platform/gdi/bitmaps.hpp"
#include "platform/gdi/blit.hpp"
#include "platform/gdi/contexts.hpp"
#include "platform/registry/registry.hpp"
#include "tools/tools_c.hpp"

namespace zorbel::imaging {
namespace {

TEST(ColorMathTest, RgbToHlsExamples) {
    struct Case {
        int32_t r, g, b;
        float h, s, l;
    };
    const Case cases[] = {{255, 0, 0, 0, 1, 0.5f},  {0, 255, 0, 2, 1, 0.5f},   {0, 0, 255, 4, 1, 0.5f},
                          {255, 0, 255, -1, 1, 0.5f}, {128, 128, 128, 0, 0, static_cast<float>(128 / 255.0)}};
    for (const Case& c : cases) {
        float h = 9, s = 9, l = 9;
        rgbToHls(c.r, c.g, c.b, h, s, l);
        EXPECT_EQ(h, c.h) << c.r << "," << c.g << "," << c.b;
        EXPECT_EQ(s, c.s);
        EXPECT_EQ(l, c.l);
    }
}

TEST(ColorMathTest, HlsToRgbExamples) {
    struct Case {
        float h, s, l;
        int32_t r, g, b;
    };
    const Case cases[] = {{0, 1, 0.5f, 255, 0, 0}, {5, 1, 0.5f, 255, 0, 255}, {1, 0, 0.25f, 64, 64, 64}};
    for (const Case& c : cases) {
        int32_t r = -1, g = -1, b = -1;
        hlsToRgb(c.h, c.s, c.l, r, g, b);
        EXPECT_EQ(r, c.r);
        EXPECT_EQ(g, c.g);
        EXPECT_EQ(b, c.b);
    }
}

TEST(ColorMathTest, RoundTripsReturnTheSameTriple) {
    for (int32_t r = 0; r < 256; r += 3)
        for (int32_t g = 0; g < 256; g += 5)
            for (int32_t b = 0; b < 256; b += 7) {
                float h, s, l;
                int32_t r2, g2, b2;
                rgbToHls(r, g, b, h, s, l);
                hlsToRgb(h, s, l, r2, g2, b2);
                ASSERT_EQ((std::array{r2, g2, b2}), (std::array{r, g, b}));
            }
}

TEST(ColorMathTest, HugeValuesOverflow) {
    int32_t r, g, b;
    try {
        hlsToRgb(0, 0, 1e10f, r, g, b);
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), err::kOverflow);
    }
}

TEST(ColorMathTest, ToolsCMembersWriteByReference) {
    Ref<tools::ToolsC> tools = makeRef<tools::ToolsC>();
    float h = 0, s = 0, l = 0;
    int32_t R = 255, g = 0, b = 255;
    tools->RGBToHLS(R, g, b, h, s, l);
    EXPECT_EQ(h, -1.0f);
    int32_t r2 = 0, g2 = 0, b2 = 0;
    tools->HLSToRGB(h, s, l, r2, g2, b2);
    EXPECT_EQ((std::array{r2, g2, b2}), (std::array{255, 0, 255}));
}

TEST(ColorMathTest, ToolsCSlots) {
    Ref<tools::ToolsC> tools = makeRef<tools::ToolsC>();
    struct Case {
        const char* name;
        int32_t id;
    };
    for (Case c : {Case{"HLSToRGB", 0x60030003}, Case{"RGBToHLS", 0x60030004}, Case{"DrawGradient", 0x6003000A},
                   Case{"GetColorFromSysColorID", 0x6003000B}, Case{"TestToolsC", 0x6003000C}}) {
        int32_t id = 0;
        ASSERT_EQ(tools->GetIDOfName(c.name, &id), com::kOk) << c.name;
        EXPECT_EQ(id, c.id) << c.name;
    }
}

// A 24-bit memory context of the given size, white.
struct Surface {
    gdi::HDC dc = gdi::createCompatibleDC(0);
    gdi::HBITMAP bitmap;
    Surface(int32_t w, int32_t h) : bitmap(gdi::createBitmap(w, h, 24)) {
        gdi::selectObject(dc, bitmap);
        gdi::patBlt(dc, 0, 0, w, h, gdi::rop::kWhiteness);
    }
    ~Surface() {
        gdi::selectObject(dc, gdi::stockBitmap());
        gdi::deleteObject(bitmap);
        gdi::deleteDC(dc);
    }
};

TEST(GradientTest, LeftToRightStrips) {
    Surface s(120, 30);
    // 1500 x 300 twips: 96 strips, 3 wide, 18 high, starting at x = 0 .. 95.
    drawGradient(static_cast<int32_t>(s.dc), 1500, 300, gdi::rgb(0, 0, 0), gdi::rgb(96, 192, 0), 0);
    EXPECT_EQ(gdi::getPixel(s.dc, 0, 0), gdi::rgb(0, 0, 0));
    EXPECT_EQ(gdi::getPixel(s.dc, 0, 17), gdi::rgb(0, 0, 0));
    EXPECT_EQ(gdi::getPixel(s.dc, 0, 18), gdi::rgb(255, 255, 255));
    // Column x ends with strip x's colour: step 1 red and 2 green per strip.
    EXPECT_EQ(gdi::getPixel(s.dc, 50, 5), gdi::rgb(50, 100, 0));
    EXPECT_EQ(gdi::getPixel(s.dc, 97, 5), gdi::rgb(95, 190, 0));  // last strip covers 95..97
    EXPECT_EQ(gdi::getPixel(s.dc, 98, 5), gdi::rgb(255, 255, 255));
}

TEST(GradientTest, WidthOf60TwipsDrawsNothingAndRaisesNothing) {
    Surface s(10, 40);
    drawGradient(static_cast<int32_t>(s.dc), 60, 300, gdi::rgb(10, 20, 30), gdi::rgb(200, 200, 200), 0);
    // The step's division by zero is skipped, and n / 15 - 5 = -1 leaves no strip to draw.
    EXPECT_EQ(gdi::getPixel(s.dc, 0, 0), gdi::rgb(255, 255, 255));
}

TEST(GradientTest, TopToBottomAndUnknownStyle) {
    Surface s(30, 120);
    drawGradient(static_cast<int32_t>(s.dc), 300, 1500, gdi::rgb(0, 0, 0), gdi::rgb(0, 0, 96), 1);
    EXPECT_EQ(gdi::getPixel(s.dc, 17, 40), gdi::rgb(0, 0, 40));
    EXPECT_EQ(gdi::getPixel(s.dc, 18, 40), gdi::rgb(255, 255, 255));
    Surface t(30, 30);
    drawGradient(static_cast<int32_t>(t.dc), 300, 300, 0, 0, 2);
    EXPECT_EQ(gdi::getPixel(t.dc, 1, 1), gdi::rgb(255, 255, 255));
    drawGradient(0, 1500, 300, 0, 0, 0);  // no context: nothing, no error
}

TEST(SysColorIdTest, ReadsRegistryTriples) {
    auto put = [](const std::string& name, const std::string& text) {
        registry::writeValue(registry::Hive::CurrentUser, "Control Panel\\Colors", name,
                             registry::Value::ofString(text));
    };
    put("ButtonFace", "212 208 200");
    EXPECT_EQ(colorFromSysColorId("ButtonFace"), 0x00C8D0D4);
    EXPECT_EQ(colorFromSysColorId("Missing"), 0);
    struct Bad {
        const char* text;
        int32_t error;
    };
    for (Bad bad : {Bad{"abc 0 0", err::kTypeMismatch}, Bad{"1 2", err::kTypeMismatch},
                    Bad{"70000 0 0", err::kOverflow}}) {
        put("Bad", bad.text);
        try {
            colorFromSysColorId("Bad");
            ADD_FAILURE() << bad.text;
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), bad.error) << bad.text;
        }
    }
}

}  // namespace
}  // namespace zorbel::imaging
