#include "modules/system/Exception.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <thread>

#include "RecordingListener.h"
#include "modules/system/MessageTable.h"
#include "modules/system/String.h"
#include "modules/system/SystemErrorText.h"
#include "platform/SystemError.h"

namespace {

TEST(MessageTable, HoldsTheNumberedTexts) {
    const auto& rows = System::MessageTable::Rows();
    EXPECT_EQ(rows.size(), 39u);
    EXPECT_EQ(rows.begin()->first, 1001);
    EXPECT_EQ(rows.rbegin()->first, 1040);
    EXPECT_EQ(rows.count(1014), 0u);
    EXPECT_EQ(std::u16string(System::LookupMessage(1010)),
              u"An unreacheable code exception has occured.");
    EXPECT_EQ(std::u16string(System::LookupMessage(1016)),
              u"Can not read {1} bytes from file '{0}'; last system error is '{2}'");
}

TEST(Exception, ConstructorsFillTheirMessages) {
    EXPECT_EQ(System::Exception().GetMessageText(), u"");
    EXPECT_FALSE(System::Exception().GetMessage().IsNull());
    EXPECT_EQ(System::Exception(1002).GetMessageText(),
              u"Can not open file '{0}'; last system error is '{1}'");
    EXPECT_EQ(System::NullPointerException().GetMessageText(), u"Null pointer exception");
    EXPECT_EQ(System::IndexOutOfBoundsException().GetMessageText(), u"Index out of bounds");
    EXPECT_EQ(System::UnreacheableCodeException().GetMessageText(),
              u"An unreacheable code exception has occured.");
    EXPECT_EQ(System::OutOfMemoryException(4096).GetMessageText(),
              u"Failed to allocate 4096 bytes");
    EXPECT_EQ(System::OutOfMemoryException(4000000000u).GetMessageText(),
              u"Failed to allocate 4000000000 bytes");
    const System::Exception unraised;
    EXPECT_EQ(unraised.GetSourceFile(), nullptr);
    EXPECT_EQ(unraised.GetSourceLine(), 0);
}

TEST(Exception, FileOpenExceptionQuotesTheSystemTextWithoutLineBreak) {
    platform::SetLastError(ENOENT);
    const System::IO::FileOpenException e(u"/no/such/file");
    EXPECT_EQ(e.GetMessageText(),
              u"Can not open file '/no/such/file'; last system error is 'No such file or "
              u"directory'");
}

TEST(Exception, SystemErrorTexts) {
    EXPECT_EQ(std::u16string(System::GetSystemErrorText(EACCES).View()), u"Permission denied");
    EXPECT_EQ(std::u16string(System::GetSystemErrorText(987654).View()), u"Unknown error.");
    EXPECT_EQ(std::u16string(System::GetSystemErrorText(-3).View()), u"Unknown error.");
    platform::SetLastError(ENOENT);
    EXPECT_EQ(std::u16string(System::GetLastErrorText().View()), u"No such file or directory");
}

TEST(Exception, LastErrorIsPerThread) {
    platform::SetLastError(ENOENT);
    int other = -1;
    std::thread([&] { other = platform::GetLastError(); }).join();
    EXPECT_EQ(other, 0);
    EXPECT_EQ(platform::GetLastError(), ENOENT);
}

// Every class raised through COREKIT_RAISE: caught as itself and as the base,
// with its message published at kind 1 before the handler ran.
template <class E>
void ExpectRaised(E exception, const std::u16string& message) {
    ScopedListener listener(new RecordingListener);
    std::size_t publishedBeforeHandler = 0;
    try {
        COREKIT_RAISE(exception);
    } catch (const E& caught) {
        publishedBeforeHandler = listener->messages.size();
        EXPECT_EQ(caught.GetMessageText(), message);
        EXPECT_STREQ(caught.GetSourceFile(), "ExceptionTest");
        EXPECT_GT(caught.GetSourceLine(), 0);
    }
    EXPECT_EQ(publishedBeforeHandler, 1u);
    ASSERT_EQ(listener->messages.size(), 1u);
    EXPECT_EQ(listener->messages[0], (RecordingListener::Message{1, message}));
    EXPECT_THROW(COREKIT_RAISE(exception), System::Exception);
}

TEST(Exception, RaisingPublishesThenThrowsAsTheOwnClass) {
    ExpectRaised(System::Exception(1011), u"An unknown error has occured");
    ExpectRaised(System::NullPointerException(), u"Null pointer exception");
    ExpectRaised(System::IndexOutOfBoundsException(), u"Index out of bounds");
    ExpectRaised(System::UnreacheableCodeException(),
                 u"An unreacheable code exception has occured.");
    ExpectRaised(System::OutOfMemoryException(12), u"Failed to allocate 12 bytes");
    platform::SetLastError(EACCES);
    ExpectRaised(System::IO::FileOpenException(u"x"),
                 u"Can not open file 'x'; last system error is 'Permission denied'");
}

TEST(Exception, SourceNamesDropFoldersAndExtension) {
    using namespace System::Detail;
    constexpr auto a = MakeSourceStem<SourceStemLength("/a/b/String.cpp")>("/a/b/String.cpp");
    constexpr auto b = MakeSourceStem<SourceStemLength("File.h")>("File.h");
    constexpr auto c = MakeSourceStem<SourceStemLength("dir.d/NoExt")>("dir.d/NoExt");
    constexpr auto d = MakeSourceStem<SourceStemLength("x/a.b.cpp")>("x/a.b.cpp");
    EXPECT_STREQ(a.text, "String");
    EXPECT_STREQ(b.text, "File");
    EXPECT_STREQ(c.text, "NoExt");
    EXPECT_STREQ(d.text, "a.b");
}

}  // namespace
