#include "services/Settings.h"

#include <gtest/gtest.h>

#include "ChildProcess.h"
#include "TempDir.h"
#include "modules/system/RegKey.h"
#include "platform/RegistryHive.h"

namespace {

const std::string kPrintSettings = std::string(COREKIT_TEST_PROGRAM_DIR) + "/print_settings";
const std::string kDefaults = "trace=0/0/0 validation=1 maxsize=0 idle=10\n";

class Settings : public testing::Test {
protected:
    void SetUp() override {
        env = {{"COREKIT_MACHINE_HIVE", dir.File("machine/m.hive")},
               {"COREKIT_USER_HIVE", dir.File("user/u.hive")}};
        for (const auto& [name, value] : env)
            setenv(name.c_str(), value.c_str(), 1);
        platform::ResetRegistryConnections();
    }
    void TearDown() override {
        platform::ResetRegistryConnections();
        for (const auto& [name, value] : env)
            unsetenv(name.c_str());
    }

    static void SetString(const RegKey::Handle& hive, const char16_t* section, const char16_t* name,
                          const char16_t* text) {
        RegKey key(hive, (std::u16string(kSettingsRootPath) + section).c_str(), true);
        ASSERT_TRUE(key.SetString(name, System::String(text)));
    }
    static void SetDword(const RegKey::Handle& hive, const char16_t* section, const char16_t* name,
                         std::uint32_t value) {
        RegKey key(hive, (std::u16string(kSettingsRootPath) + section).c_str(), true);
        ASSERT_TRUE(key.SetDword(name, value));
    }

    std::string Started() {
        platform::ResetRegistryConnections();
        const ChildResult r = RunChild(kPrintSettings, {}, env);
        EXPECT_EQ(r.status, 0);
        return r.out;
    }

    TempDir dir;
    std::map<std::string, std::string> env;
};

TEST_F(Settings, DefaultsWithoutAnyHive) {
    EXPECT_EQ(Started(), kDefaults);
}

TEST_F(Settings, UserHiveWinsOverMachineHive) {
    SetString(RegKey::CurrentUser(), u"LXml", u"Enable Validation", u"fAlSe");
    SetString(RegKey::LocalMachine(), u"LXml", u"Enable Validation", u"True");
    SetDword(RegKey::LocalMachine(), u"Core", u"Idle timeout", 30);
    SetDword(RegKey::CurrentUser(), u"Core", u"Idle timeout", 5);
    SetDword(RegKey::LocalMachine(), u"LXml", u"Max Document Size", 1000);
    SetString(RegKey::LocalMachine(), u"Core", u"Log Trace Diagnostics", u"TRUE");
    EXPECT_EQ(Started(), "trace=1/1/1 validation=0 maxsize=1000 idle=5\n");
}

TEST_F(Settings, MalformedValuesCountAsAbsent) {
    SetDword(RegKey::CurrentUser(), u"LXml", u"Enable Validation", 0);            // wrong type
    SetString(RegKey::CurrentUser(), u"Core", u"Log Trace Diagnostics", u"yes");  // not a boolean
    SetString(RegKey::CurrentUser(), u"Core", u"Idle timeout", u"20");            // wrong type
    SetString(RegKey::CurrentUser(), u"LXml", u"Max Document Size", u"5");
    EXPECT_EQ(Started(), kDefaults);
    // An absent user value falls through to the machine hive.
    SetDword(RegKey::LocalMachine(), u"Core", u"Idle timeout", 42);
    EXPECT_EQ(Started(), "trace=0/0/0 validation=1 maxsize=0 idle=42\n");
}

TEST_F(Settings, ReadFunctions) {
    SetString(RegKey::LocalMachine(), u"S", u"flag", u"false");
    SetString(RegKey::CurrentUser(), u"S", u"flag", u"true");
    SetDword(RegKey::LocalMachine(), u"S", u"n", 7);
    platform::ResetRegistryConnections();
    EXPECT_TRUE(ReadBoolSetting(u"S", u"flag", false));
    EXPECT_FALSE(ReadMachineBoolSetting(u"S", u"flag", true));
    EXPECT_EQ(ReadIntSetting(u"S", u"n", 1), 7u);
    EXPECT_EQ(ReadMachineIntSetting(u"S", u"missing", 9), 9u);
    EXPECT_EQ(ReadIntSetting(u"Nothing", u"n", 3), 3u);
}

TEST_F(Settings, EveryProgramReadsThemAtStartUp) {
    // A program that calls nothing of the library still carries the
    // start-up reads: the linker did not drop the settings modules.
    const ChildResult symbols =
        RunChild("/usr/bin/nm", {"-C", std::string(COREKIT_TEST_PROGRAM_DIR) + "/no_references"});
    ASSERT_EQ(symbols.status, 0);
    for (const char* variable :
         {"ServiceSettings::idleTimeoutSeconds", "LoaderSettings::enableValidation",
          "LoaderSettings::maxDocumentSize", "ParserSettings::traceComponentChoice",
          "ValidatorSettings::measureTime", "System::MessageTable::Rows"}) {
        EXPECT_NE(symbols.out.find(variable), std::string::npos) << variable;
    }
}

TEST_F(Settings, ChangesShowAtTheNextStart) {
    EXPECT_EQ(Started(), kDefaults);
    SetDword(RegKey::CurrentUser(), u"Core", u"Idle timeout", 11);
    EXPECT_EQ(Started(), "trace=0/0/0 validation=1 maxsize=0 idle=11\n");
}

}  // namespace
