// regwrite end to end: the real program on real settings files, writing a
// real machine hive in a temporary folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <thread>

#include "ChildProcess.h"
#include "TempDir.h"
#include "modules/system/RegKey.h"
#include "platform/RegistryHive.h"

namespace {

const std::string kRegwrite = std::string(COREKIT_TOOL_DIR) + "/regwrite";

class Regwrite : public testing::Test {
protected:
    void SetUp() override {
        machineHive = dir.File("etc/machine.hive");
        env = {{"COREKIT_MACHINE_HIVE", machineHive},
               {"COREKIT_USER_HIVE", dir.File("home/user.hive")}};
        setenv("COREKIT_MACHINE_HIVE", machineHive.c_str(), 1);
        setenv("COREKIT_USER_HIVE", dir.File("home/user.hive").c_str(), 1);
        platform::ResetRegistryConnections();
    }
    void TearDown() override {
        platform::ResetRegistryConnections();
        unsetenv("COREKIT_MACHINE_HIVE");
        unsetenv("COREKIT_USER_HIVE");
    }

    ChildResult RunOn(const std::string& content, const std::string& name = "settings.txt") {
        return Run({dir.Write(name, content)});
    }
    // Runs regwrite, then makes this process look at the hive file afresh.
    ChildResult Run(const std::vector<std::string>& args) {
        ChildResult result = RunChild(kRegwrite, args, env);
        platform::ResetRegistryConnections();
        return result;
    }

    // The value below SOFTWARE\Tamsil\<keyPath> as "s:<text>", "d:<number>",
    // or "" when missing.
    std::string Value(const std::u16string& keyPath, const std::u16string& name) {
        const RegKey key(RegKey::LocalMachine(), (u"SOFTWARE\\Tamsil\\" + keyPath).c_str(), false);
        platform::RegistryValue value;
        if (!key.IsOpen() || key.GetHandle().QueryValue(name, value) != 0)
            return "";
        if (value.type == platform::kRegistryDword) {
            std::uint32_t n = 0;
            key.GetDword(name.c_str(), n);
            return "d:" + std::to_string(n);
        }
        System::String text;
        key.GetString(name.c_str(), text);
        std::string narrow;
        for (char16_t c : text.View())
            narrow.push_back(c < 0x80 ? char(c) : '?');
        return "s:" + narrow;
    }

    std::uint32_t SubKeyCount(const std::u16string& keyPath) {
        return RegKey(RegKey::LocalMachine(), keyPath.c_str(), false).GetSubKeyCount();
    }

    TempDir dir;
    std::string machineHive;
    std::map<std::string, std::string> env;
};

TEST_F(Regwrite, WorkedExample) {
    const auto r = RunOn(
        "# settings\nRender\\Timeout = 0x1E\nRender\\Mode=fast\n Paths\\Fonts\\=C:\\Fonts "
        "\nOrphan=1\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(Value(u"Paths\\Fonts", u""), "s:C:\\Fonts");
    EXPECT_EQ(Value(u"Render", u"Mode"), "s:fast");
    EXPECT_EQ(Value(u"Render", u"Timeout"), "d:30");
    EXPECT_EQ(SubKeyCount(u"SOFTWARE\\Tamsil"), 2u);  // Paths and Render; Orphan skipped
}

TEST_F(Regwrite, DataForms) {
    const auto r = RunOn(
        "K\\hex=0x10\nK\\upper=0X10\nK\\bare=0x\nK\\blank=0x 1f\nK\\partial=0x1G7\n"
        "K\\long=0x123456789\nK\\neg=0x-1\nK\\empty=\nK\\blanks=   \nK\\eq=a=b\nK\\=abc\n"
        "K\\hash=a#b\nK\\caf=caf\xE9\nV=1\n");
    EXPECT_EQ(r.status, 0) << r.err;
    struct Case {
        std::u16string name;
        std::string value;
    } cases[] = {{u"hex", "d:16"},         {u"upper", "s:0X10"}, {u"bare", "s:0x"},
                 {u"blank", "d:31"},       {u"partial", "d:1"},  {u"long", "d:591751049"},
                 {u"neg", "d:4294967295"}, {u"empty", "s:"},     {u"blanks", "s:"},
                 {u"eq", "s:a=b"},         {u"", "s:abc"},       {u"hash", "s:a#b"},
                 {u"caf", "s:caf?"}};
    for (const auto& c : cases) {
        EXPECT_EQ(Value(u"K", c.name), c.value) << std::string(c.name.begin(), c.name.end());
    }
}

TEST_F(Regwrite, StringValuesStoreTheirTerminator) {
    ASSERT_EQ(RunOn("K\\v=abc\n").status, 0);
    const RegKey key(RegKey::LocalMachine(), u"SOFTWARE\\Tamsil\\K", false);
    platform::RegistryValueInfo info;
    ASSERT_EQ(key.GetHandle().QueryValueInfo(u"v", info), 0);
    EXPECT_EQ(info.type, platform::kRegistryString);
    EXPECT_EQ(info.size, 8u);
}

TEST_F(Regwrite, LaterLinesReplaceEarlierOnesAndKeysAreCaseSensitive) {
    ASSERT_EQ(RunOn("A\\v=1\nA\\v=2\nB\\v=1\nb\\v=2\n").status, 0);
    EXPECT_EQ(Value(u"A", u"v"), "s:2");
    // B\v and b\v are two settings, written in code-unit order (B first);
    // the hive's names ignore case, so b\v lands on the same value.
    EXPECT_EQ(Value(u"b", u"v"), "s:2");
    const RegKey tamsil(RegKey::LocalMachine(), u"SOFTWARE\\Tamsil", false);
    ASSERT_EQ(tamsil.GetSubKeyCount(), 2u);
    EXPECT_EQ(std::u16string(tamsil.OpenSubKey(1)->GetName().View()),
              u"B");  // keeps the first case
}

TEST_F(Regwrite, LineEndingsAndMarks) {
    ASSERT_EQ(RunOn("K\\crlf=1\r\nK\\lf=2\n").status, 0);
    EXPECT_EQ(Value(u"K", u"crlf"), "s:1");
    EXPECT_EQ(Value(u"K", u"lf"), "s:2");

    // A UTF-8 byte-order mark becomes three characters of the first key.
    ASSERT_EQ(RunOn("\xEF\xBB\xBFM\\v=1\n# \xEF\xBB\xBF\n", "bom.txt").status, 0);
    EXPECT_EQ(Value(u"\u00ef\u00bb\u00bfM", u"v"), "s:1");

    // UTF-16 text ends at its first zero byte: nothing is written.
    const std::string utf16(
        "\xFF\xFEK\0\\\0v\0=\0"
        "1\0\n\0",
        14);
    const auto r = RunOn(utf16, "utf16.txt");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(SubKeyCount(u"SOFTWARE\\Tamsil"), 2u);
}

TEST_F(Regwrite, FilesThatWriteNothing) {
    for (const std::string content :
         {"\n", "# only a comment\n\n   \n", "no equals sign\n", "V=1"}) {
        const auto r = RunOn(content);
        EXPECT_EQ(r.status, 0) << content;
        EXPECT_EQ(r.err, "") << content;
    }
    EXPECT_FALSE(std::filesystem::exists(machineHive));
}

TEST_F(Regwrite, FailuresStopTheRunWithOneErrorLine) {
    struct Case {
        std::string content;
        std::string err;
    } cases[] = {
        {"", "Error: Null pointer exception\n"},
        {"=x\n", "Error: Index out of bounds\n"},
        {"\\V=1\n", "Error: Index out of bounds\n"},
        {"K\\v=0xZZ\n", "Error: \n"},
        {"K\\v=0x+\n", "Error: \n"},
    };
    for (const auto& c : cases) {
        const auto r = RunOn(c.content);
        EXPECT_EQ(r.status, 1) << c.content;
        EXPECT_EQ(r.err, c.err) << c.content;
    }
}

TEST_F(Regwrite, TheMapIsCompleteBeforeTheFirstWrite) {
    const auto r = RunOn("A\\x=1\nB\\y=2\n=late\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(Value(u"A", u"x"), "");
    EXPECT_FALSE(std::filesystem::exists(machineHive));
}

TEST_F(Regwrite, EntriesBeforeAFailingOneStayWritten) {
    const auto r = RunOn("C\\z=3\nA\\x=1\nB\\y=0xZZ\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(Value(u"A", u"x"), "s:1");
    EXPECT_EQ(Value(u"C", u"z"), "");
}

TEST_F(Regwrite, CommandLinePaths) {
    const std::string spaced = dir.Write("my settings.txt", "S\\v=spaced\n");
    // The arguments joined with single blanks are the path.
    auto r = Run({dir.File("my"), "settings.txt"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Value(u"S", u"v"), "s:spaced");

    // Quotes are part of the path.
    r = Run({"\"" + spaced + "\""});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Error: Can not open file '\"" + spaced +
                         "\"'; last system error is 'No such file or directory'\n");

    r = Run({});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "Error: Can not open file ''; last system error is 'No such file or directory'\n");

    // Non-ASCII file names open (arguments are UTF-8).
    const std::string accented = dir.Write("r\xC3\xA9glages.txt", "U\\v=1\n");
    r = Run({accented});
    EXPECT_EQ(r.status, 0) << r.err;
}

TEST_F(Regwrite, AnUnwritableHiveIsReportedForEveryEntry) {
    // The hive's folder cannot be created below a regular file.
    const std::string blocker = dir.Write("blocker", "");
    auto blocked = env;
    blocked["COREKIT_MACHINE_HIVE"] = blocker + "/machine.hive";
    const auto r = RunChild(kRegwrite, {dir.Write("s.txt", "A\\x=1\nB\\y=0x2\n")}, blocked);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Error: Can't write the setting 'A\\x': "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Error: Can't write the setting 'B\\y': "), std::string::npos) << r.err;
}

TEST_F(Regwrite, BadFilesNeitherCrashNorHang) {
    std::mt19937 random(42);
    std::string garbage(1 << 16, '\0');
    for (char& c : garbage)
        c = static_cast<char>(random());
    struct Case {
        std::string name;
        std::string content;
    } cases[] = {
        {"garbage", garbage},
        {"ff", "\xFF"},
        {"ffsetting", "K\\\xFF=\xFF\n"},
        {"longline", "K\\v=" + std::string(1 << 20, 'x') + "\n"},
        {"longkey", std::string(100000, 'k') + "\\v=1\n"},
        {"deep",
         [] {
             std::string s;
             for (int i = 0; i < 300; ++i)
                 s += "k\\";
             return s + "v=1\n";
         }()},
    };
    for (const auto& c : cases) {
        const auto r = RunOn(c.content, c.name);
        EXPECT_TRUE(r.status == 0 || r.status == 1) << c.name;
    }
    EXPECT_EQ(Value(u"K", u"\u00ff"), "s:?");
}

TEST_F(Regwrite, FiftyMegabyteFile) {
    std::string big;
    big.reserve(50u << 20);
    const std::string line = "Big\\value = some data of a setting line\n";
    while (big.size() < (50u << 20))
        big += line;
    const auto r = RunOn(big, "big.txt");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Value(u"Big", u"value"), "s:some data of a setting line");
}

// The settings of a generated file, sorted in map order (code units).
std::vector<std::pair<std::string, std::string>> Generate(int lines, const std::string& prefix) {
    std::vector<std::pair<std::string, std::string>> settings;
    for (int i = 0; i < lines; ++i) {
        settings.emplace_back(prefix + "Path" + std::to_string(i % 20) + "\\v" + std::to_string(i),
                              "value-" + std::to_string(i) + std::string(i % 50, 'x'));
    }
    std::sort(settings.begin(), settings.end());
    return settings;
}

std::string FileOf(const std::vector<std::pair<std::string, std::string>>& settings) {
    std::string text;
    for (const auto& [key, data] : settings)
        text += key + "=" + data + "\n";
    return text;
}

TEST_F(Regwrite, AKilledRunLeavesAPrefixOfItsWrites) {
    const auto settings = Generate(3000, "");
    const std::string file = dir.Write("many.txt", FileOf(settings));
    std::mt19937 random(7);
    for (int round = 0; round < 8; ++round) {
        std::filesystem::remove(machineHive);
        {
            ChildProcess child(kRegwrite, {file}, env);
            std::this_thread::sleep_for(std::chrono::microseconds(random() % 300000));
            child.Kill();
            child.Wait();
        }
        platform::ResetRegistryConnections();
        // Every setting present up to some point, none after, each whole.
        bool missingSeen = false;
        for (const auto& [key, data] : settings) {
            const auto slash = key.find('\\');
            const std::string got = Value(std::u16string(key.begin(), key.begin() + slash),
                                          std::u16string(key.begin() + slash + 1, key.end()));
            if (got.empty()) {
                missingSeen = true;
            } else {
                ASSERT_FALSE(missingSeen) << "round " << round << ": " << key << " after a gap";
                ASSERT_EQ(got, "s:" + data) << key;
            }
        }
    }
}

TEST_F(Regwrite, ConcurrentRunsAllLand) {
    // Two runs on different files, and four runs writing the same key.
    std::vector<std::vector<std::pair<std::string, std::string>>> sets;
    for (int i = 0; i < 2; ++i)
        sets.push_back(Generate(500, "Run" + std::to_string(i)));
    for (int i = 0; i < 4; ++i) {
        auto same = Generate(200, "Same");
        for (auto& [key, data] : same)
            key += "_" + std::to_string(i);
        sets.push_back(same);
    }
    std::vector<std::unique_ptr<ChildProcess>> children;
    for (std::size_t i = 0; i < sets.size(); ++i) {
        children.push_back(std::make_unique<ChildProcess>(
            kRegwrite,
            std::vector<std::string>{dir.Write("set" + std::to_string(i), FileOf(sets[i]))}, env));
    }
    for (auto& child : children)
        EXPECT_EQ(child->Wait().status, 0);
    platform::ResetRegistryConnections();
    for (const auto& set : sets) {
        for (const auto& [key, data] : set) {
            const auto slash = key.find('\\');
            ASSERT_EQ(Value(std::u16string(key.begin(), key.begin() + slash),
                            std::u16string(key.begin() + slash + 1, key.end())),
                      "s:" + data)
                << key;
        }
    }
}

}  // namespace

namespace {

TEST_F(Regwrite, RegdumpShowsWhatWasWritten) {
    ASSERT_EQ(
        RunOn("# settings\nRender\\Timeout = 0x1E\nRender\\Mode=fast\n Paths\\Fonts\\=C:\\Fonts \n"
              "Render\\Quote=say \"hi\"\n")
            .status,
        0);
    const ChildResult dump = RunChild(COREKIT_REGDUMP, {}, env);
    EXPECT_EQ(dump.status, 0) << dump.err;
    EXPECT_EQ(dump.out,
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tamsil]\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tamsil\\Paths]\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tamsil\\Paths\\Fonts]\n"
              "@ = string:\"C:\\\\Fonts\"\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tamsil\\Render]\n"
              "\"Mode\" = string:\"fast\"\n"
              "\"Quote\" = string:\"say \\\"hi\\\"\"\n"
              "\"Timeout\" = dword:0x0000001e\n");
    const ChildResult one =
        RunChild(COREKIT_REGDUMP, {"--machine", "SOFTWARE\\Tamsil\\Paths\\Fonts"}, env);
    EXPECT_EQ(one.out,
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tamsil\\Paths\\Fonts]\n@ = string:\"C:\\\\Fonts\"\n");
    const ChildResult missing = RunChild(COREKIT_REGDUMP, {"--user"}, env);
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("HKEY_CURRENT_USER\\SOFTWARE\\Tamsil not found"), std::string::npos);
}

}  // namespace
