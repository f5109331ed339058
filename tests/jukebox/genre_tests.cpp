#include <gtest/gtest.h>

#include <cstdlib>

#include "frame/zorbel_library.hpp"

namespace zorbel {
namespace {

class Genres : public ::testing::Test {
protected:
    void SetUp() override {
        unsetenv("LC_ALL");
        unsetenv("LC_MESSAGES");
        setenv("LANG", "en_US.UTF-8", 1);
    }
    Ref<Object> tools = zorbelLibrary().globalInstance(*zorbelLibrary().findByName("ToolsC"));
    Variant name(int index) { return tools->invoke("GetID3GenreName", com::kMethod, {Variant(index)}); }
};

TEST_F(Genres, NamesByNumberInTheUserLanguage) {
    EXPECT_EQ(name(0), Variant("Blues"));
    EXPECT_EQ(name(147), Variant("Synth Pop"));
    for (int outside : {148, -1, 255}) EXPECT_EQ(name(outside), Variant("")) << outside;
    EXPECT_EQ(name(12), Variant("Other"));
    setenv("LANG", "de_DE.UTF-8", 1);
    EXPECT_EQ(name(12), Variant("Andere"));
    EXPECT_EQ(name(98), Variant("Leichter Hörgenuss"));
    EXPECT_EQ(name(0), Variant("Blues"));
}

TEST_F(Genres, ListIsANewCollectionEachCall) {
    ObjectRef first = tools->invoke("GetID3GenreList", com::kMethod).toObject();
    ObjectRef second = tools->invoke("GetID3GenreList", com::kMethod).toObject();
    EXPECT_NE(first, second);
    Args none;
    EXPECT_EQ(invokeDispatch(first.get(), "Count", com::kGet, none), Variant::longValue(148));
    Args thirteen = {Variant(13)};
    EXPECT_EQ(invokeDispatch(first.get(), com::kDispidValue, com::kGet, thirteen), Variant("Other"));
}

}  // namespace
}  // namespace zorbel
