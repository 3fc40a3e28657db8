#include "modules/system/Application.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "RecordingListener.h"
#include "modules/system/Exception.h"

namespace {

TEST(Application, WithoutListenersNothingIsWanted) {
    for (std::int32_t kind = 0; kind <= 3; ++kind)
        EXPECT_FALSE(System::IsMessageWanted(kind));
    System::PublishMessage(2, System::String(u"nobody hears this"));
    EXPECT_THROW(COREKIT_RAISE(System::Exception(1021)), System::Exception);
}

TEST(Application, IsMessageWantedStopsAtTheFirstYes) {
    auto* tracesOnly = new RecordingListener([](std::int32_t k) { return k == 3; });
    auto* everything = new RecordingListener;
    ScopedListener first(tracesOnly);
    ScopedListener second(everything);

    EXPECT_TRUE(System::IsMessageWanted(3));
    EXPECT_EQ(tracesOnly->wantsCalls, 1);
    EXPECT_EQ(everything->wantsCalls, 0);  // not asked after a yes

    EXPECT_TRUE(System::IsMessageWanted(2));
    EXPECT_EQ(everything->wantsCalls, 1);
}

TEST(Application, KindThreeOnlyListener) {
    ScopedListener listener(new RecordingListener([](std::int32_t k) { return k == 3; }));
    EXPECT_TRUE(System::IsMessageWanted(3));
    EXPECT_FALSE(System::IsMessageWanted(2));
}

TEST(Application, PublishReachesListenersInOrderWithSharedText) {
    std::vector<int> order;
    auto* a = new RecordingListener;
    auto* b = new RecordingListener;
    a->onReceive = [&](std::int32_t) { order.push_back(1); };
    b->onReceive = [&](std::int32_t) { order.push_back(2); };
    ScopedListener first(a);
    ScopedListener second(b);
    System::PublishWarning(System::String(u"careful"));
    System::PublishTrace(System::String(u"detail"));
    EXPECT_EQ(order, (std::vector<int>{1, 2, 1, 2}));
    EXPECT_EQ(a->messages,
              (std::vector<RecordingListener::Message>{{2, u"careful"}, {3, u"detail"}}));
    EXPECT_EQ(b->messages, a->messages);
}

TEST(Application, TheListKeepsListenersAlive) {
    class Counted : public RecordingListener {
    public:
        explicit Counted(bool* destroyed) : destroyed_(destroyed) {}
        ~Counted() override { *destroyed_ = true; }

    private:
        bool* destroyed_;
    };
    bool destroyed = false;
    auto* listener = new Counted(&destroyed);
    System::AddMessageListener(listener);  // the list holds the only reference
    EXPECT_EQ(listener->GetRefCount(), 1);
    System::PublishInformation(System::String(u"hi"));
    EXPECT_FALSE(destroyed);
    EXPECT_TRUE(System::RemoveMessageListener(listener));
    EXPECT_TRUE(destroyed);
    EXPECT_FALSE(System::RemoveMessageListener(listener));
}

TEST(Application, NullListenerIsRefused) {
    const std::size_t before = System::Application::Instance().ListenerCount();
    EXPECT_THROW(System::AddMessageListener(nullptr), System::NullPointerException);
    EXPECT_EQ(System::Application::Instance().ListenerCount(), before);
}

TEST(Application, AThrowingListenerStopsTheWalkAndReachesThePublisher) {
    auto* thrower = new RecordingListener;
    thrower->onReceive = [](std::int32_t) { throw std::runtime_error("listener failed"); };
    auto* after = new RecordingListener;
    ScopedListener first(thrower);
    ScopedListener second(after);
    EXPECT_THROW(System::PublishWarning(System::String(u"x")), std::runtime_error);
    EXPECT_TRUE(after->messages.empty());
}

TEST(Application, AListenerThatRaisesOnEveryMessageDoesNotRecurseForever) {
    auto* raiser = new RecordingListener;
    raiser->onReceive = [](std::int32_t) { COREKIT_RAISE(System::Exception(1021)); };
    ScopedListener listener(raiser);
    EXPECT_THROW(System::PublishWarning(System::String(u"x")), System::Exception);
    EXPECT_LE(raiser->messages.size(), 17u);
}

TEST(Application, AListenerMayRemoveItselfWhileCalled) {
    auto* once = new RecordingListener;
    SmartPtr<RecordingListener> keep(once);
    once->onReceive = [&](std::int32_t) { System::RemoveMessageListener(once); };
    auto* after = new RecordingListener;
    System::AddMessageListener(once);
    ScopedListener second(after);
    System::PublishWarning(System::String(u"a"));
    System::PublishWarning(System::String(u"b"));
    EXPECT_EQ(once->messages.size(), 1u);
    EXPECT_EQ(after->messages.size(), 2u);
}

// Runs a test program and returns what it printed and its exit status.
std::pair<std::string, int> RunProgram(const std::string& program) {
    const std::string path = std::string(COREKIT_TEST_PROGRAM_DIR) + "/" + program;
    FILE* pipe = popen(path.c_str(), "r");
    EXPECT_NE(pipe, nullptr);
    std::string out;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe))
        out += buffer;
    const int status = pclose(pipe);
    return {out, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

TEST(Application, ClosingMessageNamesTheProgramWithItsFullPath) {
    const auto [out, status] = RunProgram("publish_at_exit");
    EXPECT_EQ(status, 0);
    const std::string path = std::string(COREKIT_TEST_PROGRAM_DIR) + "/publish_at_exit";
    EXPECT_EQ(out, "1 Null pointer exception\n0 Application '" + path + "' finished.\n");
}

TEST(Application, LookupOfAMissingMessageEndsTheProcessWithCodeOne) {
    const auto [out, status] = RunProgram("lookup_missing_message");
    EXPECT_EQ(status, 1);
    const std::string path = std::string(COREKIT_TEST_PROGRAM_DIR) + "/lookup_missing_message";
    // No message of its own; exit-time destruction still publishes the
    // closing message.
    EXPECT_EQ(out, "before\n0 Application '" + path + "' finished.\n");
}

}  // namespace
