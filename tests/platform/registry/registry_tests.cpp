#include "frame/text.hpp"
#include "platform/registry/registry.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/registry/hive_file.hpp"
#include "tests/platform/registry/registry_fixture.hpp"

namespace zorbel::testing {
namespace {

using registry::Hive;
using registry::Value;
namespace detail = registry::detail;
namespace fs = std::filesystem;

const Hive kCU = Hive::CurrentUser;

// Texts that trip up escaping: quotes, backslashes, control bytes, NUL, invalid UTF-8.
const std::vector<std::string> kAwkwardTexts = {
    "",
    "plain",
    "quote \" and backslash \\ and a trailing backslash \\",
    "line\nbreak\r\ncarriage\ttab",
    std::string("nul\0inside", 10),
    std::string("\x01\x1f\x7f", 3),
    "\\x41 \\n \\0 look like escapes",
    "Gr\xc3\xbc\xc3\x9f\x65 \xe2\x82\xac \xf0\x9d\x84\x9e",  // Grüße € 𝄞
    "\xff\xfe invalid \xc0\x80 overlong \xed\xa0\x80 surrogate \xe2\x82 cut",
    "# not a comment",
    "end",
};

bool isCleanText(const std::string& text) {
    size_t pos = 0;
    while (pos < text.size()) {
        const auto c = static_cast<uint8_t>(text[pos]);
        if (c < 0x20 && c != '\n') return false;
        char32_t cp;
        size_t length;
        if (!zorbel::text::decodeAt(text, pos, cp, length)) return false;
        pos += length;
    }
    return true;
}

TEST_F(RegistryTest, TypedValuesRoundTripThroughTheFile) {
    std::vector<std::pair<std::string, Value>> cases = {
        {"Expand", Value::ofExpandString("%HOME%\\bin;%PATH%")},
        {"EmptyList", Value::ofMultiString({})},
        {"OneEmptyItem", Value::ofMultiString({""})},
        {"AwkwardList", Value::ofMultiString(kAwkwardTexts)},
        {"Zero", Value::ofDWord(0)},
        {"Max", Value::ofDWord(0xFFFFFFFFu)},
        {"NoBytes", Value::ofBinary({})},
    };
    std::vector<uint8_t> allBytes;
    for (int b = 0; b < 256; ++b) allBytes.push_back(static_cast<uint8_t>(b));
    cases.emplace_back("AllBytes", Value::ofBinary(allBytes));
    for (size_t i = 0; i < kAwkwardTexts.size(); ++i) {
        cases.emplace_back("Text" + std::to_string(i), Value::ofString(kAwkwardTexts[i]));
        // The awkward texts as value names too (the first, "", is the default value).
        cases.emplace_back(kAwkwardTexts[i], Value::ofExpandString("named " + std::to_string(i)));
    }

    for (const auto& [name, value] : cases) registry::writeValue(kCU, "Software\\Types", name, value);
    for (const auto& [name, value] : cases) {
        SCOPED_TRACE(name);
        EXPECT_EQ(registry::readValue(kCU, "Software\\Types", name), value);
    }
    const std::string file = readFile(hivePath(kCU));
    EXPECT_TRUE(isCleanText(file)) << "the hive file should be plain UTF-8 text without raw control bytes";
    EXPECT_EQ(registry::valueNames(kCU, "Software\\Types").size(), cases.size());
}

TEST_F(RegistryTest, WriteStoresOnlyTheMemberOfTheType) {
    Value mixed = Value::ofDWord(7);
    mixed.text = "ignored";
    mixed.bytes = {1, 2};
    registry::writeValue(kCU, "K", "V", mixed);
    EXPECT_EQ(registry::readValue(kCU, "K", "V"), Value::ofDWord(7));

    Value bogus;
    bogus.type = static_cast<registry::ValueType>(11);
    EXPECT_THROW(registry::writeValue(kCU, "K", "Bad", bogus), Error);
    EXPECT_FALSE(registry::readValue(kCU, "K", "Bad"));
}

TEST_F(RegistryTest, NamesIgnoreLetterCaseAndKeepTheFirstCase) {
    struct Case {
        std::string written, other;
    };
    const std::vector<Case> cases = {
        {"Colour", "COLOUR"},
        {"\xc3\x84rger", "\xc3\xa4RGER"},                                 // Ärger / äRGER
        {"\xce\xa3\xce\xbf\xcf\x86\xce\xaf\xce\xb1", "\xcf\x83\xce\x9f\xce\xa6\xce\xaf\xce\x91"},  // Σοφία / σΟΦίΑ
        {"\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82", "\xd0\xbf\xd0\xa0\xd0\x98\xd0\x92\xd0\x95\xd0\xa2"},  // Привет / пРИВЕТ
        {"\xc5\x81\xc3\xb3\x64\xc5\xba", "\xc5\x82\xc3\x93\x44\xc5\xb9"},  // Łódź / łÓDŹ
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.written);
        registry::writeValue(kCU, "Case\\" + c.written, c.written, Value::ofString("first"));
        registry::writeValue(kCU, "CASE\\" + c.other, c.other, Value::ofString("second"));
        EXPECT_EQ(registry::readValue(kCU, "case\\" + c.written, c.other), Value::ofString("second"));
        EXPECT_EQ(registry::valueNames(kCU, "Case\\" + c.other), std::vector<std::string>{c.written});
        EXPECT_TRUE(registry::keyExists(kCU, "cAsE\\" + c.other));
    }
    EXPECT_EQ(registry::subkeyNames(kCU, "").size(), 1u);
    EXPECT_EQ(registry::subkeyNames(kCU, "")[0], "Case");
    EXPECT_EQ(registry::subkeyNames(kCU, "case").size(), cases.size());

    // Names that only look alike stay apart.
    registry::writeValue(kCU, "Apart", "Strasse", Value::ofDWord(1));
    registry::writeValue(kCU, "Apart", "Stra\xc3\x9f\x65", Value::ofDWord(2));
    registry::writeValue(kCU, "Apart", "Colour ", Value::ofDWord(3));
    EXPECT_EQ(registry::valueNames(kCU, "Apart").size(), 3u);
}

TEST_F(RegistryTest, DefaultValueIsTheEmptyName) {
    registry::createKey(kCU, "Software\\Quendra");
    EXPECT_TRUE(registry::valueNames(kCU, "Software\\Quendra").empty());
    EXPECT_FALSE(registry::readValue(kCU, "Software\\Quendra", ""));

    registry::writeValue(kCU, "Software\\Quendra", "", Value::ofString("default"));
    registry::writeValue(kCU, "Software\\Quendra", "(Default)", Value::ofString("named"));
    EXPECT_EQ(registry::readValue(kCU, "software\\quendra", ""), Value::ofString("default"));
    EXPECT_EQ(registry::valueNames(kCU, "Software\\Quendra"), (std::vector<std::string>{"", "(Default)"}));

    registry::deleteValue(kCU, "Software\\Quendra", "");
    EXPECT_EQ(registry::valueNames(kCU, "Software\\Quendra"), std::vector<std::string>{"(Default)"});
    registry::deleteValue(kCU, "Software\\Quendra", "");  // already gone: fine
    registry::deleteValue(kCU, "Software\\Missing", "x");
}

TEST_F(RegistryTest, DeleteKeyRemovesTheWholeSubtree) {
    registry::writeValue(kCU, "A\\B\\C", "deep", Value::ofDWord(1));
    registry::writeValue(kCU, "A\\B", "mid", Value::ofDWord(2));
    registry::createKey(kCU, "A\\D");
    registry::createKey(kCU, "A\\Bee");

    registry::deleteKey(kCU, "a\\b");
    EXPECT_FALSE(registry::keyExists(kCU, "A\\B"));
    EXPECT_FALSE(registry::keyExists(kCU, "A\\B\\C"));
    EXPECT_FALSE(registry::readValue(kCU, "A\\B\\C", "deep"));
    EXPECT_EQ(registry::subkeyNames(kCU, "A"), (std::vector<std::string>{"Bee", "D"}));

    registry::deleteKey(kCU, "A\\B");  // missing is fine
    registry::deleteKey(kCU, "Nowhere\\At\\All");
    registry::createKey(kCU, "A\\B");  // and it can come back, empty
    EXPECT_TRUE(registry::valueNames(kCU, "A\\B").empty());
    EXPECT_TRUE(registry::subkeyNames(kCU, "A\\B").empty());

    EXPECT_THROW(registry::deleteKey(kCU, ""), Error);
    EXPECT_THROW(registry::deleteKey(kCU, "\\"), Error);
}

TEST_F(RegistryTest, ListsSubkeysSortedWithoutCaseAndValuesInWriteOrder) {
    for (const char* name : {"beta", "Alpha", "gamma", "ALPHA2", "_under"}) registry::createKey(kCU, std::string("L\\") + name);
    registry::createKey(kCU, "L\\Alpha\\Grandchild");
    EXPECT_EQ(registry::subkeyNames(kCU, "L"), (std::vector<std::string>{"_under", "Alpha", "ALPHA2", "beta", "gamma"}));

    for (const char* name : {"zulu", "Alpha", "mike"}) registry::writeValue(kCU, "L", name, Value::ofDWord(0));
    registry::writeValue(kCU, "L", "ZULU", Value::ofDWord(9));  // overwriting keeps the place
    registry::deleteValue(kCU, "L", "ALPHA");
    registry::writeValue(kCU, "L", "alpha", Value::ofDWord(1));
    EXPECT_EQ(registry::valueNames(kCU, "L"), (std::vector<std::string>{"zulu", "mike", "alpha"}));

    EXPECT_TRUE(registry::subkeyNames(kCU, "Missing").empty());
    EXPECT_TRUE(registry::valueNames(kCU, "Missing").empty());
}

TEST_F(RegistryTest, KeyPathsIgnoreOuterBackslashesAndRejectEmptyNames) {
    registry::writeValue(kCU, "\\Outer\\Inner\\", "v", Value::ofDWord(5));
    EXPECT_EQ(registry::readValue(kCU, "Outer\\Inner", "v"), Value::ofDWord(5));
    EXPECT_TRUE(registry::keyExists(kCU, "\\\\Outer\\"));
    EXPECT_TRUE(registry::keyExists(kCU, ""));

    for (const std::string bad : {"a\\\\b", "a\\\\\\b\\c"}) {
        SCOPED_TRACE(bad);
        try {
            registry::writeValue(kCU, bad, "v", Value::ofDWord(1));
            ADD_FAILURE() << "expected an error";
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), registry::kBadKeyPathError);
        }
        EXPECT_THROW(registry::keyExists(kCU, bad), Error);
    }
    std::string deep;
    for (size_t i = 0; i <= detail::kMaxKeyDepth; ++i) deep += "k\\";
    EXPECT_THROW(registry::createKey(kCU, deep), Error);
}

TEST_F(RegistryTest, HivesAreSeparateFilesNamedByRoot) {
    registry::writeValue(Hive::ClassesRoot, "K", "v", Value::ofString("cr"));
    registry::writeValue(Hive::CurrentUser, "K", "v", Value::ofString("cu"));
    registry::writeValue(Hive::LocalMachine, "K", "v", Value::ofString("lm"));
    EXPECT_EQ(registry::readValue(Hive::ClassesRoot, "K", "v"), Value::ofString("cr"));
    EXPECT_EQ(registry::readValue(Hive::CurrentUser, "K", "v"), Value::ofString("cu"));
    EXPECT_EQ(registry::readValue(Hive::LocalMachine, "K", "v"), Value::ofString("lm"));
    for (Hive h : {Hive::ClassesRoot, Hive::CurrentUser, Hive::LocalMachine}) EXPECT_TRUE(fs::exists(hivePath(h)));

    const std::vector<std::pair<std::string, std::optional<Hive>>> names = {
        {"HKCR", Hive::ClassesRoot},       {"hkey_classes_root", Hive::ClassesRoot},
        {"hkcu", Hive::CurrentUser},       {"HKEY_Current_User", Hive::CurrentUser},
        {"HkLm", Hive::LocalMachine},      {"HKEY_LOCAL_MACHINE", Hive::LocalMachine},
        {"HKU", std::nullopt},             {"HKCU\\", std::nullopt},
        {"", std::nullopt},                {"HKEY_CURRENT_USERS", std::nullopt},
    };
    for (const auto& [name, hive] : names) EXPECT_EQ(registry::hiveFromName(name), hive) << name;
    EXPECT_EQ(registry::hiveShortName(Hive::LocalMachine), "HKLM");
}

TEST_F(RegistryTest, RootFolderFollowsTheEnvironmentOnEveryCall) {
    struct Saved {
        const char* name;
        std::optional<std::string> value;
    };
    std::vector<Saved> saved;
    for (const char* name : {"XDG_CONFIG_HOME", "HOME"}) {
        const char* v = std::getenv(name);
        saved.push_back({name, v ? std::optional<std::string>(v) : std::nullopt});
    }
    struct Case {
        const char* root;
        const char* config;
        const char* home;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"/r/one", "/c", "/h", "/r/one"},
        {"", "/c", "/h", "/c/zorbel"},
        {nullptr, "/c", "/h", "/c/zorbel"},
        {nullptr, "", "/h", "/h/.config/zorbel"},
        {nullptr, nullptr, "/h", "/h/.config/zorbel"},
    };
    const auto set = [](const char* name, const char* value) {
        if (value) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    };
    for (const Case& c : cases) {
        set("ZORBEL_ROOT", c.root);
        set("XDG_CONFIG_HOME", c.config);
        set("HOME", c.home);
        EXPECT_EQ(registry::rootFolder(), fs::path(c.expected));
    }
    for (const Saved& s : saved) set(s.name, s.value ? s.value->c_str() : nullptr);
}

TEST_F(RegistryTest, RootFolderIsCreatedOnlyByTheFirstWrite) {
    const fs::path nested = temp_ / "not" / "there" / "yet";
    setenv("ZORBEL_ROOT", nested.c_str(), 1);
    EXPECT_FALSE(registry::keyExists(kCU, "K"));
    EXPECT_FALSE(registry::readValue(kCU, "K", "v"));
    EXPECT_TRUE(registry::subkeyNames(kCU, "").empty());
    EXPECT_FALSE(fs::exists(nested));

    registry::writeValue(kCU, "K", "v", Value::ofDWord(1));
    EXPECT_TRUE(fs::exists(nested / "HKCU.hive"));
    EXPECT_EQ(registry::readValue(kCU, "K", "v"), Value::ofDWord(1));
}

TEST_F(RegistryTest, WriteFailureNamesThePath) {
    writeFile(temp_ / "plainfile", "not a folder");
    const fs::path blocked = temp_ / "plainfile" / "root";
    setenv("ZORBEL_ROOT", blocked.c_str(), 1);
    try {
        registry::writeValue(kCU, "K", "v", Value::ofDWord(1));
        ADD_FAILURE() << "expected an error";
    } catch (const Error& e) {
        EXPECT_NE(e.number(), registry::kHiveDamagedError);
        EXPECT_EQ(e.source(), "Zorbel.Registry");
        EXPECT_NE(e.description().find("plainfile"), std::string::npos) << e.description();
    }
}

TEST_F(RegistryTest, DamagedHiveRaisesNamingFileAndLineAndIsNeverOverwritten) {
    struct Case {
        const char* what;
        std::string text;
        int line;
    };
    const std::vector<Case> cases = {
        {"empty file", "", 1},
        {"no header", "key \"A\"\nend\n", 1},
        {"newer version", "zorbel-hive 2\nend\n", 1},
        {"no end line", "zorbel-hive 1\nkey \"A\"\nvalue \"v\" dword 1\n", 3},
        {"text after end", "zorbel-hive 1\nend\nkey \"A\"\n", 3},
        {"unknown record", "zorbel-hive 1\nkye \"A\"\nend\n", 2},
        {"unclosed quote", "zorbel-hive 1\nvalue \"v sz \"x\nend\n", 2},
        {"unknown escape", "zorbel-hive 1\nvalue \"v\" sz \"a\\qb\"\nend\n", 2},
        {"short hex escape", "zorbel-hive 1\nvalue \"v\" sz \"a\\x4\"\nend\n", 2},
        {"dword too big", "zorbel-hive 1\nvalue \"v\" dword 4294967296\nend\n", 2},
        {"dword negative", "zorbel-hive 1\nvalue \"v\" dword -1\nend\n", 2},
        {"odd binary", "zorbel-hive 1\nvalue \"v\" binary abc\nend\n", 2},
        {"binary not hex", "zorbel-hive 1\nvalue \"v\" binary zz\nend\n", 2},
        {"unknown type", "zorbel-hive 1\nvalue \"v\" qword 1\nend\n", 2},
        {"sz without data", "zorbel-hive 1\nvalue \"v\" sz\nend\n", 2},
        {"duplicate value", "zorbel-hive 1\nkey \"A\"\nvalue \"v\" dword 1\nvalue \"V\" dword 2\nend\n", 4},
        {"key name with backslash", "zorbel-hive 1\nkey \"A\\\\B\"\nend\n", 2},
        {"empty key name", "zorbel-hive 1\nkey \"\"\nend\n", 2},
        {"unquoted key name", "zorbel-hive 1\nkey A\nend\n", 2},
        {"raw control byte", "zorbel-hive 1\nvalue \"v\" sz \"a\x01\"\nend\n", 2},
        {"crlf line ends", "zorbel-hive 1\r\nend\r\n", 1},
        {"glued items", "zorbel-hive 1\nvalue \"v\"sz \"a\"\nend\n", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeFile(hivePath(kCU), c.text);
        const auto expectDamaged = [&](const std::function<void()>& action) {
            try {
                action();
                ADD_FAILURE() << "expected an error";
            } catch (const Error& e) {
                EXPECT_EQ(e.number(), registry::kHiveDamagedError);
                EXPECT_EQ(e.source(), "Zorbel.Registry");
                EXPECT_NE(e.description().find(hivePath(kCU).string()), std::string::npos) << e.description();
                EXPECT_NE(e.description().find("line " + std::to_string(c.line)), std::string::npos)
                    << e.description();
            }
        };
        expectDamaged([] { registry::readValue(kCU, "A", "v"); });
        expectDamaged([] { registry::keyExists(kCU, "A"); });
        expectDamaged([] { registry::writeValue(kCU, "A", "v", Value::ofDWord(1)); });
        expectDamaged([] { registry::createKey(kCU, "B"); });
        expectDamaged([] { registry::deleteKey(kCU, "A"); });
        expectDamaged([] { registry::deleteValue(kCU, "A", "v"); });
        EXPECT_EQ(readFile(hivePath(kCU)), c.text);
    }
    // Other hives are unaffected.
    registry::writeValue(Hive::LocalMachine, "A", "v", Value::ofDWord(1));
    EXPECT_EQ(registry::readValue(Hive::LocalMachine, "A", "v"), Value::ofDWord(1));
}

// A hive that holds a bit of everything, for the format tests below.
std::string sampleHiveText() {
    detail::Key root;
    root.setValue("", Value::ofString("root default"));
    root.ensure({"Software", "Quendra", "Brenwick"}).setValue("Name", Value::ofString(kAwkwardTexts[3]));
    root.ensure({"Software", "Quendra"}).setValue("List", Value::ofMultiString({"a", "", std::string("n\0l", 3)}));
    root.ensure({"Software", "Empty"});
    root.ensure({"Other"}).setValue("Bytes", Value::ofBinary({0, 1, 0xfe, 0xff}));
    root.ensure({"Other"}).setValue("Count", Value::ofDWord(123456));
    return detail::serializeHive(root);
}

TEST(HiveFormat, ReadsAHandWrittenFile) {
    const std::string text =
        "zorbel-hive 1\n"
        "# comment lines and blank lines are ignored\n"
        "\n"
        "value \"\" sz \"at the root\"\n"
        "key \"Software\" \"Quendra\"\n"
        "value \"Name\" sz \"Gr\xc3\xbc\xc3\x9f\x65\\n\\\"x\\\"\\x01\"\n"
        "value \"Path\"   expand   \"%HOME%\\\\bin\"\n"
        "value \"List\" multi \"one\" \"\" \"t\\0wo\"\n"
        "value \"None\" multi\n"
        "value \"Count\" dword 0042\n"
        "value \"Blob\" binary 00FFa0\n"
        "value \"NoBlob\" binary\n"
        "key \"Software\" \"Quendra\" \"Empty\"\n"
        "end";  // the final newline may be missing
    const detail::Key root = detail::parseHive(text, "sample.hive");
    EXPECT_EQ(*root.findValue(""), Value::ofString("at the root"));
    const detail::Key* q = root.find({"software", "QUENDRA"});
    ASSERT_NE(q, nullptr);
    EXPECT_EQ(*q->findValue("name"), Value::ofString("Gr\xc3\xbc\xc3\x9f\x65\n\"x\"\x01"));
    EXPECT_EQ(*q->findValue("Path"), Value::ofExpandString("%HOME%\\bin"));
    EXPECT_EQ(*q->findValue("List"), Value::ofMultiString({"one", "", std::string("t\0wo", 4)}));
    EXPECT_EQ(*q->findValue("None"), Value::ofMultiString({}));
    EXPECT_EQ(*q->findValue("Count"), Value::ofDWord(42));
    EXPECT_EQ(*q->findValue("Blob"), Value::ofBinary({0x00, 0xff, 0xa0}));
    EXPECT_EQ(*q->findValue("NoBlob"), Value::ofBinary({}));
    EXPECT_NE(root.find({"Software", "Quendra", "Empty"}), nullptr);
    EXPECT_EQ(root.findSubkey("software")->name(), "Software");  // created implicitly as a parent
}

TEST(HiveFormat, EveryCutOfAFileIsRejected) {
    const std::string text = sampleHiveText();
    EXPECT_EQ(detail::serializeHive(detail::parseHive(text, "x")), text);
    // Only dropping the final newline leaves a complete file.
    for (size_t length = 0; length + 1 < text.size(); ++length) {
        EXPECT_THROW(detail::parseHive(text.substr(0, length), "cut.hive"), Error) << "cut at " << length;
    }
}

TEST(HiveFormat, HostileEditsGiveAnErrorOrAStableHive) {
    const std::string base = sampleHiveText();
    std::mt19937 random(20240611);
    const std::string alphabet = "\"\\ \n\tx0aZ#-\x01\xff\xc3";
    for (int round = 0; round < 3000; ++round) {
        std::string text = base;
        const int edits = 1 + static_cast<int>(random() % 4);
        for (int e = 0; e < edits; ++e) {
            const size_t pos = random() % text.size();
            switch (random() % 3) {
                case 0: text[pos] = alphabet[random() % alphabet.size()]; break;
                case 1: text.erase(pos, 1 + random() % 8); break;
                default: text.insert(pos, 1, alphabet[random() % alphabet.size()]); break;
            }
            if (text.empty()) text = "z";
        }
        try {
            const std::string again = detail::serializeHive(detail::parseHive(text, "edit.hive"));
            EXPECT_EQ(detail::serializeHive(detail::parseHive(again, "again.hive")), again);
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), registry::kHiveDamagedError);
        }
    }
}

TEST(HiveFormat, DeepKeyLinesAreRejectedNotRecursedInto) {
    std::string line = "key";
    for (size_t i = 0; i < 100000; ++i) line += " \"k\"";
    EXPECT_THROW(detail::parseHive("zorbel-hive 1\n" + line + "\nend\n", "deep.hive"), Error);
}

TEST(ValueText, AsTextGivesEachTypeAsText) {
    EXPECT_EQ(Value::ofString("abc").asText(), "abc");
    EXPECT_EQ(Value::ofExpandString("%X%").asText(), "%X%");
    EXPECT_EQ(Value::ofDWord(4294967295u).asText(), "4294967295");
    EXPECT_EQ(Value::ofMultiString({"a", "", "b"}).asText(), std::string("a\0\0b", 4));
    EXPECT_EQ(Value::ofMultiString({}).asText(), "");
    EXPECT_EQ(Value::ofBinary({0x00, 0xAB, 0x7f}).asText(), "00ab7f");
}

}  // namespace
}  // namespace zorbel::testing
