// zorbel-reg end to end, and the .reg text it exports and imports.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "platform/registry/reg_file.hpp"
#include "platform/registry/registry.hpp"
#include "tests/platform/registry/registry_fixture.hpp"

namespace zorbel::testing {
namespace {

using registry::Hive;
using registry::Value;
namespace detail = registry::detail;
namespace fs = std::filesystem;

const Hive kCU = Hive::CurrentUser;
constexpr const char* kNotFound = "ERROR: The system was unable to find the specified registry key or value.\n";

struct ToolRun {
    int code = -1;
    std::string out;
    std::string err;
};

class RegToolTest : public RegistryTest {
protected:
    // Runs the tool; `input` is its stdin (none: end of input at once).
    ToolRun tool(const std::vector<std::string>& args, const std::optional<std::string>& input = std::nullopt) {
        const fs::path in = temp_ / "stdin", out = temp_ / "stdout", err = temp_ / "stderr";
        writeFile(in, input.value_or(""));
        const pid_t pid = fork();
        if (pid == 0) {
            const int fdIn = open(in.c_str(), O_RDONLY);
            const int fdOut = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            const int fdErr = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (fdIn < 0 || fdOut < 0 || fdErr < 0) _exit(126);
            dup2(fdIn, 0);
            dup2(fdOut, 1);
            dup2(fdErr, 2);
            std::vector<char*> argv{const_cast<char*>(ZORBEL_REG_TOOL)};
            for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execv(ZORBEL_REG_TOOL, argv.data());
            _exit(127);
        }
        int status = 0;
        while (waitpid(pid, &status, 0) < 0) {
        }
        ToolRun run;
        run.code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        run.out = readFile(out);
        run.err = readFile(err);
        return run;
    }

    void expectOk(const ToolRun& run) {
        EXPECT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(run.err, "");
    }
};

TEST_F(RegToolTest, AddThenQueryPrintsTheClassicLayout) {
    expectOk(tool({"add", "HKCU\\Control Panel\\Colors", "/v", "ButtonFace", "/t", "REG_SZ", "/d", "212 208 200", "/f"}));
    expectOk(tool({"ADD", "hkey_current_user\\control panel\\colors", "/VE", "/D", "plain"}));
    expectOk(tool({"add", "HKCU\\Control Panel\\Colors", "/v", "Count", "/t", "reg_dword", "/d", "26"}));
    expectOk(tool({"add", "HKCU\\Control Panel\\Colors\\Sub"}));
    EXPECT_TRUE(registry::keyExists(kCU, "Control Panel\\Colors\\Sub"));

    const ToolRun run = tool({"query", "HKCU\\CONTROL PANEL\\Colors\\"});
    expectOk(run);
    EXPECT_EQ(run.out,
              "\n"
              "HKEY_CURRENT_USER\\Control Panel\\Colors\n"
              "    ButtonFace    REG_SZ    212 208 200\n"
              "    (Default)    REG_SZ    plain\n"
              "    Count    REG_DWORD    0x1a\n"
              "\n"
              "HKEY_CURRENT_USER\\Control Panel\\Colors\\Sub\n"
              "\n");

    const ToolRun one = tool({"query", "HKCU\\Control Panel\\Colors", "/v", "buttonface"});
    expectOk(one);
    EXPECT_EQ(one.out, "\nHKEY_CURRENT_USER\\Control Panel\\Colors\n    ButtonFace    REG_SZ    212 208 200\n\n");
    const ToolRun byDefault = tool({"query", "HKCU\\Control Panel\\Colors", "/ve"});
    expectOk(byDefault);
    EXPECT_NE(byDefault.out.find("    (Default)    REG_SZ    plain\n"), std::string::npos);
}

TEST_F(RegToolTest, QueryRecursesWithS) {
    registry::writeValue(kCU, "Q\\A", "a", Value::ofMultiString({"x", "y"}));
    registry::writeValue(kCU, "Q\\A\\Deep", "a", Value::ofBinary({0xAB, 0x01}));
    registry::writeValue(kCU, "Q\\B", "b", Value::ofExpandString("%HOME%"));

    const ToolRun all = tool({"query", "HKCU\\Q", "/s"});
    expectOk(all);
    EXPECT_EQ(all.out,
              "\nHKEY_CURRENT_USER\\Q\n"
              "\nHKEY_CURRENT_USER\\Q\\A\n"
              "    a    REG_MULTI_SZ    x\\0y\n"
              "\nHKEY_CURRENT_USER\\Q\\A\\Deep\n"
              "    a    REG_BINARY    AB01\n"
              "\nHKEY_CURRENT_USER\\Q\\B\n"
              "    b    REG_EXPAND_SZ    %HOME%\n"
              "\n");

    const ToolRun search = tool({"query", "HKCU\\Q", "/v", "A", "/s"});
    expectOk(search);
    EXPECT_NE(search.out.find("HKEY_CURRENT_USER\\Q\\A\\Deep\n    a    REG_BINARY    AB01\n"), std::string::npos);
    EXPECT_NE(search.out.find("End of search: 2 match(es) found."), std::string::npos);
}

TEST_F(RegToolTest, MissingKeysAndValuesExitWithOne) {
    registry::writeValue(kCU, "Here", "v", Value::ofDWord(1));
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"query", "HKCU\\Nowhere"},
             {"query", "HKCU\\Here", "/v", "w"},
             {"query", "HKCU\\Here", "/ve"},
             {"query", "HKCU\\Here", "/v", "w", "/s"},
             {"delete", "HKCU\\Nowhere", "/f"},
             {"delete", "HKCU\\Here", "/v", "w", "/f"},
             {"export", "HKCU\\Nowhere", (temp_ / "x.reg").string()},
         }) {
        const ToolRun run = tool(args);
        EXPECT_EQ(run.code, 1) << args[0] << " " << args[1];
        EXPECT_EQ(run.err, kNotFound);
        EXPECT_EQ(run.out, "");
    }
    EXPECT_FALSE(fs::exists(temp_ / "x.reg"));
}

TEST_F(RegToolTest, AddParsesEachType) {
    struct Case {
        std::vector<std::string> options;
        Value expected;
    };
    const std::vector<Case> cases = {
        {{"/d", "text"}, Value::ofString("text")},
        {{}, Value::ofString("")},
        {{"/t", "REG_EXPAND_SZ", "/d", "%PATH%;x"}, Value::ofExpandString("%PATH%;x")},
        {{"/t", "REG_MULTI_SZ", "/d", "a\\0b\\0\\0c"}, Value::ofMultiString({"a", "b", "", "c"})},
        {{"/t", "REG_MULTI_SZ", "/s", "#", "/d", "x#y\\0z"}, Value::ofMultiString({"x", "y\\0z"})},
        {{"/t", "REG_MULTI_SZ", "/d", ""}, Value::ofMultiString({})},
        {{"/t", "REG_DWORD", "/d", "42"}, Value::ofDWord(42)},
        {{"/t", "REG_DWORD", "/d", "0x2A"}, Value::ofDWord(42)},
        {{"/t", "REG_DWORD", "/d", "4294967295"}, Value::ofDWord(0xFFFFFFFFu)},
        {{"/t", "REG_DWORD", "/d", "0xffffffff"}, Value::ofDWord(0xFFFFFFFFu)},
        {{"/t", "REG_BINARY", "/d", "00fF10"}, Value::ofBinary({0x00, 0xff, 0x10})},
        {{"/t", "REG_BINARY"}, Value::ofBinary({})},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"add", "HKLM\\Types", "/v", "V"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        args.push_back("/f");
        SCOPED_TRACE(::testing::PrintToString(c.options));
        expectOk(tool(args));
        EXPECT_EQ(registry::readValue(Hive::LocalMachine, "Types", "V"), c.expected);
    }
}

TEST_F(RegToolTest, BadArgumentsFailWithoutWriting) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate", "HKCU\\K"},
        {"add"},
        {"add", "HKXX\\K", "/v", "v", "/d", "1"},
        {"add", "\\\\server\\HKCU\\K"},
        {"add", "HKCU\\a\\\\b", "/v", "v"},
        {"add", "HKCU\\K", "/v", "v", "/t", "REG_DWORD", "/d", "12x"},
        {"add", "HKCU\\K", "/v", "v", "/t", "REG_DWORD", "/d", "4294967296"},
        {"add", "HKCU\\K", "/v", "v", "/t", "REG_DWORD", "/d", "0x100000000"},
        {"add", "HKCU\\K", "/v", "v", "/t", "REG_DWORD", "/d", "-1"},
        {"add", "HKCU\\K", "/v", "v", "/t", "REG_BINARY", "/d", "abc"},
        {"add", "HKCU\\K", "/v", "v", "/t", "REG_BINARY", "/d", "zz"},
        {"add", "HKCU\\K", "/v", "v", "/t", "REG_QWORD", "/d", "1"},
        {"add", "HKCU\\K", "/v", "v", "/ve"},
        {"add", "HKCU\\K", "/v", "v", "/s", "#"},
        {"add", "HKCU\\K", "/v", "v", "/q"},
        {"add", "HKCU\\K", "/v"},
        {"add", "HKCU\\K", "/v", "a", "/v", "b"},
        {"add", "HKCU\\K", "-v", "a"},
        {"delete", "HKCU", "/f"},
        {"delete", "HKCU\\K", "/v", "a", "/va"},
        {"import"},
        {"import", (temp_ / "missing.reg").string()},
    };
    for (const auto& args : cases) {
        const ToolRun run = tool(args);
        SCOPED_TRACE(::testing::PrintToString(args));
        EXPECT_EQ(run.code, 1);
        EXPECT_EQ(run.err.rfind("ERROR: ", 0), 0u) << run.err;
    }
    EXPECT_FALSE(fs::exists(hivePath(kCU)));
}

TEST_F(RegToolTest, OverwritingAsksUnlessForced) {
    struct Case {
        std::optional<std::string> answer;
        bool force;
        bool overwritten;
    };
    const std::vector<Case> cases = {
        {std::nullopt, false, false}, {"n\n", false, false},    {"no\n", false, false},
        {"yesplease\n", false, false}, {"y\n", false, true},    {"YES\n", false, true},
        {" Yes \r\n", false, true},    {std::nullopt, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer.value_or("<eof>") + (c.force ? " /f" : ""));
        registry::writeValue(kCU, "P", "ButtonFace", Value::ofString("old"));
        std::vector<std::string> args{"add", "HKCU\\P", "/v", "ButtonFace", "/d", "new"};
        if (c.force) args.push_back("/f");
        const ToolRun run = tool(args, c.answer);
        EXPECT_EQ(run.code, c.overwritten ? 0 : 1) << run.err;
        EXPECT_EQ(run.out.find("Value ButtonFace exists, overwrite(Yes/No)?") != std::string::npos, !c.force);
        EXPECT_EQ(registry::readValue(kCU, "P", "ButtonFace"), Value::ofString(c.overwritten ? "new" : "old"));
    }
    // A new value needs no answer.
    expectOk(tool({"add", "HKCU\\P", "/v", "Fresh", "/d", "x"}));
    EXPECT_EQ(registry::readValue(kCU, "P", "Fresh"), Value::ofString("x"));
}

TEST_F(RegToolTest, DeleteRemovesValuesAndKeys) {
    const auto fill = [] {
        registry::writeValue(kCU, "D", "", Value::ofString("default"));
        registry::writeValue(kCU, "D", "one", Value::ofDWord(1));
        registry::writeValue(kCU, "D", "two", Value::ofDWord(2));
        registry::writeValue(kCU, "D\\Sub", "deep", Value::ofDWord(3));
    };
    fill();
    EXPECT_EQ(tool({"delete", "HKCU\\D", "/v", "one"}).code, 1);  // no answer: nothing happens
    EXPECT_EQ(tool({"delete", "HKCU\\D"}, "no\n").code, 1);
    EXPECT_EQ(registry::valueNames(kCU, "D").size(), 3u);

    expectOk(tool({"delete", "HKCU\\d", "/v", "ONE"}, "y\n"));
    EXPECT_EQ(registry::valueNames(kCU, "D"), (std::vector<std::string>{"", "two"}));
    expectOk(tool({"delete", "HKCU\\D", "/ve", "/f"}));
    EXPECT_EQ(registry::valueNames(kCU, "D"), (std::vector<std::string>{"two"}));
    fill();
    expectOk(tool({"delete", "HKCU\\D", "/va", "/f"}));
    EXPECT_TRUE(registry::valueNames(kCU, "D").empty());
    EXPECT_TRUE(registry::readValue(kCU, "D\\Sub", "deep"));  // /va keeps subkeys
    expectOk(tool({"delete", "HKCU\\D", "/f"}));
    EXPECT_FALSE(registry::keyExists(kCU, "D"));
    EXPECT_FALSE(registry::keyExists(kCU, "D\\Sub"));
}

// Both trees hold the same names (in stored case), values and value order.
void expectSameTree(const detail::Key& a, const detail::Key& b, const std::string& where) {
    ASSERT_EQ(a.values().size(), b.values().size()) << where;
    for (size_t i = 0; i < a.values().size(); ++i) {
        EXPECT_EQ(a.values()[i].name, b.values()[i].name) << where;
        EXPECT_EQ(a.values()[i].value, b.values()[i].value) << where << " value " << a.values()[i].name;
    }
    ASSERT_EQ(a.subkeys().size(), b.subkeys().size()) << where;
    for (auto ia = a.subkeys().begin(), ib = b.subkeys().begin(); ia != a.subkeys().end(); ++ia, ++ib) {
        EXPECT_EQ(ia->second->name(), ib->second->name()) << where;
        expectSameTree(*ia->second, *ib->second, where + "\\" + ia->second->name());
    }
}

TEST_F(RegToolTest, ExportThenImportRestoresEverything) {
    const std::vector<std::string> texts = {
        "",
        "quote \" backslash \\ end\\",
        "line\nbreak\r\ttab",
        std::string("nul\0inside", 10),
        "Gr\xc3\xbc\xc3\x9f\x65 \xf0\x9d\x84\x9e",
        "\xff\xfe\xed\xa0\x80 not UTF-8",
        std::string(300, 'w'),
    };
    const std::string key = "Src\\Gr\xc3\xbc\xc3\x9f\x65 [x]";
    for (size_t i = 0; i < texts.size(); ++i) {
        const std::string n = std::to_string(i);
        registry::writeValue(kCU, key, texts[i], Value::ofString("name " + n));
        registry::writeValue(kCU, key, "sz" + n, Value::ofString(texts[i]));
        registry::writeValue(kCU, key, "expand" + n, Value::ofExpandString(texts[i]));
    }
    registry::writeValue(kCU, key, "multi", Value::ofMultiString(texts));
    registry::writeValue(kCU, key, "multiClean", Value::ofMultiString({"a", "", "b"}));
    registry::writeValue(kCU, key, "multiEmpty", Value::ofMultiString({}));
    registry::writeValue(kCU, key, "multiOneEmpty", Value::ofMultiString({""}));
    registry::writeValue(kCU, key, "dword", Value::ofDWord(0xDEADBEEF));
    std::vector<uint8_t> bytes;
    for (int b = 0; b < 256; ++b) bytes.push_back(static_cast<uint8_t>(b));
    registry::writeValue(kCU, key, "binary", Value::ofBinary(bytes));
    registry::writeValue(kCU, key, "binaryEmpty", Value::ofBinary({}));
    registry::createKey(kCU, "Src\\Empty\\Deeper");
    const detail::Key before = detail::loadHive(kCU);

    const fs::path file = temp_ / "out.reg";
    expectOk(tool({"export", "HKCU\\src", file.string()}));
    const std::string text = readFile(file);
    EXPECT_EQ(text.rfind("Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Src]\n", 0), 0u) << text;
    for (size_t pos = 0, eol; (eol = text.find('\n', pos)) != std::string::npos; pos = eol + 1) {
        const std::string line = text.substr(pos, eol - pos);
        if (line.find("=hex") != std::string::npos || line.rfind("  ", 0) == 0) {
            EXPECT_LE(line.size(), 80u) << "hex data should be wrapped: " << line;
        }
    }

    registry::deleteKey(kCU, "Src");
    expectOk(tool({"import", file.string()}));
    expectSameTree(detail::loadHive(kCU), before, "HKCU");

    // An existing file is replaced only when agreed.
    writeFile(file, "keep me");
    EXPECT_EQ(tool({"export", "HKCU\\Src", file.string()}).code, 1);
    EXPECT_EQ(readFile(file), "keep me");
    expectOk(tool({"export", "HKCU\\Src", file.string(), "/y"}));
    EXPECT_EQ(readFile(file), text);
}

// A file as the desktop registry editor writes it, with its line ends, wrapping and deletions.
std::string classicRegFile() {
    return "Windows Registry Editor Version 5.00\r\n"
           "\r\n"
           "; comment\r\n"
           "[HKEY_LOCAL_MACHINE\\Software\\Quendra]\r\n"
           "@=\"Brenwick \\\"quoted\\\" C:\\\\path\"\r\n"
           "\"Count\"=dword:0000002a\r\n"
           "\"Blob\"=hex:de,ad,\\\r\n"
           "  be,ef\r\n"
           "\"Path\"=hex(2):25,00,48,00,4f,00,4d,00,45,00,25,00,5c,00,fc,00,00,00\r\n"
           "\"List\"=hex(7):6f,00,6e,00,65,00,00,00,34,d8,1e,dd,00,00,00,00\r\n"
           "\"Word\"=hex(4):01,02,03,04\r\n"
           "\"Sz\"=hex(1):68,00,69,00,00,00\r\n"
           "\"Gone\"=-\r\n"
           "\r\n"
           "[HKEY_LOCAL_MACHINE\\Software\\Quendra\\Child]\r\n"
           "\r\n"
           "[-HKEY_LOCAL_MACHINE\\Software\\Obsolete]\r\n";
}

TEST_F(RegToolTest, ImportReadsClassicFilesInEachEncoding) {
    const std::string utf8 = classicRegFile();
    const std::vector<std::pair<std::string, std::string>> encodings = {
        {"utf-8", utf8},
        {"utf-8 with mark", "\xEF\xBB\xBF" + utf8},
        {"utf-16le with mark", "\xFF\xFE" + detail::utf8ToUtf16le(utf8)},
    };
    for (const auto& [what, bytes] : encodings) {
        SCOPED_TRACE(what);
        registry::writeValue(Hive::LocalMachine, "Software\\Quendra", "Gone", Value::ofDWord(0));
        registry::writeValue(Hive::LocalMachine, "Software\\Obsolete\\Below", "x", Value::ofDWord(0));
        writeFile(temp_ / "in.reg", bytes);
        expectOk(tool({"import", (temp_ / "in.reg").string()}));
        const auto read = [](const char* name) { return registry::readValue(Hive::LocalMachine, "Software\\Quendra", name); };
        EXPECT_EQ(read(""), Value::ofString("Brenwick \"quoted\" C:\\path"));
        EXPECT_EQ(read("count"), Value::ofDWord(42));
        EXPECT_EQ(read("Blob"), Value::ofBinary({0xde, 0xad, 0xbe, 0xef}));
        EXPECT_EQ(read("Path"), Value::ofExpandString("%HOME%\\\xc3\xbc"));
        EXPECT_EQ(read("List"), Value::ofMultiString({"one", "\xf0\x9d\x84\x9e"}));
        EXPECT_EQ(read("Word"), Value::ofDWord(0x04030201));
        EXPECT_EQ(read("Sz"), Value::ofString("hi"));
        EXPECT_FALSE(read("Gone"));
        EXPECT_TRUE(registry::keyExists(Hive::LocalMachine, "Software\\Quendra\\Child"));
        EXPECT_FALSE(registry::keyExists(Hive::LocalMachine, "Software\\Obsolete"));
    }
}

TEST_F(RegToolTest, BadImportFilesNameTheLineAndChangeNothing) {
    const std::string header = "Windows Registry Editor Version 5.00\n\n";
    const std::string good = "[HKEY_CURRENT_USER\\Imported]\n\"ok\"=dword:00000001\n";
    struct Case {
        const char* what;
        std::string text;
        int line;
    };
    const std::vector<Case> cases = {
        {"no header", "[HKEY_CURRENT_USER\\X]\n", 1},
        {"old header", "REGEDIT4\n\n[HKEY_CURRENT_USER\\X]\n", 1},
        {"value before key", header + "\"v\"=\"x\"\n", 3},
        {"unknown root", header + "[HKEY_USERS\\X]\n", 3},
        {"unclosed key", header + good + "[HKEY_CURRENT_USER\\X\n", 5},
        {"empty key name", header + good + "[HKEY_CURRENT_USER\\a\\\\b]\n", 5},
        {"delete a root", header + "[-HKEY_CURRENT_USER]\n", 3},
        {"bad dword", header + good + "\"v\"=dword:12345678a\n", 5},
        {"dword not hex", header + good + "\"v\"=dword:xyz\n", 5},
        {"unsupported type", header + good + "\"v\"=hex(b):00,00,00,00,00,00,00,00\n", 5},
        {"odd utf-16", header + good + "\"v\"=hex(2):41,00,42\n", 5},
        {"bad byte", header + good + "\"v\"=hex:0g\n", 5},
        {"long byte", header + good + "\"v\"=hex:123\n", 5},
        {"hex(4) size", header + good + "\"v\"=hex(4):01,02\n", 5},
        {"continued past end", header + good + "\"v\"=hex:01,\\\n", 5},
        {"unclosed quote", header + good + "\"v\"=\"abc\n", 5},
        {"text after quote", header + good + "\"v\"=\"abc\" junk\n", 5},
        {"unknown escape", header + good + "\"v\"=\"a\\qb\"\n", 5},
        {"no equals", header + good + "\"v\" \"abc\"\n", 5},
        {"unknown data", header + good + "\"v\"=qword:1\n", 5},
        {"stray line", header + good + "what is this\n", 5},
        {"odd utf-16 file", "\xFF\xFE\x41", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path file = temp_ / "bad.reg";
        writeFile(file, c.text);
        const ToolRun run = tool({"import", file.string()});
        EXPECT_EQ(run.code, 1);
        EXPECT_NE(run.err.find("ERROR: Registry file '" + file.string() + "' cannot be imported"), std::string::npos)
            << run.err;
        if (c.line > 0) {
            EXPECT_NE(run.err.find("at line " + std::to_string(c.line) + ":"), std::string::npos) << run.err;
        }
        EXPECT_FALSE(fs::exists(hivePath(kCU))) << "nothing is applied from a file with an error";
    }
}

TEST(RegFile, HostileEditsGiveAnErrorOrChanges) {
    detail::Key key;
    key.setValue("a", Value::ofString("x\"y\\z"));
    key.setValue("", Value::ofExpandString(std::string(100, 'e')));
    key.setValue("m", Value::ofMultiString({"p", "q"}));
    key.setValue("d", Value::ofDWord(9));
    key.setValue("b", Value::ofBinary(std::vector<uint8_t>(90, 0x5a)));
    key.ensure({"child"}).setValue("n", Value::ofMultiString({std::string("a\0b", 3)}));
    const std::string base = detail::formatRegFile(kCU, {"K"}, key);
    EXPECT_EQ(detail::parseRegFile(base, "base.reg").size(), 8u);

    std::mt19937 random(99);
    const std::string alphabet = "\"\\[]@=-,:() \nhex0f";
    for (int round = 0; round < 3000; ++round) {
        std::string text = base;
        for (int e = 0, edits = 1 + static_cast<int>(random() % 4); e < edits; ++e) {
            const size_t pos = random() % text.size();
            switch (random() % 3) {
                case 0: text[pos] = alphabet[random() % alphabet.size()]; break;
                case 1: text.erase(pos, 1 + random() % 6); break;
                default: text.insert(pos, 1, alphabet[random() % alphabet.size()]); break;
            }
            if (text.empty()) text = "[";
        }
        try {
            detail::parseRegFile(text, "edit.reg");
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), detail::kBadRegFileError) << e.description();
        }
    }
}

TEST(RegFile, Utf16CarriesEveryByteString) {
    const std::vector<std::string> texts = {
        "", "ascii", "\xc3\xbc\xe2\x82\xac\xf0\x9d\x84\x9e", "\xff", "\xed\xa0\x80", "a\xc3", std::string("\0", 1),
    };
    for (const std::string& t : texts) EXPECT_EQ(detail::utf16leToUtf8(detail::utf8ToUtf16le(t)), t);
    // Lone surrogates outside the byte range become U+FFFD.
    EXPECT_EQ(detail::utf16leToUtf8(std::string("\x00\xd8\x41\x00", 4)), "\xef\xbf\xbd" "A");
}

}  // namespace
}  // namespace zorbel::testing
