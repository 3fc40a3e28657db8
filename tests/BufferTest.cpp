#include <gtest/gtest.h>

#include <cstdio>
#include <limits>

#include "TempDir.h"
#include "modules/system/ByteArray.h"
#include "modules/system/ByteBuffer.h"
#include "modules/system/Exception.h"
#include "modules/system/Memory.h"
#include "services/ECoreException.h"

namespace {

TEST(Memory, RaisesOutOfMemoryNamingTheSize) {
    void* block = Memory::Allocate(16, true);
    EXPECT_EQ(static_cast<unsigned char*>(block)[15], 0);
    block = Memory::Reallocate(block, 32);
    Memory::Free(block);
    // The test preset caps allocations (max_allocation_size_mb), so that
    // 4 GB fails without touching the machine's memory.
    void* huge = nullptr;
    try {
        huge = Memory::Allocate(std::numeric_limits<std::uint32_t>::max(), false);
    } catch (const System::OutOfMemoryException& e) {
        EXPECT_EQ(e.GetMessageText(), u"Failed to allocate 4294967295 bytes");
        EXPECT_STREQ(e.GetSourceFile(), "Memory");
    }
    if (huge) {
        Memory::Free(huge);
        GTEST_SKIP() << "this heap gives 4 GB blocks";
    }
    // A failed reallocation leaves the old block valid.
    void* small = Memory::Allocate(8, true);
    EXPECT_THROW(small = Memory::Reallocate(small, std::numeric_limits<std::uint32_t>::max()),
                 System::OutOfMemoryException);
    static_cast<unsigned char*>(small)[7] = 1;
    Memory::Free(small);
}

TEST(ByteArray, EmptyArrayHasNoBuffer) {
    const System::ByteArray empty(0, true);
    EXPECT_EQ(empty.Size(), 0u);
    try {
        empty.Data();
        FAIL();
    } catch (const System::NullPointerException& e) {
        EXPECT_STREQ(e.GetSourceFile(), "ByteArray");
    }
    EXPECT_THROW(System::ByteArray().Data(), System::NullPointerException);
    EXPECT_EQ(System::ByteArray("abc", 0).Size(), 0u);
}

TEST(ByteArray, ResizeKeepsOrZeroesTheContent) {
    const std::uint8_t bytes[] = {1, 2, 3, 4};
    System::ByteArray kept(bytes, 4);
    kept.Resize(6, false);
    EXPECT_EQ(kept.Size(), 6u);
    EXPECT_EQ(std::vector<std::uint8_t>(kept.Data(), kept.Data() + 4),
              (std::vector<std::uint8_t>{1, 2, 3, 4}));

    System::ByteArray zeroed(bytes, 4);
    zeroed.Resize(6, true);
    EXPECT_EQ(std::vector<std::uint8_t>(zeroed.Data(), zeroed.Data() + 6),
              std::vector<std::uint8_t>(6, 0));

    System::ByteArray grown;
    grown.Resize(3, true);
    EXPECT_EQ(grown.Size(), 3u);
    grown.Resize(0, false);
    EXPECT_EQ(grown.Size(), 0u);
}

TEST(ByteArray, CopiesShareWrites) {
    System::ByteArray first(4, true);
    System::ByteArray copy = first;
    copy.Data()[2] = 0x7F;
    EXPECT_EQ(first.Data()[2], 0x7F);
}

TEST(ByteBuffer, ReadsWholeStreams) {
    TempDir dir;
    const std::string empty = dir.Write("empty", "");
    const std::string ten = dir.Write("ten", std::string("0123456789", 10));

    std::FILE* f = std::fopen(empty.c_str(), "rb");
    SmartPtr<ByteBuffer> buffer = ByteBuffer::ReadWholeStream(f);
    std::fclose(f);
    EXPECT_EQ(buffer->Size(), 0u);
    EXPECT_EQ(buffer->Data(), nullptr);
    EXPECT_EQ(buffer->GetRefCount(), 1);

    f = std::fopen(ten.c_str(), "rb");
    std::fseek(f, 4, SEEK_SET);  // positioned anywhere
    buffer = ByteBuffer::ReadWholeStream(f);
    std::fclose(f);
    ASSERT_EQ(buffer->Size(), 10u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer->Data()), 10), "0123456789");
    EXPECT_TRUE(buffer->Owns());
}

TEST(ByteBuffer, UnreadableStreamRaises) {
    TempDir dir;
    const std::string path = dir.Write("w", "data");
    std::FILE* f = std::fopen(path.c_str(), "ab");  // write-only: reads fail
    try {
        ByteBuffer::ReadWholeStream(f);
        FAIL();
    } catch (const ECoreException& e) {
        EXPECT_EQ(e.GetMessageText(), u"Error reading file");
    }
    std::fclose(f);
}

TEST(ByteBuffer, WrapsForeignBytesWithoutOwningThem) {
    std::uint8_t bytes[3] = {9, 8, 7};
    { SmartPtr<ByteBuffer> wrapped(new ByteBuffer(bytes, 3, false)); }
    EXPECT_EQ(bytes[0], 9);  // not freed (ASan would report it)
}

}  // namespace
