#include "services/Logger.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "RecordingListener.h"
#include "services/CoreError.h"

namespace {

using Message = RecordingListener::Message;

TEST(Logger, TracesAreFormattedOnlyWhenWanted) {
    // A format argument whose formatting would be observable: a listener
    // that counts the kinds it is asked for and records what it receives.
    ScopedListener warningsOnly(new RecordingListener([](std::int32_t k) { return k == 2; }));
    LogTrace(u"trace %d", 1);
    LogWarning(u"warning %s", u"two");
    EXPECT_EQ(warningsOnly->messages, (std::vector<Message>{{2, u"warning two"}}));
}

TEST(Logger, WriteChecksTheKind) {
    ScopedListener listener(new RecordingListener);
    Logger::Write(0, u"abcdef", 3);
    EXPECT_EQ(listener->messages, (std::vector<Message>{{0, u"abc"}}));
    try {
        Logger::Write(4, u"x", 1);
        FAIL();
    } catch (const System::UnreacheableCodeException& e) {
        EXPECT_STREQ(e.GetSourceFile(), "Logger");
    }
    EXPECT_THROW(Logger::Write(-1, u"x", 1), System::UnreacheableCodeException);
}

TEST(Logger, EmptyResultsPublishNothing) {
    ScopedListener listener(new RecordingListener);
    LogWarning(u"");
    LogWarning(u"%s", u"");
    EXPECT_TRUE(listener->messages.empty());
}

TEST(Logger, LongTextsAreCutTo2047Units) {
    ScopedListener listener(new RecordingListener);
    const std::u16string long3000(3000, u'x');
    LogWarning(u"%s", long3000);
    try {
        RaiseCoreError(u"%s", long3000);
    } catch (const ECoreException& e) {
        EXPECT_EQ(e.GetMessageText(), std::u16string(2047, u'x'));
    }
    ASSERT_EQ(listener->messages.size(), 2u);
    EXPECT_EQ(listener->messages[0].text.size(), 2047u);
    EXPECT_EQ(listener->messages[1], (Message{1, std::u16string(2047, u'x')}));
}

TEST(Logger, AThrowingListenerIsReplacedByTheFallbackText) {
    auto* fragile = new RecordingListener;
    fragile->onReceive = [](std::int32_t kind) {
        if (kind == 2)
            throw std::runtime_error("no");
    };
    ScopedListener listener(fragile);
    LogWarning(u"first");
    LogWarningAt(SourcePosition(System::String(u"doc.xml"), 1, 2), u"second");
    EXPECT_EQ(
        fragile->messages,
        (std::vector<Message>{{2, u"first"},
                              {1, u"An exception occured during formatting log message."},
                              {2, u"doc.xml (1,2):second"},
                              {1, u"An exception occured during formatting warning message."}}));
}

TEST(Logger, AListenerFailingOnTheFallbackTooMakesTheCallThrow) {
    auto* broken = new RecordingListener;
    broken->onReceive = [](std::int32_t) { throw std::runtime_error("always"); };
    ScopedListener listener(broken);
    EXPECT_THROW(LogWarning(u"x"), std::runtime_error);
}

TEST(Logger, WarningPrefixes) {
    ScopedListener listener(new RecordingListener);
    LogWarningAt(SourcePosition(), u"no prefix %d", 1);
    LogWarningAt(SourcePosition(System::String(u""), 3, 0), u"empty name");
    LogWarningAt(SourcePosition(System::String(u"a.xml"), 12, 5), u"at %s", u"x");
    EXPECT_EQ(listener->messages,
              (std::vector<Message>{
                  {2, u"no prefix 1"}, {2, u" (3,0):empty name"}, {2, u"a.xml (12,5):at x"}}));
}

TEST(Logger, WarningsAtPositionsAreAlwaysFormatted) {
    // No listener wants warnings; the text is formatted and published anyway
    // (and so still reaches a listener that takes whatever it is given).
    ScopedListener listener(new RecordingListener([](std::int32_t) { return false; }));
    LogWarningAt(SourcePosition(System::String(u"f"), 1, 1), u"w");
    LogWarning(u"dropped");
    EXPECT_EQ(listener->messages, (std::vector<Message>{{2, u"f (1,1):w"}}));
}

TEST(SourcePosition, PacksLineAndColumn) {
    const SourcePosition p(System::String(u"x"), 12, 1003);
    EXPECT_EQ(p.Line(), 13);
    EXPECT_EQ(p.Column(), 3);
    const SourcePosition q(System::String(u"x"), 7, 42);
    EXPECT_EQ(q.position, 7042);
}

TEST(CoreError, RaiseCoreErrorPublishesAndThrowsTheSameText) {
    ScopedListener listener(new RecordingListener);
    try {
        RaiseCoreError(u"Bad value %d in '%s' (%0.3f)", 7, System::String(u"attr"), 0.5);
        FAIL();
    } catch (const ECoreException& e) {
        EXPECT_EQ(e.GetMessageText(), u"Bad value 7 in 'attr' (0.500)");
        EXPECT_EQ(e.GetSourceFile(), nullptr);
        EXPECT_EQ(e.GetSourceLine(), 0);
    }
    EXPECT_EQ(listener->messages, (std::vector<Message>{{1, u"Bad value 7 in 'attr' (0.500)"}}));
}

TEST(CoreError, WithoutListenersStillThrows) {
    EXPECT_THROW(RaiseCoreError(u"x %d", 1), ECoreException);
    EXPECT_THROW(RaiseCoreError(static_cast<const void*>(nullptr), u"context form"),
                 ECoreException);
}

TEST(CoreError, ContextEntryPointIgnoresItsFirstArgument) {
    int object = 0;
    try {
        RaiseCoreError(&object, u"in %s", u"context");
    } catch (const ECoreException& e) {
        EXPECT_EQ(e.GetMessageText(), u"in context");
    }
}

TEST(CoreError, RaiseCoreErrorIf) {
    ScopedListener listener(new RecordingListener);
    RaiseCoreErrorIf(false, u"never");
    EXPECT_TRUE(listener->messages.empty());
    EXPECT_THROW(RaiseCoreErrorIf(true, u"now"), ECoreException);
    EXPECT_EQ(listener->messages.size(), 1u);
}

TEST(CoreError, RaiseCoreErrorAtAlwaysHasThePrefix) {
    ScopedListener listener(new RecordingListener);
    try {
        RaiseCoreErrorAt(SourcePosition(System::String(u"in.xml"), 4, 9), u"Unknown element '%s'",
                         u"x:y");
    } catch (const ECoreException& e) {
        EXPECT_EQ(e.GetMessageText(), u"in.xml (4,9):Unknown element 'x:y'");
    }
    try {
        RaiseCoreErrorAt(SourcePosition(), u"");
    } catch (const ECoreException& e) {
        EXPECT_EQ(e.GetMessageText(), u" (0,0):");  // the prefix alone
    }
    EXPECT_EQ(listener->messages,
              (std::vector<Message>{{1, u"in.xml (4,9):Unknown element 'x:y'"}}));
}

TEST(CoreError, PositionedTextsStayWithin2047Units) {
    ScopedListener listener(new RecordingListener);
    const std::u16string longName(3000, u'n');
    try {
        RaiseCoreErrorAt(SourcePosition(System::String(longName), 1, 1), u"message");
    } catch (const ECoreException& e) {
        EXPECT_EQ(e.GetMessageText().size(), 2047u);
    }
    // The prefix took all the room: the message part is empty, nothing is
    // published.
    EXPECT_TRUE(listener->messages.empty());
    try {
        RaiseCoreErrorAt(SourcePosition(System::String(u"f"), 1, 1), u"%s", longName);
    } catch (const ECoreException& e) {
        EXPECT_EQ(e.GetMessageText().size(), 2047u);
        EXPECT_EQ(e.GetMessageText().substr(0, 8), u"f (1,1):");
    }
    ASSERT_EQ(listener->messages.size(), 1u);
    EXPECT_EQ(listener->messages[0].text.size(), 2047u);
}

TEST(CoreError, CheckInputFileReadable) {
    const System::String missing(u"/nonexistent/dir/file.xml");
    try {
        CheckInputFileReadable(missing);
        FAIL();
    } catch (const ECoreException& e) {
        EXPECT_EQ(e.GetMessageText(),
                  u"Can't open input file '/nonexistent/dir/file.xml' because is being used by "
                  u"another process.");
    }
    EXPECT_NO_THROW(CheckInputFileReadable(System::String(u"/proc/self/exe")));
}

TEST(CoreError, AllocateOrRaise) {
    void* block = AllocateOrRaise(64, u"Block");
    ASSERT_NE(block, nullptr);
    std::free(block);
    try {
        AllocateOrRaise(-1, u"Base64Encode");
        FAIL();
    } catch (const ECoreException& e) {
        EXPECT_EQ(e.GetMessageText(),
                  u"Out of memory (failed to allocate -1 bytes for Base64Encode)");
    }
}

}  // namespace
