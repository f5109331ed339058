#pragma once
// ToolsC: the library's box of general helpers. It keeps no state; hosts may call its members
// without creating an object (one shared instance per thread).

#include "frame/collection_object.hpp"
#include "frame/object.hpp"

namespace zorbel::tools {

class ToolsC final : public Dispatchable<ToolsC> {
public:
    static const ClassInfo& typeInfo();

    bool TestToolsC() { return true; }

    // Colour maths and gradients.
    void HLSToRGB(float& h, float& s, float& l, int32_t& R, int32_t& g, int32_t& b);
    void RGBToHLS(int32_t& R, int32_t& g, int32_t& b, float& h, float& s, float& l);
    void DrawGradient(int32_t& lDestHDC, int32_t& lDestWidth, int32_t& lDestHeight, int32_t& lStartColor,
                      int32_t& lEndColor, int16_t& iStyle);
    int32_t GetColorFromSysColorID(std::string SysColorID);

    std::string GetID3GenreName(int16_t index);
    Ref<Collection> GetID3GenreList();
};

}  // namespace zorbel::tools
