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

    std::string GetID3GenreName(int16_t index);
    Ref<Collection> GetID3GenreList();
};

}  // namespace zorbel::tools
