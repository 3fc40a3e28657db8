#include "modules/system/RegKey.h"

#include <gtest/gtest.h>

#include "TempDir.h"
#include "platform/RegistryHive.h"
#include "services/ECoreException.h"

namespace {

class RegKeyTest : public testing::Test {
protected:
    void SetUp() override {
        setenv("COREKIT_MACHINE_HIVE", dir.File("m/machine.hive").c_str(), 1);
        setenv("COREKIT_USER_HIVE", dir.File("u/user.hive").c_str(), 1);
        platform::ResetRegistryConnections();
    }
    void TearDown() override {
        platform::ResetRegistryConnections();
        unsetenv("COREKIT_MACHINE_HIVE");
        unsetenv("COREKIT_USER_HIVE");
    }
    TempDir dir;
};

TEST_F(RegKeyTest, AMissingKeyWithoutCreateHasNoHandle) {
    RegKey key(RegKey::LocalMachine(), u"SOFTWARE\\Missing", false);
    EXPECT_FALSE(key.IsOpen());
    EXPECT_EQ(std::u16string(key.GetName().View()), u"SOFTWARE\\Missing");
    std::uint32_t number = 5;
    System::String text(u"unchanged");
    bool flag = true;
    EXPECT_FALSE(key.GetDword(u"v", number));
    EXPECT_FALSE(key.GetString(u"v", text));
    EXPECT_FALSE(key.GetBool(u"v", flag));
    EXPECT_FALSE(key.SetString(u"v", System::String(u"x")));
    EXPECT_FALSE(key.SetDword(u"v", 1));
    EXPECT_EQ(key.GetSubKeyCount(), 0u);
    EXPECT_EQ(number, 5u);
    EXPECT_EQ(std::u16string(text.View()), u"unchanged");
    EXPECT_EQ(std::u16string(RegKey(RegKey::LocalMachine(), nullptr, false).GetName().View()), u"");
}

TEST_F(RegKeyTest, CreateMakesEveryLevelAndValuesRoundTrip) {
    RegKey key(RegKey::CurrentUser(), u"A\\B\\C\\D", true);
    ASSERT_TRUE(key.IsOpen());
    EXPECT_TRUE(key.SetString(u"text", System::String(u"h\u00e9llo")));
    EXPECT_TRUE(key.SetString(nullptr, System::String(u"default")));
    EXPECT_TRUE(key.SetDword(u"n", 0xDEADBEEF));

    const RegKey again(RegKey::CurrentUser(), u"a\\b\\c\\d", false);  // names ignore case
    ASSERT_TRUE(again.IsOpen());
    System::String text;
    EXPECT_TRUE(again.GetString(u"TEXT", text));
    EXPECT_EQ(std::u16string(text.View()), u"h\u00e9llo");
    EXPECT_TRUE(again.GetString(u"", text));
    EXPECT_EQ(std::u16string(text.View()), u"default");
    std::uint32_t n = 0;
    EXPECT_TRUE(again.GetDword(u"n", n));
    EXPECT_EQ(n, 0xDEADBEEF);
    EXPECT_FALSE(again.GetDword(u"text", n));  // a string is not a DWORD
    EXPECT_TRUE(again.GetString(u"n", text));  // any value's bytes read as text
    platform::RegistryValueInfo info;
    ASSERT_EQ(again.GetHandle().QueryValueInfo(u"text", info), 0);
    EXPECT_EQ(info.size, 2u * (5 + 1));
    EXPECT_EQ(RegKey(RegKey::CurrentUser(), u"A\\B", false).GetSubKeyCount(), 1u);
}

TEST_F(RegKeyTest, GetStringEdgeCases) {
    RegKey key(RegKey::LocalMachine(), u"K", true);
    const auto& h = key.GetHandle();
    const std::uint8_t inner[] = {'a', 0, 0, 0, 'b', 0};
    const std::uint8_t odd[] = {'a', 0, 'b'};
    const std::uint8_t one[] = {'a'};
    ASSERT_EQ(h.SetValue(u"inner", 3, inner), 0);
    ASSERT_EQ(h.SetValue(u"odd", 3, odd), 0);
    ASSERT_EQ(h.SetValue(u"one", 3, one), 0);
    ASSERT_EQ(h.SetValue(u"empty", 3, {}), 0);
    System::String text(u"before");
    EXPECT_TRUE(key.GetString(u"empty", text));
    EXPECT_EQ(std::u16string(text.View()), u"before");  // 0 bytes: unchanged
    EXPECT_TRUE(key.GetString(u"inner", text));
    EXPECT_EQ(std::u16string(text.View()), u"a");
    EXPECT_TRUE(key.GetString(u"odd", text));
    EXPECT_EQ(std::u16string(text.View()), u"a");  // the odd byte is not a unit
    EXPECT_FALSE(key.GetString(u"one", text));
    EXPECT_FALSE(key.GetString(u"missing", text));
}

TEST_F(RegKeyTest, GetBool) {
    RegKey key(RegKey::LocalMachine(), u"K", true);
    struct Case {
        const char16_t* text;
        bool ok;
        bool value;
    } cases[] = {{u"True", true, true},  {u"tRUE", true, true}, {u"FALSE", true, false},
                 {u"yes", false, false}, {u"1", false, false},  {u" True", false, false},
                 {u"", false, false}};
    for (const auto& c : cases) {
        ASSERT_TRUE(key.SetString(u"b", System::String(c.text)));
        bool value = !c.value;
        const bool ok = key.GetBool(u"b", value);
        EXPECT_EQ(ok, c.ok) << std::u16string(c.text).size();
        EXPECT_EQ(value, ok ? c.value : !c.value);  // unchanged on failure
    }
    ASSERT_TRUE(key.SetString(u"long", System::String(std::u16string(63, u' '))));
    bool value = false;
    EXPECT_FALSE(key.GetBool(u"long", value));
    ASSERT_TRUE(key.SetString(u"long", System::String(u"True" + std::u16string(60, u'x'))));
    EXPECT_FALSE(key.GetBool(u"long", value));  // 64 units and a null: 130 bytes
    ASSERT_TRUE(key.SetDword(u"d", 1));
    EXPECT_FALSE(key.GetBool(u"d", value));
}

TEST_F(RegKeyTest, OpenSubKeyEnumeratesInNameOrder) {
    RegKey parent(RegKey::LocalMachine(), u"P", true);
    for (const char16_t* name : {u"beta", u"Alpha", u"gamma"}) {
        RegKey(parent.GetHandle(), name, true);
    }
    ASSERT_EQ(parent.GetSubKeyCount(), 3u);
    std::vector<std::u16string> names;
    for (std::uint32_t i = 0; i < 3; ++i) {
        const SmartPtr<RegKey> child = parent.OpenSubKey(i);
        EXPECT_EQ(child->GetRefCount(), 1);
        EXPECT_TRUE(child->IsOpen());
        names.emplace_back(child->GetName().View());
    }
    EXPECT_EQ(names, (std::vector<std::u16string>{u"Alpha", u"beta", u"gamma"}));
    try {
        parent.OpenSubKey(3);
        FAIL();
    } catch (const ECoreException& e) {
        EXPECT_EQ(e.GetMessageText(),
                  u"Can't enumerate registry key content: No more data is available..");
    }
}

TEST_F(RegKeyTest, DeleteTree) {
    EXPECT_TRUE(RegKey::DeleteTree(RegKey::LocalMachine(), u"Nothing\\Here"));
    for (const char16_t* path : {u"T\\a\\x\\1", u"T\\a\\y", u"T\\b", u"Keep"}) {
        RegKey key(RegKey::LocalMachine(), path, true);
        ASSERT_TRUE(key.SetString(u"v", System::String(u"x")));
    }
    EXPECT_TRUE(RegKey::DeleteTree(RegKey::LocalMachine(), u"T"));
    EXPECT_FALSE(RegKey(RegKey::LocalMachine(), u"T", false).IsOpen());
    EXPECT_TRUE(RegKey(RegKey::LocalMachine(), u"Keep", false).IsOpen());
    EXPECT_EQ(RegKey(RegKey::LocalMachine(), nullptr, false).GetSubKeyCount(), 1u);
}

}  // namespace
