#include <gtest/gtest.h>

#include <set>
#include <thread>

#include "frame/server.hpp"
#include "frame/zorbel_classes.hpp"
#include "frame/zorbel_library.hpp"

namespace zorbel {
namespace {

const LibraryInfo& lib() { return zorbelLibrary(); }

TEST(ClassTable, HoldsEveryClassWithDistinctIdentifiers) {
    const auto& classes = *lib().classes;
    EXPECT_EQ(classes.size(), 33u);
    std::set<std::string> ids;
    size_t total = 0;
    for (const ClassIdentity& c : classes) {
        for (const com::Guid* g : {&c.clsid, &c.iid}) ids.insert(g->toString()), ++total;
        for (const com::Guid& g : c.earlierIids) ids.insert(g.toString()), ++total;
    }
    EXPECT_EQ(ids.size(), total);
    const ClassIdentity* media = lib().findByProgId("zorbelkit.mediafile");
    ASSERT_NE(media, nullptr);
    EXPECT_EQ(media->clsid.toString(), "{3D4D006A-3C6B-11D3-8868-0080C84C940C}");
    EXPECT_EQ(media->eventIid->toString(), "{BFA8DFA8-DF40-4E9F-8088-E62F168974BB}");
    EXPECT_EQ(lib().findByProgId("Other.MediaFile"), nullptr);
    EXPECT_FALSE(lib().findByName("Voice")->creatable);
    EXPECT_TRUE(lib().findByName("ToolsC")->global);
}

TEST(ClassTable, CreatesByProgramAndClassIdentifier) {
    const ClassIdentity* users = lib().findByProgId("ZorbelKit.VoiceUsers");
    ASSERT_NE(users, nullptr);
    Ref<Object> a = lib().create(*users);
    Ref<Object> b = lib().create(*lib().findByClsid(users->clsid));
    EXPECT_EQ(&a->classInfo(), &b->classInfo());
    EXPECT_EQ(a->classInfo().name, "VoiceUsers");
}

TEST(ClassTable, EveryInterfaceIdentifierGivesTheSameObject) {
    Ref<Object> tools = lib().create(*lib().findByName("ToolsC"));
    const ClassIdentity& identity = *tools->classInfo().identity;
    std::vector<com::Guid> all = identity.earlierIids;
    all.push_back(identity.iid);
    all.push_back(com::IID_IDispatch);
    for (const com::Guid& iid : all) {
        void* raw = nullptr;
        ASSERT_EQ(tools->QueryInterface(iid, &raw), com::kOk) << iid.toString();
        EXPECT_EQ(raw, static_cast<com::IDispatch*>(tools.get()));
        tools->Release();
    }
    void* raw = nullptr;
    EXPECT_EQ(tools->QueryInterface(lib().findByName("Playlist")->iid, &raw), com::kNoInterface);
}

TEST(ClassTable, ClassesThatCannotBeCreatedAreRefused) {
    for (const char* name : {"Voice", "VoiceSet", "VoiceUser"}) {
        const ClassIdentity* identity = lib().findByName(name);
        EXPECT_THROW(lib().create(*identity), Error) << name;
        void* raw = reinterpret_cast<void*>(1);
        EXPECT_EQ(server::getClassObject(lib(), &identity->clsid, &com::IID_IClassFactory, &raw), com::kClassNotAvailable);
        EXPECT_EQ(raw, nullptr);
    }
    com::Guid unknown = com::Guid::of("{00000000-1111-2222-3333-444444444444}");
    void* raw = nullptr;
    EXPECT_EQ(server::getClassObject(lib(), &unknown, &com::IID_IClassFactory, &raw), com::kClassNotAvailable);
}

TEST(ClassTable, GlobalToolsIsOneInstancePerThread) {
    const ClassIdentity& tools = *lib().findByName("ToolsC");
    Ref<Object> first = lib().globalInstance(tools);
    EXPECT_EQ(first, lib().globalInstance(tools));
    EXPECT_EQ(first->invoke("TestToolsC", com::kMethod), Variant(true));
    Object* other = nullptr;
    std::thread([&] { other = lib().globalInstance(tools).get(); }).join();
    EXPECT_NE(other, first.get());
}

}  // namespace
}  // namespace zorbel
