// The parser component factories, each scenario in a fresh process with a
// settings hive that turns the traces on (or leaves them off).
#include <gtest/gtest.h>

#include <filesystem>

#include "ChildProcess.h"
#include "TempDir.h"
#include "modules/system/RegKey.h"
#include "platform/RegistryHive.h"

namespace {

const std::string kProgram = std::string(COREKIT_TEST_PROGRAM_DIR) + "/parser_factories";
const std::string kExit = "0 Application '" + kProgram + "' finished.\n";

class ParserFactories : public testing::Test {
protected:
    std::string Run(const std::string& scenario, bool trace = true) {
        TempDir dir;
        const std::string hive = dir.File("machine.hive");
        setenv("COREKIT_MACHINE_HIVE", hive.c_str(), 1);
        setenv("COREKIT_USER_HIVE", dir.File("user.hive").c_str(), 1);
        platform::ResetRegistryConnections();
        if (trace) {
            RegKey core(RegKey::LocalMachine(), u"SOFTWARE\\Tamsil\\Core", true);
            EXPECT_TRUE(core.SetString(u"Log Trace Diagnostics", System::String(u"True")));
        }
        platform::ResetRegistryConnections();
        const ChildResult r = RunChild(
            kProgram, {scenario},
            {{"COREKIT_MACHINE_HIVE", hive}, {"COREKIT_USER_HIVE", dir.File("user.hive")}});
        unsetenv("COREKIT_MACHINE_HIVE");
        unsetenv("COREKIT_USER_HIVE");
        EXPECT_EQ(r.status, 0) << r.err;
        return r.out;
    }
};

TEST_F(ParserFactories, Version4IsChosenOnceAndTracedOnce) {
    EXPECT_EQ(Run("both"),
              "v4 0\n"
              "3 Using SAXXMLReader40\nreader ok\n"
              "3 Using MXXMLWriter40\nwriter ok\n"
              "3 Using SAXAttributes40\nattributes ok\n"
              "3 Using FreeThreadedDOMDocument40\ndocument ok\n"
              "reader ok\nwriter ok\nattributes ok\ndocument ok\n"
              "v4 1\n" +
                  kExit);
}

TEST_F(ParserFactories, WithTracesOffNothingIsLogged) {
    EXPECT_EQ(Run("both", false),
              "v4 0\nreader ok\nwriter ok\nattributes ok\ndocument ok\n"
              "reader ok\nwriter ok\nattributes ok\ndocument ok\nv4 1\n" +
                  kExit);
}

TEST_F(ParserFactories, Only30) {
    EXPECT_EQ(Run("only30"),
              "3 Using SAXXMLReader30\nreader ok\nv4 0\nreader ok\nprobes 1\n" + kExit);
}

TEST_F(ParserFactories, NeitherRaisesTheComErrorAndProbesAgain) {
    EXPECT_EQ(Run("neither"), "reader com 80040154\nreader com 80040154\n" + kExit);
}

TEST_F(ParserFactories, NoInterfaceTracesThenRaisesTheCoreError) {
    EXPECT_EQ(Run("nointerface"),
              "3 Using MXXMLWriter30\n1 MSXML 3.0 or 4.0 is not installed.\n"
              "writer core MSXML 3.0 or 4.0 is not installed.\n" +
                  kExit);
}

TEST_F(ParserFactories, AFailingCreationRaisesItsCode) {
    EXPECT_EQ(Run("failing30"), "attributes com 80004005\n" + kExit);
}

TEST_F(ParserFactories, TheChosenVersionIsNeverSwapped) {
    EXPECT_EQ(Run("chosen4removed"),
              "3 Using SAXXMLReader40\nreader ok\nreader com 80040154\n" + kExit);
}

TEST_F(ParserFactories, NewParserOnlyFor40Documents) {
    EXPECT_EQ(Run("newparser4", false), "new parser 1\nnew parser 1\nnew parser 0\n" + kExit);
    EXPECT_EQ(Run("newparser3", false), "new parser 0\n" + kExit);
}

}  // namespace
