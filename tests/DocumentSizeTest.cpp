// "Max Document Size": with the setting on, factories and text appends
// report to the root what they add; with it off nothing is reported.
#include <gtest/gtest.h>

#include "ChildProcess.h"
#include "TempDir.h"
#include "modules/system/RegKey.h"
#include "platform/RegistryHive.h"
#include "services/Settings.h"

namespace {

const std::string kProgram = std::string(COREKIT_TEST_PROGRAM_DIR) + "/document_sizes";

TEST(DocumentSize, ReportsFollowTheSetting) {
    TempDir dir;
    const std::map<std::string, std::string> env = {{"COREKIT_MACHINE_HIVE", dir.File("m.hive")},
                                                    {"COREKIT_USER_HIVE", dir.File("u.hive")}};
    const ChildResult off = RunChild(kProgram, {}, env);
    ASSERT_EQ(off.status, 0) << off.err;
    EXPECT_EQ(off.out.substr(0, off.out.find(" object")), "sizes=0 total=0");

    setenv("COREKIT_USER_HIVE", env.at("COREKIT_USER_HIVE").c_str(), 1);
    platform::ResetRegistryConnections();
    {
        RegKey key(RegKey::CurrentUser(), (std::u16string(kSettingsRootPath) + u"LXml").c_str(),
                   true);
        ASSERT_TRUE(key.SetDword(u"Max Document Size", 1000000));
    }
    platform::ResetRegistryConnections();
    unsetenv("COREKIT_USER_HIVE");

    const ChildResult on = RunChild(kProgram, {}, env);
    ASSERT_EQ(on.status, 0) << on.err;
    const auto object = std::stoul(on.out.substr(on.out.find("object=") + 7));
    // One object from the factory, then 2 x 3 and 2 x 5 bytes of text.
    EXPECT_EQ(on.out, "sizes=3 total=" + std::to_string(object + 16) +
                          " object=" + std::to_string(object) + "\n");
}

}  // namespace
