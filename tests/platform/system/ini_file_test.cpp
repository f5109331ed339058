#include "platform/system/ini_file.hpp"

#include <gtest/gtest.h>

#include "tests/support/temp_root.hpp"

namespace zorbel::system {
namespace {

using namespace std::string_literals;

TEST(IniFile, ReadsValuesByTheRules) {
    struct Case {
        const char* name;
        std::string content;
        const char* section;
        const char* key;
        std::string expected;  // the default is "DEF"
    };
    const Case cases[] = {
        {"plain", "[Winamp]\nextlist=mp3:wav\n", "Winamp", "extlist", "mp3:wav"},
        {"case of names", "[WINAMP]\nExtList=x\n", "winamp", "EXTLIST", "x"},
        {"spaces around", "  [ Winamp ]  \n  extlist  =  a b  \n", "Winamp", "extlist", "a b"},
        {"crlf", "[Winamp]\r\nextlist=mp3\r\nother=1\r\n", "Winamp", "extlist", "mp3"},
        {"no final newline", "[Winamp]\nextlist=last", "Winamp", "extlist", "last"},
        {"comment", "[Winamp]\n;extlist=no\n  ; extlist=no\nextlist=yes\n", "Winamp", "extlist", "yes"},
        {"other section", "[Other]\nextlist=no\n[Winamp]\nk=v\n", "Winamp", "extlist", "DEF"},
        {"before any section", "extlist=no\n[Winamp]\n", "Winamp", "extlist", "DEF"},
        {"first wins", "[Winamp]\nextlist=1\nextlist=2\n", "Winamp", "extlist", "1"},
        {"repeated section", "[Winamp]\na=1\n[Other]\n[winamp]\nextlist=2\n", "Winamp", "extlist", "2"},
        {"empty value", "[Winamp]\nextlist=\n", "Winamp", "extlist", ""},
        {"equals in value", "[Winamp]\nextlist=a=b\n", "Winamp", "extlist", "a=b"},
        {"quoted value", "[Winamp]\nextlist=\" padded \"\n", "Winamp", "extlist", " padded "},
        {"unmatched quote", "[Winamp]\nextlist=\"open\n", "Winamp", "extlist", "\"open"},
        {"line without equals", "[Winamp]\nextlist\n", "Winamp", "extlist", "DEF"},
        {"byte order mark", "\xEF\xBB\xBF[Winamp]\nextlist=bom\n", "Winamp", "extlist", "bom"},
        {"windows-1252 line", "[Winamp]\nextlist=caf\xE9\n", "Winamp", "extlist", "caf\xC3\xA9"},
        {"unclosed header", "[Winamp\nextlist=x\n", "Winamp", "extlist", "DEF"},
        {"nul bytes", "[Winamp]\nextlist=a\0b\n"s, "Winamp", "extlist", "a\0b"s},
        {"empty file", "", "Winamp", "extlist", "DEF"},
        {"garbage", "\0\xFF[\n]=\n[[]]\n=\n"s, "Winamp", "extlist", "DEF"},
    };
    testing::TempFolder folder;
    for (const Case& c : cases) {
        std::filesystem::path file = folder / "test.ini";
        testing::writeFile(file, c.content);
        EXPECT_EQ(readIniValue(file.string(), c.section, c.key, "DEF"), c.expected) << c.name;
    }
}

TEST(IniFile, MissingOrUnreadableFileGivesTheDefault) {
    testing::TempFolder folder;
    EXPECT_EQ(readIniValue((folder / "missing.ini").string(), "a", "b", "fallback"), "fallback");
    EXPECT_EQ(readIniValue(folder.path().string(), "a", "b", "fallback"), "fallback");
    EXPECT_EQ(readIniValue("", "a", "b", "fallback"), "fallback");
}

TEST(IniFile, SurvivesLongLines) {
    testing::TempFolder folder;
    std::string huge(1 << 20, 'v');
    testing::writeFile(folder / "big.ini", "[s]\n" + std::string(1 << 20, '[') + "\nk=" + huge + "\n");
    EXPECT_EQ(readIniValue((folder / "big.ini").string(), "s", "k", ""), huge);
}

}  // namespace
}  // namespace zorbel::system
