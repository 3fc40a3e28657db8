#include "xml/io/NamespaceRegistry.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>

#include "RecordingListener.h"
#include "modules/system/ModulePath.h"
#include "services/ECoreException.h"
#include "xml/model/XmlNamespace.h"

namespace {

std::atomic<int> g_plotsLoads{0};

}  // namespace

// Called by the initialisers of the test modules (the plots stand-in).
extern "C" void CorekitTestModuleLoaded(const char* name) {
    if (std::string(name) == "plots")
        g_plotsLoads++;
}

namespace {

const System::String kSvg(u"http://www.w3.org/2000/svg");

std::string ProgramDirectory() {
    const auto dir = GetModuleDirectory();
    return std::string(dir.View().begin(), dir.View().end());
}

TEST(NamespaceRegistry, AKnownNamespaceLoadsItsModuleOnce) {
    // The real drawing module: its initialisers register the SVG namespace
    // object with the element factories of its classes.
    XmlNamespace* svg = LookupNamespace(kSvg);
    ASSERT_NE(svg, nullptr);
    EXPECT_EQ(std::u16string(svg->GetUri()), kSvg.View());
    EXPECT_EQ(std::u16string(svg->GetPrefix()), u"svg");
    EXPECT_TRUE(svg->HasFactory(u"rect"));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(LookupNamespace(kSvg), svg);
}

TEST(NamespaceRegistry, ThreadsMeetingANewNamespaceLoadItOnce) {
    std::vector<XmlNamespace*> found(4);
    // Each thread overwrites its entry.
    std::vector<XmlNamespace*> plots(4, &XmlNamespace::Any());
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; ++i)
        threads.emplace_back([&, i] {
            // Strings are handed between threads as unique copies.
            const System::String uri(u"http://www.w3.org/2000/svg");
            found[i] = LookupNamespace(uri);
            // A module that registers nothing is loaded at every lookup.
            plots[i] = LookupNamespace(System::String(u"urn:tamsil:plots"));
        });
    for (auto& t : threads)
        t.join();
    for (XmlNamespace* ns : found)
        EXPECT_EQ(ns, found[0]);
    ASSERT_NE(found[0], nullptr);
    EXPECT_TRUE(found[0]->HasFactory(u"rect"));
    for (XmlNamespace* ns : plots)
        EXPECT_EQ(ns, nullptr);
    EXPECT_EQ(g_plotsLoads, 1);
}

TEST(NamespaceRegistry, UnknownUrisAreReportedAtEveryLookup) {
    ScopedListener listener(new RecordingListener);
    EXPECT_EQ(LookupNamespace(System::String(u"HTTP://www.w3.org/2000/svg")), nullptr);
    EXPECT_EQ(LookupNamespace(System::String(u"urn:nobody")), nullptr);
    EXPECT_EQ(LookupNamespace(System::String(u"urn:nobody")), nullptr);
    EXPECT_EQ(listener->messages, (std::vector<RecordingListener::Message>{
                                      {2, u"Unknown namespace URI: 'HTTP://www.w3.org/2000/svg'"},
                                      {2, u"Unknown namespace URI: 'urn:nobody'"},
                                      {2, u"Unknown namespace URI: 'urn:nobody'"}}));
}

TEST(NamespaceRegistry, AModuleThatRegistersNothingGivesNoneSilently) {
    ScopedListener listener(new RecordingListener);
    EXPECT_EQ(LookupNamespace(System::String(u"urn:tamsil:plots")), nullptr);
    EXPECT_EQ(LookupNamespace(System::String(u"urn:tamsil:plots")), nullptr);
    EXPECT_EQ(g_plotsLoads, 1);  // the system hands back the loaded library
    EXPECT_TRUE(listener->messages.empty());
}

TEST(NamespaceRegistry, MissingAndBrokenModulesRaiseWithTheFullPath) {
    const std::string missing = ProgramDirectory() + "/libshapes.so";
    ASSERT_FALSE(std::filesystem::exists(missing));
    for (int attempt = 0; attempt < 2; ++attempt) {  // tried again each time
        try {
            LookupNamespace(System::String(u"urn:schemas-microsoft-com:vml"));
            FAIL();
        } catch (const ECoreException& e) {
            EXPECT_EQ(e.GetMessageText(),
                      u"Can't load module " + std::u16string(missing.begin(), missing.end()));
        }
    }
    // A file that is not a shared library.
    const std::string garbage = ProgramDirectory() + "/libcorekit-test-garbage.so";
    std::ofstream(garbage) << "not a library";
    EXPECT_THROW(LoadNamespaceModule(System::String(u"libcorekit-test-garbage.so")),
                 ECoreException);
    std::filesystem::remove(garbage);
}

TEST(NamespaceRegistry, RegisteringAgainKeepsTheLaterObject) {
    static XmlNamespace first(u"a", u"urn:corekit:test:twice");
    EXPECT_EQ(LookupNamespace(System::String(u"urn:corekit:test:twice")), &first);
    static XmlNamespace second(u"b", u"urn:corekit:test:twice");
    EXPECT_EQ(LookupNamespace(System::String(u"urn:corekit:test:twice")), &second);
}

TEST(NamespaceRegistry, FrameworkNamespacesAreDistinctAndRegistered) {
    EXPECT_EQ(LookupNamespace(System::String(kFrameworkNamespaceUri)), &XmlNamespace::Framework());
    EXPECT_EQ(LookupNamespace(System::String(kAnyNamespaceUri)), &XmlNamespace::Any());
    EXPECT_EQ(std::u16string(XmlNamespace::Framework().GetPrefix()), u"xcr");
    EXPECT_EQ(std::u16string(XmlNamespace::Any().GetPrefix()), u"any");
    EXPECT_EQ(XmlNamespace::Any().CreateObject(nullptr, u"nothing"), nullptr);
    EXPECT_EQ(GetLibraryModule(), nullptr);  // linked into the program
}

}  // namespace
