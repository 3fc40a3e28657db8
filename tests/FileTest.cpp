#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "TempDir.h"
#include "modules/system/CStreamFile.h"
#include "modules/system/File.h"
#include "modules/system/FileStream.h"
#include "modules/system/ModulePath.h"
#include "modules/system/TextReader.h"
#include "platform/SystemError.h"
#include "services/ECoreException.h"

using System::String;

namespace {

String Path(const std::string& p) {
    return String(U16(p));
}

TEST(File, OpenTwiceAndUseWhenClosedRaise) {
    TempDir dir;
    const std::string path = dir.Write("f", "0123456789");
    File file;
    char byte;
    try {
        file.Read(&byte, 1);
        FAIL();
    } catch (const System::Exception& e) {
        EXPECT_EQ(e.GetMessageText(), u"File is not open");
        EXPECT_STREQ(e.GetSourceFile(), "File");
    }
    EXPECT_THROW(file.Close(), System::Exception);
    EXPECT_THROW(file.Seek(0, 0), System::Exception);
    EXPECT_THROW(file.GetLength(), System::Exception);
    file.Open(Path(path), false, false);
    try {
        file.Open(Path(path), false, false);
        FAIL();
    } catch (const System::Exception& e) {
        EXPECT_EQ(e.GetMessageText(), u"File is already open");
    }
    EXPECT_EQ(file.Close(), 0);
    EXPECT_FALSE(file.IsOpen());
}

TEST(File, MissingFileRaisesFileOpenExceptionNamingThePath) {
    TempDir dir;
    const std::string path = dir.File("missing.txt");
    File file;
    try {
        file.Open(Path(path), false, false);
        FAIL();
    } catch (const System::IO::FileOpenException& e) {
        EXPECT_EQ(e.GetMessageText(), U16("Can not open file '" + path +
                                          "'; last system error is 'No such file or directory'"));
        EXPECT_STREQ(e.GetSourceFile(), "File");
    }
}

TEST(File, OpenFlagTable) {
    TempDir dir;
    struct Case {
        bool write, create;
        bool createsMissing, truncates, canWrite;
        std::filesystem::perms newPermissions;
    } cases[] = {
        {false, false, false, false, false, {}},
        {false, true, true, true, true, std::filesystem::perms::owner_read},
        {true, false, false, false, true, {}},
        {true, true, true, true, true, std::filesystem::perms::owner_write},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "write=" << c.write << " create=" << c.create);
        const std::string missing = dir.File("missing" + std::to_string(n));
        const std::string present = dir.Write("present" + std::to_string(n), "abc");
        ++n;
        File a;
        if (c.createsMissing) {
            a.Open(Path(missing), c.write, c.create);
            EXPECT_TRUE(std::filesystem::exists(missing));
            const auto perms = std::filesystem::status(missing).permissions();
            EXPECT_NE(perms & c.newPermissions, std::filesystem::perms::none);
            if (!c.write) {
                EXPECT_EQ(perms & std::filesystem::perms::owner_write,
                          std::filesystem::perms::none);
            }
            a.Close();
        } else {
            EXPECT_THROW(a.Open(Path(missing), c.write, c.create), System::IO::FileOpenException);
        }
        File b;
        b.Open(Path(present), c.write, c.create);
        EXPECT_EQ(b.GetLength(), c.truncates ? 0 : 3);
        EXPECT_EQ(b.Write("xy", 2), c.canWrite ? 2 : -1);
        b.Close();
    }
}

TEST(File, GetLengthKeepsThePosition) {
    TempDir dir;
    File file;
    file.Open(Path(dir.Write("f", "0123456789")), false, false);
    char bytes[4] = {};
    EXPECT_EQ(file.Read(bytes, 3), 3);
    EXPECT_EQ(file.GetLength(), 10);
    EXPECT_EQ(file.Read(bytes, 1), 1);
    EXPECT_EQ(bytes[0], '3');
    EXPECT_EQ(file.Seek(-2, 2), 8);
    EXPECT_EQ(file.Read(bytes, 4), 2);
    EXPECT_EQ(file.Read(bytes, 4), 0);  // the end
    EXPECT_THROW(file.Seek(0, 3), System::UnreacheableCodeException);
    try {
        file.Seek(-100, 0);
        FAIL();
    } catch (const System::Exception& e) {
        EXPECT_EQ(e.GetMessageText(), u"");
    }
}

TEST(FileStream, BufferLengthsAreChecked) {
    TempDir dir;
    SmartPtr<System::IO::FileStream> stream(
        new System::IO::FileStream(Path(dir.Write("f", "hello")), true, false));
    EXPECT_EQ(stream->GetRefCount(), 1);
    System::ByteArray four(4, true);
    try {
        stream->Read(four, 5);
        FAIL();
    } catch (const System::Exception& e) {
        EXPECT_EQ(e.GetMessageText(), u"An invalid buffer length exception has occured");
        EXPECT_STREQ(e.GetSourceFile(), "FileStream");
    }
    EXPECT_EQ(stream->Seek(0, 1), 0);  // nothing was read
    EXPECT_THROW(stream->Write(four, 2, 3), System::Exception);
    System::ByteArray none;
    EXPECT_THROW(stream->Read(none, 0), System::NullPointerException);
    EXPECT_EQ(stream->Read(four, 4), 4);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(four.Data()), 4), "hell");
    const System::ByteArray text("XYZ", 3);
    stream->Seek(0, 0);
    EXPECT_EQ(stream->Write(text, 1, 2), 2);
    EXPECT_EQ(stream->Close(), 0);
    std::ifstream in(dir.File("f"));
    std::string content;
    std::getline(in, content);
    EXPECT_EQ(content, "YZllo");
}

TEST(TextReader, ReadsSingleByteText) {
    TempDir dir;
    struct Case {
        std::string bytes;
        std::u16string text;
    } cases[] = {
        {std::string("a\0b", 3), u"a"},
        {"caf\xE9\r\n", u"caf\u00e9\r\n"},
        {std::string("\0abc", 4), u""},
        {"\xEF\xBB\xBFkey", u"\u00ef\u00bb\u00bfkey"},
    };
    int n = 0;
    for (const auto& c : cases) {
        const std::string path = dir.Write("t" + std::to_string(n++), c.bytes);
        TextReader reader(new System::IO::FileStream(Path(path), false, false),
                          TextReader::kSingleByte);
        const String text = reader.ReadToEnd();
        EXPECT_FALSE(text.IsNull());
        EXPECT_EQ(std::u16string(text.View()), c.text);
    }
}

TEST(TextReader, FailuresRaise) {
    TempDir dir;
    const std::string empty = dir.Write("empty", "");
    TextReader emptyReader(new System::IO::FileStream(Path(empty), false, false), 2);
    try {
        emptyReader.ReadToEnd();
        FAIL();
    } catch (const System::NullPointerException& e) {
        EXPECT_EQ(e.GetMessageText(), u"Null pointer exception");
    }
    TextReader otherEncoding(new System::IO::FileStream(Path(dir.Write("x", "x")), false, false),
                             1);
    try {
        otherEncoding.ReadToEnd();
        FAIL();
    } catch (const System::Exception& e) {
        EXPECT_EQ(e.GetMessageText(), u"");
        EXPECT_STREQ(e.GetSourceFile(), "TextReader");
    }
    TextReader noStream(nullptr, 2);
    try {
        noStream.ReadToEnd();
        FAIL();
    } catch (const System::NullPointerException& e) {
        EXPECT_STREQ(e.GetSourceFile(), "SmartPtr");
    }
}

// A stream whose reads fail the way a failing disk does.
class FailingStream : public System::IO::Stream {
public:
    std::int32_t Read(System::ByteArray&, std::uint32_t) override {
        platform::SetLastError(EIO);
        return -1;
    }
    std::int32_t Write(const System::ByteArray&, std::uint32_t, std::uint32_t) override {
        return -1;
    }
    std::int64_t GetLength() override { return 10; }
    std::int64_t Seek(std::int64_t, std::int32_t) override { return 0; }
    std::int32_t Close() override { return 0; }
};

TEST(TextReader, ReadErrorRaisesWithTheSystemText) {
    TextReader reader(new FailingStream, 2);
    try {
        reader.ReadToEnd();
        FAIL();
    } catch (const System::Exception& e) {
        EXPECT_EQ(e.GetMessageText(),
                  u"Can not read file ''; last system error is 'Input/output error'");
        EXPECT_STREQ(e.GetSourceFile(), "TextReader");
    }
}

TEST(ModulePath, IsTheRunningProgram) {
    const String path = GetModulePath();
    EXPECT_EQ(std::filesystem::path(std::string(path.View().begin(), path.View().end())),
              std::filesystem::canonical("/proc/self/exe"));
    EXPECT_EQ(std::u16string(GetModuleDirectory().View()) + u"/corekit_tests",
              std::u16string(path.View()));
}

TEST(CStreamFile, OpensAndReportsFailures) {
    TempDir dir;
    {
        CStreamFile file(Path(dir.Write("c", "abc")), "rb");
        EXPECT_NE(file.Get(), nullptr);
    }
    const std::string missing = dir.File("none");
    try {
        CStreamFile file(Path(missing), "rb");
        FAIL();
    } catch (const ECoreException& e) {
        EXPECT_EQ(e.GetMessageText(),
                  U16("Can't open '" + missing + "': No such file or directory (0x00000002)"));
    }
}

}  // namespace
