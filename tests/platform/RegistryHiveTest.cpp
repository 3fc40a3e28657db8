#include "platform/RegistryHive.h"

#include <fcntl.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

using platform::RegistryHive;
using platform::RegistryKeyHandle;
using platform::RegistryValue;
using platform::RegistryValueInfo;
using platform::RegistryWriteBatch;

namespace fs = std::filesystem;

using Bytes = std::vector<std::uint8_t>;

std::u16string Name(const char* prefix, int number) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%s%06d", prefix, number);
    return std::u16string(buffer, buffer + std::char_traits<char>::length(buffer));
}

bool Exists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

// Runs `body` in a forked child. The child reports problems as text, which
// comes back as the result; an abnormal end of the child is reported too.
std::string InChild(const std::function<std::string()>& body) {
    int fds[2];
    if (pipe(fds) != 0) {
        return "pipe failed";
    }
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        const std::string report = body();
        std::size_t written = 0;
        while (written < report.size()) {
            const ssize_t n = write(fds[1], report.data() + written, report.size() - written);
            if (n <= 0) {
                break;
            }
            written += static_cast<std::size_t>(n);
        }
        _exit(0);
    }
    close(fds[1]);
    std::string report;
    char buffer[512];
    ssize_t n = 0;
    while ((n = read(fds[0], buffer, sizeof buffer)) > 0) {
        report.append(buffer, static_cast<std::size_t>(n));
    }
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        report += "child ended abnormally (status " + std::to_string(status) + ")";
    }
    return report;
}

// Appends "what: got X, expected Y" to `report` when the two differ.
void Check(std::string& report, const char* what, long long got, long long expected) {
    if (got != expected) {
        report += std::string(what) + ": got " + std::to_string(got) + ", expected " +
                  std::to_string(expected) + "\n";
    }
}

class RegistryHiveTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* variable : {platform::kMachineHiveVariable, platform::kUserHiveVariable}) {
            const char* value = std::getenv(variable);
            saved_.emplace_back(
                variable, value != nullptr ? std::optional<std::string>(value) : std::nullopt);
        }
        std::string pattern = (fs::temp_directory_path() / "corekit-hive-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        machine_path_ = dir_ + "/etc/corekit/machine.hive";
        user_path_ = dir_ + "/home/.config/corekit/user.hive";
        UseHives(machine_path_, user_path_);
    }

    void TearDown() override {
        platform::ResetRegistryConnections();
        for (const auto& [variable, value] : saved_) {
            if (value) {
                setenv(variable.c_str(), value->c_str(), 1);
            } else {
                unsetenv(variable.c_str());
            }
        }
        std::error_code ignored;
        for (const auto& entry : fs::recursive_directory_iterator(dir_, ignored)) {
            if (entry.is_directory(ignored)) {
                fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
            }
        }
        fs::remove_all(dir_, ignored);
    }

    static void UseHives(const std::string& machine, const std::string& user) {
        setenv(platform::kMachineHiveVariable, machine.c_str(), 1);
        setenv(platform::kUserHiveVariable, user.c_str(), 1);
        platform::ResetRegistryConnections();
    }

    static RegistryKeyHandle OpenKey(std::u16string_view path, bool create,
                                     RegistryHive hive = RegistryHive::Machine) {
        int code = -1;
        RegistryKeyHandle key =
            RegistryKeyHandle::Open(RegistryKeyHandle::Root(hive), path, create, &code);
        EXPECT_EQ(code, platform::kRegistryOk) << "opening a key";
        EXPECT_EQ(key.IsOpen(), code == platform::kRegistryOk);
        return key;
    }

    static int OpenCode(std::u16string_view path, bool create,
                        RegistryHive hive = RegistryHive::Machine) {
        int code = -1;
        RegistryKeyHandle key =
            RegistryKeyHandle::Open(RegistryKeyHandle::Root(hive), path, create, &code);
        EXPECT_EQ(key.IsOpen(), code == platform::kRegistryOk);
        return code;
    }

    static std::vector<std::u16string> SubKeys(const RegistryKeyHandle& key) {
        std::vector<std::u16string> names;
        std::u16string name;
        int rc = 0;
        for (std::uint32_t i = 0; (rc = key.EnumSubKey(i, name)) == platform::kRegistryOk; ++i) {
            names.push_back(name);
        }
        EXPECT_EQ(rc, platform::kRegistryNoMoreItems);
        return names;
    }

    static std::uint32_t Count(const RegistryKeyHandle& key) {
        std::uint32_t count = 12345;
        EXPECT_EQ(key.SubKeyCount(count), platform::kRegistryOk);
        return count;
    }

    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
    std::string dir_;
    std::string machine_path_;
    std::string user_path_;
};

// ---------------------------------------------------------------------------
// Keys

TEST_F(RegistryHiveTest, CreatesSeveralMissingLevelsInOneStep) {
    RegistryKeyHandle leaf = OpenKey(u"SOFTWARE\\Vendor\\Render", true);
    ASSERT_TRUE(leaf.IsOpen());
    for (const char16_t* path : {u"SOFTWARE", u"SOFTWARE\\Vendor", u"SOFTWARE\\Vendor\\Render"}) {
        EXPECT_EQ(OpenCode(path, false), platform::kRegistryOk);
    }
    RegistryKeyHandle vendor = OpenKey(u"SOFTWARE\\Vendor", false);
    EXPECT_EQ(SubKeys(vendor), std::vector<std::u16string>{u"Render"});
    // Opening an existing key with the create flag finds it instead of adding one.
    RegistryKeyHandle again = OpenKey(u"SOFTWARE\\Vendor\\Render", true);
    EXPECT_EQ(Count(vendor), 1u);
    ASSERT_EQ(again.SetDword(u"n", 1), platform::kRegistryOk);
    RegistryValue value;
    EXPECT_EQ(leaf.QueryValue(u"n", value), platform::kRegistryOk);
}

TEST_F(RegistryHiveTest, OpensRelativeToAParentAndItself) {
    RegistryKeyHandle vendor = OpenKey(u"SOFTWARE\\Vendor", true);
    int code = -1;
    RegistryKeyHandle child = RegistryKeyHandle::Open(vendor, u"Core\\Deep", true, &code);
    ASSERT_EQ(code, platform::kRegistryOk);
    ASSERT_EQ(child.SetDword(u"x", 5), platform::kRegistryOk);
    EXPECT_EQ(OpenCode(u"SOFTWARE\\Vendor\\Core\\Deep", false), platform::kRegistryOk);

    RegistryKeyHandle same = RegistryKeyHandle::Open(child, u"", false, &code);
    ASSERT_EQ(code, platform::kRegistryOk);
    RegistryValue value;
    EXPECT_EQ(same.QueryValue(u"x", value), platform::kRegistryOk);
    RegistryKeyHandle trailing = RegistryKeyHandle::Open(vendor, u"Core\\", false, &code);
    EXPECT_EQ(code, platform::kRegistryOk);
}

TEST_F(RegistryHiveTest, OpeningWithoutCreateNeedsAnExistingKey) {
    OpenKey(u"SOFTWARE\\Vendor", true);
    EXPECT_EQ(OpenCode(u"SOFTWARE\\Vendor\\Missing", false), platform::kRegistryNotFound);
    EXPECT_EQ(OpenCode(u"SOFTWARE\\Missing\\Deeper", false), platform::kRegistryNotFound);
    // The failed opens created nothing.
    EXPECT_EQ(Count(OpenKey(u"SOFTWARE\\Vendor", false)), 0u);
    EXPECT_EQ(Count(OpenKey(u"SOFTWARE", false)), 1u);
}

TEST_F(RegistryHiveTest, RejectsMalformedPathsAndNames) {
    const std::u16string paths[] = {
        u"\\Leading",
        u"Double\\\\Slash",
        u"Trailing\\\\",
        u"\\",
        std::u16string(256, u'k'),
        std::u16string{u'A', 0, u'B'},
        std::u16string{u'A', 0xD800},
    };
    for (const std::u16string& path : paths) {
        EXPECT_EQ(OpenCode(path, true), platform::kRegistryInvalidName) << path.size();
    }
    EXPECT_EQ(Count(RegistryKeyHandle::Root(RegistryHive::Machine)), 0u);
    EXPECT_EQ(OpenCode(std::u16string(255, u'k'), true), platform::kRegistryOk);

    RegistryKeyHandle key = OpenKey(u"K", true);
    EXPECT_EQ(key.SetDword(std::u16string{u'v', 0}, 1), platform::kRegistryInvalidName);
    EXPECT_EQ(key.SetDword(std::u16string(16384, u'v'), 1), platform::kRegistryInvalidName);
    EXPECT_EQ(key.SetDword(u"with\\backslash", 1), platform::kRegistryOk);
}

TEST_F(RegistryHiveTest, NamesCompareWithoutCaseAndKeepTheirCase) {
    OpenKey(u"Vendor\\MixedCase", true);
    OpenKey(u"Vendor\\Caf\u00e9", true);
    RegistryKeyHandle upper = OpenKey(u"VENDOR\\mixedcase", true);  // finds, adds nothing
    OpenKey(u"vendor\\CAF\u00c9", false);
    RegistryKeyHandle vendor = OpenKey(u"vEnDoR", false);
    EXPECT_EQ(SubKeys(vendor), (std::vector<std::u16string>{u"Caf\u00e9", u"MixedCase"}));
    EXPECT_EQ(SubKeys(RegistryKeyHandle::Root(RegistryHive::Machine)),
              std::vector<std::u16string>{u"Vendor"});

    ASSERT_EQ(upper.SetDword(u"Timeout", 1), platform::kRegistryOk);
    ASSERT_EQ(upper.SetDword(u"TIMEOUT", 2), platform::kRegistryOk);  // the same value
    RegistryValue value;
    ASSERT_EQ(upper.QueryValue(u"timeout", value), platform::kRegistryOk);
    EXPECT_EQ(value.data, (Bytes{2, 0, 0, 0}));
}

TEST_F(RegistryHiveTest, EnumeratesSubKeysByNameWithoutCase) {
    RegistryKeyHandle parent = OpenKey(u"Parent", true);
    for (const char16_t* name :
         {u"gamma", u"_under", u"Beta", u"alpha", u"Zeta", u"delta", u"\u00e9clair", u"Eta"}) {
        int code = -1;
        RegistryKeyHandle::Open(parent, name, true, &code);
        ASSERT_EQ(code, platform::kRegistryOk);
    }
    // Upper-case order: '_' (0x5F) sorts after 'Z', letters beyond ASCII last.
    const std::vector<std::u16string> expected = {u"alpha", u"Beta", u"delta",  u"Eta",
                                                  u"gamma", u"Zeta", u"_under", u"\u00e9clair"};
    EXPECT_EQ(SubKeys(parent), expected);
    EXPECT_EQ(Count(parent), expected.size());

    std::u16string name = u"unchanged";
    EXPECT_EQ(parent.EnumSubKey(100, name), platform::kRegistryNoMoreItems);
    EXPECT_EQ(name, u"unchanged");
    RegistryKeyHandle leaf = OpenKey(u"Parent\\alpha", false);
    EXPECT_EQ(leaf.EnumSubKey(0, name), platform::kRegistryNoMoreItems);
    EXPECT_EQ(Count(leaf), 0u);
}

TEST_F(RegistryHiveTest, EnumeratesValuesByNameWithoutCase) {
    RegistryKeyHandle key = OpenKey(u"Values", true);
    ASSERT_EQ(key.SetString(u"beta", u"b"), platform::kRegistryOk);
    ASSERT_EQ(key.SetDword(u"Alpha", 7), platform::kRegistryOk);
    ASSERT_EQ(key.SetString(u"", u"default"), platform::kRegistryOk);
    std::vector<std::u16string> names;
    std::u16string name;
    platform::RegistryValue value;
    std::uint32_t i = 0;
    for (; key.EnumValue(i, name, value) == platform::kRegistryOk; ++i)
        names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::u16string>{u"", u"Alpha", u"beta"}));
    ASSERT_EQ(key.EnumValue(1, name, value), platform::kRegistryOk);
    EXPECT_EQ(value.type, platform::kRegistryDword);
    EXPECT_EQ(value.data, (std::vector<std::uint8_t>{7, 0, 0, 0}));
    EXPECT_EQ(key.EnumValue(3, name, value), platform::kRegistryNoMoreItems);
    EXPECT_EQ(RegistryKeyHandle().EnumValue(0, name, value), platform::kRegistryInvalidKey);
}

TEST_F(RegistryHiveTest, DeletesLeafKeysOnly) {
    RegistryKeyHandle leaf = OpenKey(u"Top\\Middle\\Leaf", true);
    ASSERT_EQ(leaf.SetString(u"text", u"value"), platform::kRegistryOk);
    RegistryKeyHandle top = OpenKey(u"Top", false);

    EXPECT_EQ(RegistryKeyHandle::DeleteKey(top, u"Middle"), platform::kRegistryAccessDenied);
    EXPECT_EQ(OpenCode(u"Top\\Middle\\Leaf", false), platform::kRegistryOk);
    EXPECT_EQ(RegistryKeyHandle::DeleteKey(top, u"Middle\\leaf"), platform::kRegistryOk);
    EXPECT_EQ(OpenCode(u"Top\\Middle\\Leaf", false), platform::kRegistryNotFound);
    EXPECT_EQ(RegistryKeyHandle::DeleteKey(top, u"Middle\\Leaf"), platform::kRegistryNotFound);
    EXPECT_EQ(RegistryKeyHandle::DeleteKey(top, u"Middle"), platform::kRegistryOk);
    EXPECT_EQ(Count(top), 0u);
    EXPECT_EQ(RegistryKeyHandle::DeleteKey(top, u""), platform::kRegistryInvalidName);

    // A key made again under the old name starts without the old values.
    RegistryKeyHandle reborn = OpenKey(u"Top\\Middle\\Leaf", true);
    RegistryValue value;
    EXPECT_EQ(reborn.QueryValue(u"text", value), platform::kRegistryNotFound);
}

TEST_F(RegistryHiveTest, HandlesOfDeletedOrClosedKeysAreInvalid) {
    RegistryKeyHandle leaf = OpenKey(u"Top\\Leaf", true);
    ASSERT_EQ(leaf.SetDword(u"v", 1), platform::kRegistryOk);
    ASSERT_EQ(RegistryKeyHandle::DeleteKey(OpenKey(u"Top", false), u"Leaf"), platform::kRegistryOk);
    OpenKey(u"Top\\Leaf", true);  // same name, new key: the old handle stays invalid

    RegistryKeyHandle closed = OpenKey(u"Top", false);
    closed.Close();
    RegistryKeyHandle moved_from = OpenKey(u"Top", false);
    RegistryKeyHandle target = std::move(moved_from);
    const RegistryKeyHandle empty;

    const RegistryKeyHandle* const handles[] = {&leaf, &closed, &moved_from, &empty};
    for (const RegistryKeyHandle* key : handles) {
        RegistryValue value;
        RegistryValueInfo info;
        std::u16string name;
        std::uint32_t count = 0;
        int code = 0;
        EXPECT_EQ(key->SetDword(u"v", 2), platform::kRegistryInvalidKey);
        EXPECT_EQ(key->QueryValue(u"v", value), platform::kRegistryInvalidKey);
        EXPECT_EQ(key->QueryValueInfo(u"v", info), platform::kRegistryInvalidKey);
        EXPECT_EQ(key->EnumSubKey(0, name), platform::kRegistryInvalidKey);
        EXPECT_EQ(key->SubKeyCount(count), platform::kRegistryInvalidKey);
        EXPECT_FALSE(RegistryKeyHandle::Open(*key, u"Child", true, &code).IsOpen());
        EXPECT_EQ(code, platform::kRegistryInvalidKey);
        EXPECT_EQ(RegistryKeyHandle::DeleteKey(*key, u"Child"), platform::kRegistryInvalidKey);
    }
    EXPECT_TRUE(target.IsOpen());
    EXPECT_EQ(Count(target), 1u);
}

// ---------------------------------------------------------------------------
// Values

TEST_F(RegistryHiveTest, ValuesKeepTheirTypeAndExactBytes) {
    Bytes big(100000);
    for (std::size_t i = 0; i < big.size(); ++i) {
        big[i] = static_cast<std::uint8_t>(i * 31 + i / 251);
    }
    struct Case {
        std::u16string name;
        std::uint32_t type;
        Bytes data;
    } cases[] = {
        {u"", platform::kRegistryString, {0, 0}},  // the default value
        {u"dword", platform::kRegistryDword, {0x78, 0x56, 0x34, 0x12}},
        {u"binary", 3, {0, 1, 0, 255, 0}},
        {u"empty", 0, {}},
        {u"odd string", platform::kRegistryString, {'a', 0, 'b'}},
        {u"big", 3, big},
        {u"type beyond the known ones", 0xFFFFFFFFu, {9}},
    };
    RegistryKeyHandle key = OpenKey(u"Values", true);
    for (const Case& c : cases) {
        ASSERT_EQ(key.SetValue(c.name, c.type, c.data), platform::kRegistryOk);
    }
    platform::ResetRegistryConnections();  // read back through a new connection
    RegistryKeyHandle reopened = OpenKey(u"Values", false);
    for (const Case& c : cases) {
        RegistryValue value;
        ASSERT_EQ(reopened.QueryValue(c.name, value), platform::kRegistryOk);
        EXPECT_EQ(value.type, c.type);
        EXPECT_EQ(value.data, c.data);
        RegistryValueInfo info;
        ASSERT_EQ(reopened.QueryValueInfo(c.name, info), platform::kRegistryOk);
        EXPECT_EQ(info.type, c.type);
        EXPECT_EQ(info.size, c.data.size());
    }
}

TEST_F(RegistryHiveTest, StringsAndDwordsHaveTheirStoredForms) {
    RegistryKeyHandle key = OpenKey(u"Forms", true);
    ASSERT_EQ(key.SetString(u"text", u"A\u00e9\u20ac"), platform::kRegistryOk);
    ASSERT_EQ(key.SetString(u"blank", u""), platform::kRegistryOk);
    ASSERT_EQ(key.SetDword(u"number", 0xA1B2C3D4u), platform::kRegistryOk);
    RegistryValue value;
    ASSERT_EQ(key.QueryValue(u"text", value), platform::kRegistryOk);
    EXPECT_EQ(value.type, platform::kRegistryString);
    EXPECT_EQ(value.data, (Bytes{0x41, 0, 0xE9, 0, 0xAC, 0x20, 0, 0}));
    ASSERT_EQ(key.QueryValue(u"blank", value), platform::kRegistryOk);
    EXPECT_EQ(value.data, (Bytes{0, 0}));
    ASSERT_EQ(key.QueryValue(u"number", value), platform::kRegistryOk);
    EXPECT_EQ(value.type, platform::kRegistryDword);
    EXPECT_EQ(value.data, (Bytes{0xD4, 0xC3, 0xB2, 0xA1}));

    // Rewriting a value may change its type and size.
    ASSERT_EQ(key.SetString(u"number", u"now text"), platform::kRegistryOk);
    RegistryValueInfo info;
    ASSERT_EQ(key.QueryValueInfo(u"NUMBER", info), platform::kRegistryOk);
    EXPECT_EQ(info.type, platform::kRegistryString);
    EXPECT_EQ(info.size, 18u);
}

TEST_F(RegistryHiveTest, MissingValuesAreNotFoundAndKeysAndValuesAreSeparate) {
    RegistryKeyHandle key = OpenKey(u"Separate\\Name", true);
    RegistryKeyHandle parent = OpenKey(u"Separate", false);
    RegistryValue value;
    RegistryValueInfo info;
    EXPECT_EQ(parent.QueryValue(u"Name", value), platform::kRegistryNotFound);
    EXPECT_EQ(parent.QueryValueInfo(u"", info), platform::kRegistryNotFound);
    ASSERT_EQ(parent.SetDword(u"Name", 3), platform::kRegistryOk);
    EXPECT_EQ(key.QueryValue(u"Name", value), platform::kRegistryNotFound);
    EXPECT_EQ(Count(parent), 1u);
}

// ---------------------------------------------------------------------------
// Hive files

TEST_F(RegistryHiveTest, MissingHiveReadsAsEmptyAndTheFirstWriteCreatesIt) {
    RegistryKeyHandle root = RegistryKeyHandle::Root(RegistryHive::Machine);
    RegistryValue value;
    std::u16string name;
    EXPECT_EQ(root.QueryValue(u"", value), platform::kRegistryNotFound);
    EXPECT_EQ(root.EnumSubKey(0, name), platform::kRegistryNoMoreItems);
    EXPECT_EQ(Count(root), 0u);
    EXPECT_EQ(OpenCode(u"SOFTWARE", false), platform::kRegistryNotFound);
    EXPECT_EQ(RegistryKeyHandle::DeleteKey(root, u"SOFTWARE"), platform::kRegistryNotFound);
    EXPECT_FALSE(Exists(dir_ + "/etc"));  // reading created nothing

    ASSERT_EQ(root.SetDword(u"root value", 7), platform::kRegistryOk);
    EXPECT_TRUE(Exists(machine_path_));
    EXPECT_FALSE(Exists(machine_path_ + "-journal"));
    EXPECT_FALSE(Exists(machine_path_ + "-wal"));
    EXPECT_EQ(root.QueryValue(u"ROOT VALUE", value), platform::kRegistryOk);

    // The user hive is another file.
    EXPECT_FALSE(Exists(user_path_));
    RegistryKeyHandle user = OpenKey(u"SOFTWARE\\Vendor", true, RegistryHive::User);
    EXPECT_TRUE(Exists(user_path_));
    EXPECT_EQ(RegistryKeyHandle::Root(RegistryHive::User).QueryValue(u"root value", value),
              platform::kRegistryNotFound);
    EXPECT_EQ(OpenCode(u"SOFTWARE", false, RegistryHive::Machine), platform::kRegistryNotFound);
}

TEST_F(RegistryHiveTest, FollowsTheEnvironmentAfterAReset) {
    RegistryKeyHandle first = OpenKey(u"Key", true);
    ASSERT_EQ(first.SetDword(u"v", 1), platform::kRegistryOk);

    UseHives(dir_ + "/second/machine.hive", user_path_);
    EXPECT_EQ(OpenCode(u"Key", false), platform::kRegistryNotFound);
    EXPECT_EQ(platform::RegistryHivePath(RegistryHive::Machine), dir_ + "/second/machine.hive");
    // A handle keeps the file it was opened on.
    RegistryValue value;
    EXPECT_EQ(first.QueryValue(u"v", value), platform::kRegistryOk);
}

TEST(RegistryHivePath, DefaultsFollowTheFreedesktopLayout) {
    const char* names[] = {platform::kMachineHiveVariable, platform::kUserHiveVariable,
                           "XDG_CONFIG_HOME", "HOME"};
    std::vector<std::optional<std::string>> saved;
    for (const char* name : names) {
        const char* value = std::getenv(name);
        saved.push_back(value != nullptr ? std::optional<std::string>(value) : std::nullopt);
    }
    struct Case {
        const char* machine_variable;
        const char* user_variable;
        const char* config_home;
        const char* home;
        std::string machine;
        std::string user;
    } cases[] = {
        {nullptr, nullptr, nullptr, "/home/ann", "/etc/corekit/machine.hive",
         "/home/ann/.config/corekit/user.hive"},
        {"", "", "/cfg", "/home/ann", "/etc/corekit/machine.hive", "/cfg/corekit/user.hive"},
        {nullptr, nullptr, "relative", "/home/ann", "/etc/corekit/machine.hive",
         "/home/ann/.config/corekit/user.hive"},
        {"/srv/m.hive", "/srv/u.hive", "/cfg", "/home/ann", "/srv/m.hive", "/srv/u.hive"},
    };
    for (const Case& c : cases) {
        const char* values[] = {c.machine_variable, c.user_variable, c.config_home, c.home};
        for (std::size_t i = 0; i < std::size(names); ++i) {
            if (values[i] != nullptr) {
                setenv(names[i], values[i], 1);
            } else {
                unsetenv(names[i]);
            }
        }
        EXPECT_EQ(platform::RegistryHivePath(RegistryHive::Machine), c.machine);
        EXPECT_EQ(platform::RegistryHivePath(RegistryHive::User), c.user);
    }
    for (std::size_t i = 0; i < std::size(names); ++i) {
        if (saved[i]) {
            setenv(names[i], saved[i]->c_str(), 1);
        } else {
            unsetenv(names[i]);
        }
    }
}

TEST_F(RegistryHiveTest, AHiveFileRemovedBehindItsBackInvalidatesItsHandles) {
    RegistryKeyHandle key = OpenKey(u"Key", true);
    ASSERT_EQ(key.SetDword(u"v", 1), platform::kRegistryOk);
    ASSERT_EQ(::unlink(machine_path_.c_str()), 0);

    RegistryValue value;
    EXPECT_EQ(key.QueryValue(u"v", value), platform::kRegistryInvalidKey);
    RegistryKeyHandle root = RegistryKeyHandle::Root(RegistryHive::Machine);
    EXPECT_EQ(Count(root), 0u);
    RegistryKeyHandle fresh = OpenKey(u"Key", true);
    EXPECT_TRUE(Exists(machine_path_));
    EXPECT_EQ(key.SetDword(u"v", 2), platform::kRegistryInvalidKey);
    EXPECT_EQ(fresh.QueryValue(u"v", value), platform::kRegistryNotFound);
}

TEST_F(RegistryHiveTest, FilesThatAreNotHivesAreReportedCorrupt) {
    fs::create_directories(fs::path(machine_path_).parent_path());
    { std::ofstream(machine_path_) << "plain text, not a database\n"; }
    RegistryKeyHandle root = RegistryKeyHandle::Root(RegistryHive::Machine);
    RegistryValue value;
    EXPECT_EQ(root.QueryValue(u"v", value), platform::kRegistryCorrupt);
    EXPECT_EQ(root.SetDword(u"v", 1), platform::kRegistryCorrupt);

    // Another application's database is left alone.
    sqlite3* db = nullptr;
    fs::create_directories(fs::path(user_path_).parent_path());
    ASSERT_EQ(sqlite3_open(user_path_.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE other (x)", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    RegistryKeyHandle user = RegistryKeyHandle::Root(RegistryHive::User);
    EXPECT_EQ(user.SetDword(u"v", 1), platform::kRegistryCorrupt);
    std::u16string name;
    EXPECT_EQ(user.EnumSubKey(0, name), platform::kRegistryCorrupt);
}

// Runs the read-only checks as a user who may not write the hive: as an
// unprivileged user when the tests run as root (where file modes are not
// enforced), as the current user otherwise.
TEST_F(RegistryHiveTest, AHiveThatCannotBeWrittenStillReads) {
    struct Case {
        const char* label;
        bool file_exists;
        mode_t folder_mode;
    } cases[] = {
        {"read-only file in a read-only folder", true, 0555},
        {"read-only file in a folder anyone may write", true, 0777},
        {"no file in a read-only folder", false, 0555},
    };
    ASSERT_EQ(::chmod(dir_.c_str(), 0755), 0);
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const std::string folder = dir_ + "/ro" + std::to_string(index++);
        const std::string path = folder + "/machine.hive";
        UseHives(path, user_path_);
        if (c.file_exists) {
            RegistryKeyHandle key = OpenKey(u"Soft\\Key", true);
            ASSERT_EQ(key.SetDword(u"v", 7), platform::kRegistryOk);
            ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
        } else {
            ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
        }
        ASSERT_EQ(::chmod(folder.c_str(), c.folder_mode), 0);

        const std::string report = InChild([&]() -> std::string {
            if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
                return "SKIP: cannot drop root privileges";
            }
            if (access(folder.c_str(), W_OK) == 0 && c.folder_mode == 0555) {
                return "SKIP: folder modes are not enforced";
            }
            std::string r;
            const bool exists = c.file_exists;
            RegistryKeyHandle root = RegistryKeyHandle::Root(RegistryHive::Machine);
            int code = -1;
            RegistryKeyHandle key = RegistryKeyHandle::Open(root, u"soft\\KEY", false, &code);
            Check(r, "open existing", code,
                  exists ? platform::kRegistryOk : platform::kRegistryNotFound);
            RegistryValue value;
            if (exists) {
                Check(r, "read", key.QueryValue(u"v", value), platform::kRegistryOk);
                Check(r, "read data", value.data == Bytes{7, 0, 0, 0}, true);
                Check(r, "write", key.SetDword(u"v", 8), platform::kRegistryAccessDenied);
                RegistryKeyHandle existing = RegistryKeyHandle::Open(root, u"Soft", true, &code);
                Check(r, "create-open of an existing key", code, platform::kRegistryOk);
                Check(r, "delete", RegistryKeyHandle::DeleteKey(root, u"Soft\\Key"),
                      platform::kRegistryAccessDenied);
            }
            RegistryKeyHandle::Open(root, u"Soft\\New", true, &code);
            Check(r, "create", code, platform::kRegistryAccessDenied);
            Check(r, "write to root", root.SetDword(u"v", 1), platform::kRegistryAccessDenied);
            std::u16string name;
            Check(r, "enumerate", root.EnumSubKey(0, name),
                  exists ? platform::kRegistryOk : platform::kRegistryNoMoreItems);
            Check(r, "file appeared", Exists(path), exists);
            if (exists) {
                Check(r, "value unchanged", key.QueryValue(u"v", value), platform::kRegistryOk);
                Check(r, "data unchanged", value.data == Bytes{7, 0, 0, 0}, true);
            }
            return r;
        });
        if (report.rfind("SKIP", 0) == 0) {
            GTEST_SKIP() << report;
        }
        EXPECT_EQ(report, "");
    }
}

// ---------------------------------------------------------------------------
// Concurrency and durability

struct WriteMode {
    const char* label;
    bool batched;
};
constexpr WriteMode kWriteModes[] = {{"one transaction per write", false},
                                     {"batched writes", true}};

TEST_F(RegistryHiveTest, ConcurrentProcessesLoseNoValue) {
    constexpr int kProcesses = 4;
    constexpr int kValuesEach = 40;
    for (const WriteMode& mode : kWriteModes) {
        SCOPED_TRACE(mode.label);
        const std::string path = dir_ + "/" + (mode.batched ? "b" : "s") + "/machine.hive";
        UseHives(path, user_path_);
        std::vector<pid_t> children;
        for (int p = 0; p < kProcesses; ++p) {
            const pid_t pid = fork();
            if (pid == 0) {
                int failures = 0;
                std::optional<RegistryWriteBatch> batch;
                if (mode.batched) {
                    batch.emplace(RegistryHive::Machine);
                }
                for (int i = 0; i < kValuesEach; ++i) {
                    // Every write opens the key again, as the settings tool does.
                    int code = -1;
                    RegistryKeyHandle key =
                        RegistryKeyHandle::Open(RegistryKeyHandle::Root(RegistryHive::Machine),
                                                u"Shared\\Key", true, &code);
                    failures += code != platform::kRegistryOk;
                    failures += key.SetDword(Name("p", p * 1000 + i),
                                             static_cast<std::uint32_t>(p * 1000 + i)) != 0;
                    if (batch && i % 10 == 9) {
                        failures += batch->Commit() != 0;
                    }
                }
                batch.reset();
                _exit(failures == 0 ? 0 : 1);
            }
            children.push_back(pid);
        }
        for (const pid_t pid : children) {
            int status = 0;
            waitpid(pid, &status, 0);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        }
        EXPECT_EQ(Count(RegistryKeyHandle::Root(RegistryHive::Machine)), 1u);
        EXPECT_EQ(Count(OpenKey(u"Shared", false)), 1u);
        RegistryKeyHandle key = OpenKey(u"Shared\\Key", false);
        for (int p = 0; p < kProcesses; ++p) {
            for (int i = 0; i < kValuesEach; ++i) {
                const int n = p * 1000 + i;
                RegistryValue value;
                ASSERT_EQ(key.QueryValue(Name("p", n), value), platform::kRegistryOk) << n;
                EXPECT_EQ(value.data, (Bytes{static_cast<std::uint8_t>(n & 0xFF),
                                             static_cast<std::uint8_t>(n >> 8), 0, 0}));
            }
        }
    }
}

TEST_F(RegistryHiveTest, ThreadsShareTheConnectionSafely) {
    constexpr int kThreads = 4;
    constexpr int kValuesEach = 25;
    OpenKey(u"Threads", true);
    std::vector<std::thread> threads;
    std::atomic<int> failures{0};
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &failures] {
            for (int i = 0; i < kValuesEach; ++i) {
                int code = -1;
                RegistryKeyHandle key =
                    RegistryKeyHandle::Open(RegistryKeyHandle::Root(RegistryHive::Machine),
                                            Name("Threads\\t", t), true, &code);
                failures += code != 0;
                failures += key.SetDword(Name("v", i), static_cast<std::uint32_t>(i)) != 0;
                RegistryValue value;
                failures += key.QueryValue(Name("v", i), value) != 0;
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(Count(OpenKey(u"Threads", false)), static_cast<std::uint32_t>(kThreads));
}

// A child writes values in order (growing sizes, spread over pages, with a
// new subkey every tenth value) until it is killed at a random moment. The
// hive must then open, and hold a prefix of the writes, each value whole.
TEST_F(RegistryHiveTest, AKilledWriterLeavesAWholePrefixOfItsWrites) {
    constexpr int kMaxWrites = 1000;
    constexpr int kRounds = 6;
    const auto pattern = [](int i) {
        Bytes data(static_cast<std::size_t>(1 + (i * 7919) % 9000));
        for (std::size_t j = 0; j < data.size(); ++j) {
            data[j] = static_cast<std::uint8_t>(i * 13 + j);
        }
        return data;
    };
    std::random_device seed_source;
    const unsigned seed = seed_source();
    std::mt19937 random(seed);
    SCOPED_TRACE("seed " + std::to_string(seed));

    int round = 0;
    for (const WriteMode& mode : kWriteModes) {
        for (int r = 0; r < kRounds; ++r, ++round) {
            SCOPED_TRACE(std::string(mode.label) + ", round " + std::to_string(r));
            UseHives(dir_ + "/kill" + std::to_string(round) + "/machine.hive", user_path_);
            int ready[2];
            ASSERT_EQ(pipe(ready), 0);
            const pid_t pid = fork();
            if (pid == 0) {
                close(ready[0]);
                RegistryKeyHandle key = RegistryKeyHandle::Open(
                    RegistryKeyHandle::Root(RegistryHive::Machine), u"Kill", true, nullptr);
                std::optional<RegistryWriteBatch> batch;
                if (mode.batched) {
                    batch.emplace(RegistryHive::Machine);
                }
                (void)!write(ready[1], "r", 1);
                for (int i = 0; i < kMaxWrites; ++i) {
                    if (i % 10 == 0) {
                        RegistryKeyHandle::Open(key, Name("k", i), true, nullptr);
                    }
                    key.SetValue(Name("v", i), 3, pattern(i));
                    if (batch && i % 5 == 4) {
                        batch->Commit();
                    }
                }
                batch.reset();
                _exit(0);
            }
            close(ready[1]);
            char byte = 0;
            ASSERT_EQ(read(ready[0], &byte, 1), 1);
            close(ready[0]);
            std::this_thread::sleep_for(
                std::chrono::microseconds(std::uniform_int_distribution<int>(0, 60000)(random)));
            kill(pid, SIGKILL);
            int status = 0;
            waitpid(pid, &status, 0);

            RegistryKeyHandle key = OpenKey(u"Kill", false);
            ASSERT_TRUE(key.IsOpen());
            int written = 0;
            RegistryValue value;
            while (written < kMaxWrites &&
                   key.QueryValue(Name("v", written), value) == platform::kRegistryOk) {
                ASSERT_EQ(value.type, 3u);
                ASSERT_EQ(value.data, pattern(written)) << "value " << written;
                ++written;
            }
            for (int i = written; i < kMaxWrites; ++i) {
                ASSERT_EQ(key.QueryValue(Name("v", i), value), platform::kRegistryNotFound)
                    << "value " << i << " after a gap at " << written;
            }
            for (int i = 0; i < kMaxWrites; i += 10) {
                const int code = RegistryKeyHandle::Open(key, Name("k", i), false, nullptr).IsOpen()
                                     ? platform::kRegistryOk
                                     : platform::kRegistryNotFound;
                if (i < written) {
                    EXPECT_EQ(code, platform::kRegistryOk) << "subkey " << i;
                } else if (i > written) {
                    EXPECT_EQ(code, platform::kRegistryNotFound) << "subkey " << i;
                }
            }
            sqlite3* db = nullptr;
            ASSERT_EQ(sqlite3_open_v2(platform::RegistryHivePath(RegistryHive::Machine).c_str(),
                                      &db, SQLITE_OPEN_READONLY, nullptr),
                      SQLITE_OK);
            sqlite3_stmt* check = nullptr;
            ASSERT_EQ(sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &check, nullptr),
                      SQLITE_OK);
            ASSERT_EQ(sqlite3_step(check), SQLITE_ROW);
            EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(check, 0)), "ok");
            sqlite3_finalize(check);
            sqlite3_close(db);
        }
    }
}

std::int64_t FileSize(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? static_cast<std::int64_t>(st.st_size) : -1;
}

// A write larger than SQLite's page cache puts pages into the hive file before
// its transaction commits; a writer killed then leaves a hot journal behind.
// The next reader, which opens the hive read-only, must roll it back: the
// file shrinks to its old size and holds the state of the last commit.
TEST_F(RegistryHiveTest, AWriterKilledInsideABatchLeavesTheLastCommittedState) {
    const Bytes big(4 << 20, 0xAB);  // twice SQLite's default page cache
    std::string path;
    std::int64_t committed_size = 0;
    bool spilled = false;
    // Should the batch reach its automatic commit before the kill (a very busy
    // machine), nothing is left to roll back; the attempt is then repeated.
    for (int attempt = 0; attempt < 5 && !spilled; ++attempt) {
        UseHives(dir_ + "/crash" + std::to_string(attempt) + "/machine.hive", user_path_);
        path = platform::RegistryHivePath(RegistryHive::Machine);
        RegistryKeyHandle key = OpenKey(u"Crash", true);
        ASSERT_EQ(key.SetDword(u"before", 1), platform::kRegistryOk);
        key.Close();
        committed_size = FileSize(path);
        const pid_t pid = fork();
        if (pid == 0) {
            RegistryKeyHandle crash = RegistryKeyHandle::Open(
                RegistryKeyHandle::Root(RegistryHive::Machine), u"Crash", false, nullptr);
            RegistryWriteBatch batch(RegistryHive::Machine);
            crash.SetDword(u"before", 2);
            crash.SetValue(u"big", 3, big);
            raise(SIGKILL);
        }
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFSIGNALED(status)) << "status " << status;
        spilled = Exists(path + "-journal") && FileSize(path) > committed_size + (1 << 20);
    }
    ASSERT_TRUE(spilled);

    RegistryKeyHandle after = OpenKey(u"Crash", false);
    RegistryValue value;
    ASSERT_EQ(after.QueryValue(u"before", value), platform::kRegistryOk);
    EXPECT_EQ(value.data, (Bytes{1, 0, 0, 0}));
    EXPECT_EQ(after.QueryValue(u"big", value), platform::kRegistryNotFound);
    EXPECT_FALSE(Exists(path + "-journal"));
    EXPECT_EQ(FileSize(path), committed_size);
}

// ---------------------------------------------------------------------------
// Batches

// What another process sees of value `name` under key Batch: its first byte,
// or -1 when it is missing.
int SeenByAnotherProcess(const std::u16string& name) {
    const std::string report = InChild([&] {
        RegistryKeyHandle key = RegistryKeyHandle::Open(
            RegistryKeyHandle::Root(RegistryHive::Machine), u"Batch", false, nullptr);
        RegistryValue value;
        if (key.QueryValue(name, value) != platform::kRegistryOk) {
            return std::string("-1");
        }
        return std::to_string(value.data.empty() ? -2 : value.data[0]);
    });
    return std::atoi(report.c_str());
}

TEST_F(RegistryHiveTest, BatchedWritesReachOtherProcessesWhenCommitted) {
    RegistryKeyHandle key = OpenKey(u"Batch", true);
    {
        RegistryWriteBatch outer(RegistryHive::Machine);
        ASSERT_EQ(key.SetDword(u"a", 1), platform::kRegistryOk);
        {
            RegistryWriteBatch inner(RegistryHive::Machine);
            ASSERT_EQ(key.SetDword(u"b", 2), platform::kRegistryOk);
        }
        // This process sees its own writes at once; others only after a commit.
        RegistryValue value;
        EXPECT_EQ(key.QueryValue(u"b", value), platform::kRegistryOk);
        EXPECT_EQ(SeenByAnotherProcess(u"a"), -1);
        EXPECT_EQ(SeenByAnotherProcess(u"b"), -1);
        ASSERT_EQ(outer.Commit(), platform::kRegistryOk);
        EXPECT_EQ(SeenByAnotherProcess(u"b"), 2);

        ASSERT_EQ(key.SetDword(u"c", 3), platform::kRegistryOk);
        EXPECT_EQ(SeenByAnotherProcess(u"c"), -1);
    }
    EXPECT_EQ(SeenByAnotherProcess(u"c"), 3);
}

TEST_F(RegistryHiveTest, ABatchCommitsOnItsOwnAfterAWhile) {
    RegistryKeyHandle key = OpenKey(u"Batch", true);
    RegistryWriteBatch batch(RegistryHive::Machine);
    ASSERT_EQ(key.SetDword(u"early", 1), platform::kRegistryOk);
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    ASSERT_EQ(key.SetDword(u"late", 2), platform::kRegistryOk);
    EXPECT_EQ(SeenByAnotherProcess(u"early"), 1);
    EXPECT_EQ(SeenByAnotherProcess(u"late"), 2);
}

TEST_F(RegistryHiveTest, AnotherWriterWaitsForABatchInsteadOfFailing) {
    RegistryKeyHandle key = OpenKey(u"Batch", true);
    int go[2];
    ASSERT_EQ(pipe(go), 0);
    // The other writer starts before the batch opens its transaction: a
    // process forked while a transaction is open cannot write to that hive.
    const pid_t pid = fork();
    if (pid == 0) {
        close(go[1]);
        char byte = 0;
        if (read(go[0], &byte, 1) != 1) {
            _exit(2);
        }
        RegistryKeyHandle other = RegistryKeyHandle::Open(
            RegistryKeyHandle::Root(RegistryHive::Machine), u"Batch", true, nullptr);
        _exit(other.SetDword(u"theirs", 2) == platform::kRegistryOk ? 0 : 1);
    }
    close(go[0]);
    int status = 0;
    {
        RegistryWriteBatch batch(RegistryHive::Machine);
        EXPECT_EQ(key.SetDword(u"mine", 1), platform::kRegistryOk);
        EXPECT_EQ(write(go[1], "g", 1), 1);
        close(go[1]);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        EXPECT_EQ(waitpid(pid, &status, WNOHANG), 0) << "the other writer did not wait";
    }
    EXPECT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(SeenByAnotherProcess(u"mine"), 1);
    EXPECT_EQ(SeenByAnotherProcess(u"theirs"), 2);
}

}  // namespace
