// The voice collections as a host drives them: created by program identifier, used through
// the dispatch entry.

#include <gtest/gtest.h>

#include "tests/support/errors.hpp"

#include "frame/enumerator.hpp"
#include "frame/zorbel_library.hpp"
#include "platform/registry/registry.hpp"

namespace zorbel {
namespace {

Ref<Object> create(const char* progId) { return zorbelLibrary().create(*zorbelLibrary().findByProgId(progId)); }

Variant call(com::IDispatch* target, std::string_view member, uint16_t kind, Args args = {}) {
    return invokeDispatch(target, member, kind, args);
}

using zorbel::testing::errorOf;

struct Names {
    const char* collection;
    const char* kill;
    const char* create;
    const char* child;
};

class VoiceCollections : public ::testing::TestWithParam<Names> {};

TEST_P(VoiceCollections, AddRemoveItemAndEnumerate) {
    Ref<Object> c = create(GetParam().collection);
    EXPECT_EQ(call(c.get(), "Count", com::kGet), Variant::longValue(0));
    EXPECT_TRUE(enumerate(call(c.get(), "NewEnum", com::kGet)).empty());
    ObjectRef first = call(c.get(), "Add", com::kMethod).toObject();
    ObjectRef second = call(c.get(), "Add", com::kMethod).toObject();
    EXPECT_EQ(first->GetTypeInfo()->name, GetParam().child);
    call(c.get(), "Remove", com::kMethod, {Variant(1)});
    EXPECT_EQ(call(c.get(), "Count", com::kGet), Variant::longValue(1));
    Args byDefault = {Variant(1)};
    EXPECT_EQ(invokeDispatch(c.get(), com::kDispidValue, com::kGet, byDefault).toObject(), second);
    // The placeholders perform nothing.
    call(c.get(), GetParam().kill, com::kMethod);
    call(c.get(), GetParam().create, com::kMethod);
    EXPECT_EQ(call(c.get(), "Count", com::kGet), Variant::longValue(1));
}

TEST_P(VoiceCollections, BadPositionsAndKeysRaiseTheCollectionError) {
    Ref<Object> c = create(GetParam().collection);
    call(c.get(), "Add", com::kMethod);
    EXPECT_EQ(errorOf([&] { call(c.get(), "Item", com::kGet, {Variant(0)}); }), err::kSubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { call(c.get(), "Item", com::kGet, {Variant(2)}); }), err::kSubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { call(c.get(), "Remove", com::kMethod, {Variant(-1)}); }), err::kSubscriptOutOfRange);
    // Add gives no keys, so a text key finds nothing.
    EXPECT_EQ(errorOf([&] { call(c.get(), "Item", com::kGet, {Variant("x")}); }), err::kInvalidCall);
    EXPECT_EQ(call(c.get(), "Count", com::kGet), Variant::longValue(1));
}

INSTANTIATE_TEST_SUITE_P(All, VoiceCollections,
                         ::testing::Values(Names{"ZorbelKit.VoiceUsers", "KillUser", "CreateUser", "VoiceUser"},
                                           Names{"ZorbelKit.VoiceSets", "KillSet", "CreateSet", "VoiceSet"},
                                           Names{"ZorbelKit.Voices", "KillVoice", "CreateVoice", "Voice"}));

TEST(VoiceUsers, StartsEmptyWhateverTheRegistrySays) {
    registry::writeValue(registry::Hive::LocalMachine, "SOFTWARE\\Quendra\\Shared\\VoiceSets", "Users",
                         registry::Value::ofString("7"));
    Ref<Object> users = create("ZorbelKit.VoiceUsers");
    EXPECT_EQ(call(users.get(), "Count", com::kGet), Variant::longValue(0));
}

TEST(VoiceTree, ChildCollectionsAreMadeOnceOnFirstRead) {
    Ref<Object> users = create("ZorbelKit.VoiceUsers");
    ObjectRef user = call(users.get(), "Add", com::kMethod).toObject();
    ObjectRef sets = call(user.get(), "VoiceSets", com::kGet).toObject();
    EXPECT_EQ(call(user.get(), "VoiceSets", com::kGet).toObject(), sets);
    EXPECT_EQ(call(sets.get(), "Count", com::kGet), Variant::longValue(0));

    ObjectRef set = call(sets.get(), "Add", com::kMethod).toObject();
    ObjectRef voices = call(set.get(), "Voices", com::kGet).toObject();
    EXPECT_EQ(call(set.get(), "Voices", com::kGet).toObject(), voices);
    Ref<Object> replacement = create("ZorbelKit.Voices");
    call(set.get(), "Voices", com::kSet, {toVariant(replacement)});
    EXPECT_EQ(call(set.get(), "Voices", com::kGet).toObject().get(), replacement->asDispatch());
}

TEST(VoiceTree, TextsStoreUnchanged) {
    Ref<Object> voices = create("ZorbelKit.Voices");
    ObjectRef voice = call(voices.get(), "Add", com::kMethod).toObject();
    struct Field {
        ObjectRef target;
        const char* name;
    };
    Ref<Object> users = create("ZorbelKit.VoiceUsers");
    ObjectRef user = call(users.get(), "Add", com::kMethod).toObject();
    ObjectRef set = call(call(user.get(), "VoiceSets", com::kGet).toObject().get(), "Add", com::kMethod).toObject();
    for (const Field& f : {Field{voice, "key"}, Field{voice, "Filename"}, Field{voice, "Description"},
                           Field{voice, "Caption"}, Field{user, "Skip"}, Field{user, "SetLocation"},
                           Field{user, "UserName"}, Field{set, "key"}, Field{set, "Application"}}) {
        EXPECT_EQ(call(f.target.get(), f.name, com::kGet), Variant("")) << f.name;
        call(f.target.get(), f.name, com::kLet, {Variant(" Grüße \"x\" ")});
        EXPECT_EQ(call(f.target.get(), f.name, com::kGet), Variant(" Grüße \"x\" ")) << f.name;
    }
    for (const char* m : {"Record", "Play", "RecordSave", "RecordPlay"}) {
        EXPECT_TRUE(call(voice.get(), m, com::kMethod).isEmpty());
    }
    EXPECT_EQ(call(voice.get(), "Filename", com::kGet), Variant(" Grüße \"x\" "));
    EXPECT_EQ(voice->GetTypeInfo()->find("Play")->help, "Spielt die Stimme ab");
}

}  // namespace
}  // namespace zorbel
