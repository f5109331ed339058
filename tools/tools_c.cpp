#include "tools/tools_c.hpp"

#include "frame/class_builder.hpp"
#include "frame/zorbel_classes.hpp"
#include "jukebox/genre_table.hpp"

namespace zorbel::tools {

// Slot positions of the members, in the order of the class's interface.
namespace slot {
constexpr int32_t kTestToolsC = 12;
constexpr int32_t kGetID3GenreName = 24;
constexpr int32_t kGetID3GenreList = 25;
}

const ClassInfo& ToolsC::typeInfo() {
    static const ClassInfo info = ClassBuilder<ToolsC>("ToolsC", zorbelIdentity("ToolsC"))
                                      .atSlot(slot::kTestToolsC)
                                      .method("TestToolsC", &ToolsC::TestToolsC)
                                      .atSlot(slot::kGetID3GenreName)
                                      .method("GetID3GenreName", &ToolsC::GetID3GenreName, {"Index"})
                                      .atSlot(slot::kGetID3GenreList)
                                      .method("GetID3GenreList", &ToolsC::GetID3GenreList)
                                      .build();
    return info;
}

std::string ToolsC::GetID3GenreName(int16_t index) { return jukebox::genreName(index); }

Ref<Collection> ToolsC::GetID3GenreList() {
    Ref<Collection> list = makeCollection();
    for (std::string& name : jukebox::genreNames()) list->items().add(Variant(std::move(name)));
    return list;
}

}  // namespace zorbel::tools
