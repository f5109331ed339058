#include "tools/tools_c.hpp"

#include "frame/class_builder.hpp"
#include "frame/zorbel_classes.hpp"

namespace zorbel::tools {

// Slot positions of the members, in the order of the class's interface.
namespace slot {
constexpr int32_t kTestToolsC = 12;
}

const ClassInfo& ToolsC::typeInfo() {
    static const ClassInfo info = ClassBuilder<ToolsC>("ToolsC", zorbelIdentity("ToolsC"))
                                      .atSlot(slot::kTestToolsC)
                                      .method("TestToolsC", &ToolsC::TestToolsC)
                                      .build();
    return info;
}

}  // namespace zorbel::tools
