// The binary file reader: exact-size reads, little-endian words, the end-of-file flag that
// only a failed read changes, seeking and telling, and a closed reader that refuses all.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "image/BinaryFile.h"
#include "tests/image/BmpTestFiles.h"

namespace {
const Bytes kSevenBytes = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x87};
}  // namespace

TEST(BinaryFileTest, ClosedReaderFailsEverythingAndStaysAtEnd) {
    BinaryFile file;
    EXPECT_TRUE(file.AtEnd());
    uint8_t buffer[4] = {9, 9, 9, 9};
    EXPECT_FALSE(file.Read(buffer, 4));
    EXPECT_FALSE(file.Write(buffer, 4));
    EXPECT_FALSE(file.Seek(0));
    EXPECT_FALSE(file.SeekRelative(0));
    EXPECT_FALSE(file.SeekFromEnd(0));
    EXPECT_EQ(file.Tell(), -1);
    uint8_t byte = 42;
    uint16_t word = 4242;
    uint32_t dword = 424242;
    file.ReadByte(byte).ReadWord(word).ReadDword(dword);
    EXPECT_EQ(byte, 42);
    EXPECT_EQ(word, 4242);
    EXPECT_EQ(dword, 424242u);
    EXPECT_TRUE(file.AtEnd());
    file.Close();  // nothing open: does nothing
    EXPECT_TRUE(file.AtEnd());
}

TEST(BinaryFileTest, OnlyARegularFileOpens) {
    // A missing file, a FIFO with no writer (should Open wait for one, the alarm ends the
    // program instead of hanging the suite), a device and a directory all fail at once, and
    // each failed Open closes the file that was open before it.
    char dir[] = "/tmp/tavik-binary-file-test-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string fifo = std::string(dir) + "/font.bmp";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    TempFile temp(kSevenBytes);
    BinaryFile file;
    alarm(20);
    for (const char* path : {"/nonexistent/tavik/file.bin", fifo.c_str(), "/dev/zero",
                             static_cast<const char*>(dir)}) {
        ASSERT_TRUE(file.Open(temp.Path(), "rb"));
        EXPECT_FALSE(file.AtEnd());
        EXPECT_FALSE(file.Open(path, "rb")) << path;
        EXPECT_TRUE(file.AtEnd()) << path;
        EXPECT_EQ(file.Tell(), -1) << path;
    }
    alarm(0);
    unlink(fifo.c_str());
    rmdir(dir);
}

TEST(BinaryFileTest, LittleEndianWordsAndAnEndFlagThatOnlyAFailedReadSets) {
    TempFile temp(kSevenBytes);
    BinaryFile file;
    ASSERT_TRUE(file.Open(temp.Path(), "rb"));
    uint8_t byte = 0;
    uint16_t word = 0;
    uint32_t dword = 0;
    file.ReadWord(word).ReadDword(dword).ReadByte(byte);
    EXPECT_EQ(word, 0x0201);
    EXPECT_EQ(dword, 0x06050403u);
    EXPECT_EQ(byte, 0x87) << "bytes are unsigned";
    EXPECT_FALSE(file.AtEnd()) << "the last byte was read whole; the stream has not run over";
    ASSERT_TRUE(file.Seek(4));
    uint32_t second = 0xDEADBEEF;
    file.ReadDword(second);  // only 3 bytes left
    EXPECT_EQ(second, 0xDEADBEEFu) << "a failed read leaves the value alone";
    EXPECT_TRUE(file.AtEnd());

    // Seeking back succeeds and reads work again, but the flag reports the earlier overrun.
    EXPECT_TRUE(file.Seek(0));
    EXPECT_TRUE(file.AtEnd());
    uint8_t buffer[7] = {};
    EXPECT_TRUE(file.Read(buffer, 7));
    EXPECT_EQ(Bytes(buffer, buffer + 7), kSevenBytes);
    EXPECT_TRUE(file.AtEnd());

    // A read of zero bytes fails; not at the end of the stream, it clears the flag.
    ASSERT_TRUE(file.Seek(2));
    EXPECT_FALSE(file.Read(buffer, 0));
    EXPECT_FALSE(file.AtEnd());
    EXPECT_EQ(file.Tell(), 2);

    // Close and reopen start afresh.
    file.Close();
    EXPECT_TRUE(file.AtEnd());
    ASSERT_TRUE(file.Open(temp.Path(), "rb"));
    EXPECT_FALSE(file.AtEnd());
}

TEST(BinaryFileTest, SeekingAndTelling) {
    TempFile temp(kSevenBytes);
    BinaryFile file;
    ASSERT_TRUE(file.Open(temp.Path(), "rb"));
    EXPECT_EQ(file.Tell(), 0);
    EXPECT_TRUE(file.SeekFromEnd(-2));
    EXPECT_EQ(file.Tell(), 5);
    EXPECT_TRUE(file.SeekRelative(-1));
    EXPECT_EQ(file.Tell(), 4);
    uint8_t byte = 0;
    file.ReadByte(byte);
    EXPECT_EQ(byte, 0x05);
    EXPECT_TRUE(file.SeekFromEnd(0));
    EXPECT_EQ(file.Tell(), 7);
    EXPECT_FALSE(file.Seek(-1));
    EXPECT_FALSE(file.SeekRelative(-100));
    EXPECT_EQ(file.Tell(), 7) << "a failed seek does not move";

    // A seek past the end succeeds; the read there fails at the end.
    EXPECT_TRUE(file.Seek(100));
    EXPECT_FALSE(file.AtEnd());
    EXPECT_FALSE(file.Read(&byte, 1));
    EXPECT_TRUE(file.AtEnd());
}

TEST(BinaryFileTest, WriteThenReadBack) {
    TempFile temp({});
    {
        BinaryFile file;
        ASSERT_TRUE(file.Open(temp.Path(), "wb"));
        EXPECT_TRUE(file.Write(kSevenBytes.data(), 4));
        EXPECT_TRUE(file.Write(kSevenBytes.data() + 4, 3));
        EXPECT_EQ(file.Tell(), 7);
        // Reading a write-only stream fails with an error, not at the end.
        uint8_t byte = 0;
        EXPECT_FALSE(file.Read(&byte, 1));
        EXPECT_FALSE(file.AtEnd());
    }  // the destructor closes and so flushes
    EXPECT_EQ(ReadWholeFile(temp.Path()), kSevenBytes);

    BinaryFile reader;
    ASSERT_TRUE(reader.Open(temp.Path(), "rb"));
    uint8_t buffer[8] = {};
    EXPECT_FALSE(reader.Read(buffer, 8));
    ASSERT_TRUE(reader.AtEnd());
    EXPECT_FALSE(reader.Write(buffer, 1)) << "a read-only stream takes no bytes";
    EXPECT_TRUE(reader.AtEnd()) << "Write never changes the end flag";
}

TEST(BinaryFileTest, DestructorAndOpenCloseTheirFiles) {
    TempFile first(kSevenBytes);
    TempFile second({0xAA});
    const int before = OpenDescriptorCount();
    {
        BinaryFile file;
        ASSERT_TRUE(file.Open(first.Path(), "rb"));
        EXPECT_EQ(OpenDescriptorCount(), before + 1);
        ASSERT_TRUE(file.Open(second.Path(), "rb"));
        EXPECT_EQ(OpenDescriptorCount(), before + 1) << "Open closes the previous file";
        uint8_t byte = 0;
        file.ReadByte(byte);
        EXPECT_EQ(byte, 0xAA);
    }
    EXPECT_EQ(OpenDescriptorCount(), before);
}
