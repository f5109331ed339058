#include "platform/system/registry_values.hpp"

#include <gtest/gtest.h>

#include "frame/error.hpp"
#include "platform/registry/registry.hpp"

namespace zorbel::system {
namespace {

const std::string kKey = "Software\\QUENDRA\\Brenwick\\Tools\\Sonvale";

TEST(RegistryValues, ReadGivesTheDefaultWhenMissing) {
    EXPECT_EQ(readRegistryValue(kHiveCurrentUser, kKey, "LastPlaylist", "none"), "none");
    createRegistryKey(kHiveCurrentUser, kKey);
    EXPECT_EQ(readRegistryValue(kHiveCurrentUser, kKey, "LastPlaylist", "none"), "none");
}

TEST(RegistryValues, WriteStoresTextAndMakesTheKey) {
    writeRegistryValue(kHiveCurrentUser, kKey + "\\Deep", "LastPlaylist", "/my lists/a;b.m3u");
    EXPECT_EQ(readRegistryValue(kHiveCurrentUser, kKey + "\\deep", "lastplaylist", ""), "/my lists/a;b.m3u");
    auto stored = registry::readValue(registry::Hive::CurrentUser, kKey + "\\Deep", "LastPlaylist");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->type, registry::ValueType::String);
    writeRegistryValue(kHiveLocalMachine, kKey, "Count", "42", kRegistryNumber);
    EXPECT_EQ(registry::readValue(registry::Hive::LocalMachine, kKey, "Count")->dword, 42u);
}

TEST(RegistryValues, ReadsAnyTypeAsText) {
    registry::writeValue(registry::Hive::LocalMachine, kKey, "Users", registry::Value::ofDWord(3));
    EXPECT_EQ(readRegistryValue(kHiveLocalMachine, kKey, "Users", "0"), "3");
    registry::writeValue(registry::Hive::ClassesRoot, "Applications\\Player\\shell\\open\\command", "",
                         registry::Value::ofString("\"/opt/p/player\" \"%1\""));
    EXPECT_EQ(readRegistryValue(kHiveClassesRoot, "Applications\\Player\\shell\\open\\command", "", ""),
              "\"/opt/p/player\" \"%1\"");
}

TEST(RegistryValues, KeysAreEnsuredCreatedAndDeleted) {
    writeRegistryValue(kHiveCurrentUser, kKey, "Played", "1");
    ensureRegistryKey(kHiveCurrentUser, kKey);
    EXPECT_EQ(readRegistryValue(kHiveCurrentUser, kKey, "Played", ""), "1");
    ensureRegistryKey(kHiveCurrentUser, kKey + "\\New");
    EXPECT_TRUE(registry::keyExists(registry::Hive::CurrentUser, kKey + "\\New"));
    deleteRegistryKey(kHiveCurrentUser, kKey);
    EXPECT_FALSE(registry::keyExists(registry::Hive::CurrentUser, kKey));
    EXPECT_FALSE(registry::keyExists(registry::Hive::CurrentUser, kKey + "\\New"));
    createRegistryKey(kHiveCurrentUser, kKey);
    EXPECT_TRUE(registry::valueNames(registry::Hive::CurrentUser, kKey).empty());
    EXPECT_NO_THROW(deleteRegistryKey(kHiveCurrentUser, kKey + "\\Missing"));
}

TEST(RegistryValues, BadHiveOrTypeRaisesInvalidCall) {
    auto expectInvalid = [](auto call) {
        try {
            call();
            ADD_FAILURE() << "accepted";
        } catch (const Error& error) {
            EXPECT_EQ(error.number(), err::kInvalidCall);
        }
    };
    expectInvalid([] { readRegistryValue(0x80000003u, kKey, "x", ""); });
    expectInvalid([] { writeRegistryValue(0, kKey, "x", "v"); });
    expectInvalid([] { writeRegistryValue(kHiveCurrentUser, kKey, "x", "v", 3); });
    expectInvalid([] { ensureRegistryKey(1, kKey); });
}

}  // namespace
}  // namespace zorbel::system
