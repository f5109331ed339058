#include "tools/tools_c.hpp"

#include "frame/class_builder.hpp"
#include "frame/zorbel_classes.hpp"
#include "imaging/color_math.hpp"
#include "imaging/gradient.hpp"
#include "jukebox/genre_table.hpp"

namespace zorbel::tools {

// Slot positions of the members, in the order of the class's interface.
namespace slot {
constexpr int32_t kHLSToRGB = 3;
constexpr int32_t kRGBToHLS = 4;
constexpr int32_t kDrawGradient = 10;
constexpr int32_t kGetColorFromSysColorID = 11;
constexpr int32_t kTestToolsC = 12;
constexpr int32_t kGetID3GenreName = 24;
constexpr int32_t kGetID3GenreList = 25;
}

const ClassInfo& ToolsC::typeInfo() {
    static const ClassInfo info = ClassBuilder<ToolsC>("ToolsC", zorbelIdentity("ToolsC"))
                                      .atSlot(slot::kHLSToRGB)
                                      .method("HLSToRGB", &ToolsC::HLSToRGB, {"h", "s", "l", "R", "g", "b"})
                                      .atSlot(slot::kRGBToHLS)
                                      .method("RGBToHLS", &ToolsC::RGBToHLS, {"R", "g", "b", "h", "s", "l"})
                                      .atSlot(slot::kDrawGradient)
                                      .method("DrawGradient", &ToolsC::DrawGradient,
                                              {"lDestHDC", "lDestWidth", "lDestHeight", "lStartColor",
                                               "lEndColor", "iStyle"})
                                      .atSlot(slot::kGetColorFromSysColorID)
                                      .method("GetColorFromSysColorID", &ToolsC::GetColorFromSysColorID,
                                              {"SysColorID"})
                                      .atSlot(slot::kTestToolsC)
                                      .method("TestToolsC", &ToolsC::TestToolsC)
                                      .atSlot(slot::kGetID3GenreName)
                                      .method("GetID3GenreName", &ToolsC::GetID3GenreName, {"Index"})
                                      .atSlot(slot::kGetID3GenreList)
                                      .method("GetID3GenreList", &ToolsC::GetID3GenreList)
                                      .build();
    return info;
}

void ToolsC::HLSToRGB(float& h, float& s, float& l, int32_t& R, int32_t& g, int32_t& b) {
    imaging::hlsToRgb(h, s, l, R, g, b);
}

void ToolsC::RGBToHLS(int32_t& R, int32_t& g, int32_t& b, float& h, float& s, float& l) {
    imaging::rgbToHls(R, g, b, h, s, l);
}

void ToolsC::DrawGradient(int32_t& lDestHDC, int32_t& lDestWidth, int32_t& lDestHeight, int32_t& lStartColor,
                          int32_t& lEndColor, int16_t& iStyle) {
    imaging::drawGradient(lDestHDC, lDestWidth, lDestHeight, lStartColor, lEndColor, iStyle);
}

int32_t ToolsC::GetColorFromSysColorID(std::string SysColorID) { return imaging::colorFromSysColorId(SysColorID); }

std::string ToolsC::GetID3GenreName(int16_t index) { return jukebox::genreName(index); }

Ref<Collection> ToolsC::GetID3GenreList() {
    Ref<Collection> list = makeCollection();
    for (std::string& name : jukebox::genreNames()) list->items().add(Variant(std::move(name)));
    return list;
}

}  // namespace zorbel::tools
