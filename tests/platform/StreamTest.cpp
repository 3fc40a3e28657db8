#include <gtest/gtest.h>

#include "XmlTestSupport.h"
#include "platform/com/FileStream.h"
#include "platform/com/MemoryStream.h"

namespace {

using namespace platform::com;
using xmltest::TempDir;

std::string ReadAll(IStream* stream) {
    std::string bytes;
    char buffer[7];  // small on purpose: several reads
    for (;;) {
        std::uint32_t read = 0;
        EXPECT_EQ(stream->read(buffer, sizeof buffer, &read), S_OK);
        if (read == 0)
            return bytes;
        bytes.append(buffer, read);
    }
}

// The same checks for both kinds of stream.
void CheckReadWriteSeek(IStream* stream) {
    ASSERT_EQ(stream->write("hello world", 11, nullptr), S_OK);
    std::uint64_t size = 0, position = 0;
    stream->getSize(&size);
    EXPECT_EQ(size, 11u);
    ASSERT_EQ(stream->seek(0, SeekOrigin::kBegin, &position), S_OK);
    EXPECT_EQ(position, 0u);
    EXPECT_EQ(ReadAll(stream), "hello world");
    ASSERT_EQ(stream->seek(-5, SeekOrigin::kEnd, &position), S_OK);
    EXPECT_EQ(position, 6u);
    std::uint32_t written = 0;
    ASSERT_EQ(stream->write("WORLD!", 6, &written), S_OK);
    EXPECT_EQ(written, 6u);
    ASSERT_EQ(stream->seek(-12, SeekOrigin::kCurrent, &position), S_OK);
    EXPECT_EQ(ReadAll(stream), "hello WORLD!");
    EXPECT_EQ(stream->seek(-1, SeekOrigin::kBegin, nullptr), E_INVALIDARG);
    ASSERT_EQ(stream->setSize(5), S_OK);
    stream->seek(0, SeekOrigin::kBegin, nullptr);
    EXPECT_EQ(ReadAll(stream), "hello");
    EXPECT_EQ(stream->commit(), S_OK);
}

TEST(MemoryStream, ReadsWritesAndSeeks) {
    auto stream = MemoryStream::Create();
    CheckReadWriteSeek(stream.Get());
    EXPECT_EQ(stream->Contents(), "hello");
    auto filled = MemoryStream::Create(std::string("a\0b", 3));
    EXPECT_EQ(ReadAll(filled.Get()), std::string("a\0b", 3));
}

TEST(FileStream, ReadsWritesAndSeeksOnANonAsciiPath) {
    TempDir dir;
    const std::u16string path = platform::ToUtf16(dir.Path().string()) + u"/\u00e9t\u00e9.bin";
    ComPtr<IStream> stream;
    ASSERT_EQ(FileStream::Open(path, FileAccess::kReadWrite, FileDisposition::kCreateNew,
                               FileShare::kDenyNone, stream),
              S_OK);
    CheckReadWriteSeek(stream.Get());
    stream.Reset();
    EXPECT_EQ(xmltest::ReadFile(dir.Path() / "\xC3\xA9t\xC3\xA9.bin"), "hello");
}

TEST(FileStream, DispositionsAndErrors) {
    TempDir dir;
    const std::u16string base = platform::ToUtf16(dir.Path().string());
    const std::u16string existing = platform::ToUtf16(dir.Write("x.txt", "old").string());
    const struct {
        std::u16string path;
        FileAccess access;
        FileDisposition disposition;
        HResult result;
        const char* contents;  // afterwards, for the existing file
    } cases[] = {
        {base + u"/missing", FileAccess::kRead, FileDisposition::kOpenExisting, E_FILE_NOT_FOUND,
         "old"},
        {base + u"/no/dir/f", FileAccess::kWrite, FileDisposition::kCreateAlways, E_FILE_NOT_FOUND,
         "old"},
        {existing, FileAccess::kWrite, FileDisposition::kCreateNew, E_FILE_EXISTS, "old"},
        {existing, FileAccess::kWrite, FileDisposition::kOpenAlways, S_OK, "old"},
        {existing, FileAccess::kRead, FileDisposition::kCreateAlways, E_INVALIDARG, "old"},
        {base, FileAccess::kRead, FileDisposition::kOpenExisting, E_ACCESSDENIED, "old"},
        {existing, FileAccess::kWrite, FileDisposition::kCreateAlways, S_OK, ""},
    };
    for (const auto& c : cases) {
        ComPtr<IStream> stream;
        EXPECT_EQ(FileStream::Open(c.path, c.access, c.disposition, FileShare::kDenyNone, stream),
                  c.result)
            << xmltest::U8(c.path);
        EXPECT_EQ(bool(stream), c.result == S_OK);
        stream.Reset();
        EXPECT_EQ(xmltest::ReadFile(dir.Path() / "x.txt"), c.contents) << xmltest::U8(c.path);
    }
}

TEST(FileStream, DenyWriteTakesAnAdvisoryLock) {
    TempDir dir;
    const std::u16string path = platform::ToUtf16(dir.Write("locked.xml", "<a/>").string());
    auto open = [&](FileAccess access, FileDisposition disposition, FileShare share) {
        ComPtr<IStream> stream;
        const HResult hr = FileStream::Open(path, access, disposition, share, stream);
        return std::make_pair(hr, stream);
    };
    {
        auto writer =
            open(FileAccess::kWrite, FileDisposition::kCreateAlways, FileShare::kDenyWrite);
        ASSERT_EQ(writer.first, S_OK);
        writer.second->write("<b/>", 4, nullptr);
        // Others that ask for the lock are refused, and nothing is truncated.
        EXPECT_EQ(
            open(FileAccess::kRead, FileDisposition::kOpenExisting, FileShare::kDenyWrite).first,
            E_SHARING_VIOLATION);
        EXPECT_EQ(
            open(FileAccess::kWrite, FileDisposition::kCreateAlways, FileShare::kDenyWrite).first,
            E_SHARING_VIOLATION);
        EXPECT_EQ(xmltest::ReadFile(dir.Path() / "locked.xml"), "<b/>");
        // Opens without a share mode are not affected.
        EXPECT_EQ(
            open(FileAccess::kRead, FileDisposition::kOpenExisting, FileShare::kDenyNone).first,
            S_OK);
    }
    // Readers that deny writing coexist, and keep writers out.
    auto first = open(FileAccess::kRead, FileDisposition::kOpenExisting, FileShare::kDenyWrite);
    auto second = open(FileAccess::kRead, FileDisposition::kOpenExisting, FileShare::kDenyWrite);
    EXPECT_EQ(first.first, S_OK);
    EXPECT_EQ(second.first, S_OK);
    EXPECT_EQ(open(FileAccess::kWrite, FileDisposition::kOpenAlways, FileShare::kDenyWrite).first,
              E_SHARING_VIOLATION);
    first.second.Reset();
    second.second.Reset();
    EXPECT_EQ(open(FileAccess::kWrite, FileDisposition::kOpenAlways, FileShare::kDenyWrite).first,
              S_OK);
}

}  // namespace
