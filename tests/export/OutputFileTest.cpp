#include "export/OutputFile.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

using namespace mvx;
namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> Bytes(const std::string& text) {
    return std::vector<uint8_t>(text.begin(), text.end());
}

} // namespace

TEST(OutputFile, TextStatementsWriteQuotesPiecesAndCrLf) {
    const fs::path path = test::ScratchDir() / "out.txt";
    OutputFile file;
    ASSERT_TRUE(file.Open(path.string())) << file.Error();
    EXPECT_TRUE(file.WriteQuotedLine("C:\\data\\run.000"));
    EXPECT_TRUE(file.WritePiece("Ens"));
    EXPECT_TRUE(file.WritePiece("\t"));
    EXPECT_TRUE(file.WritePiece("Avg \xB1 3")); // 8-bit text goes through unchanged
    EXPECT_TRUE(file.WriteLineEnd());
    EXPECT_TRUE(file.WriteQuotedLine(""));
    EXPECT_TRUE(file.Close()) << file.Error();
    EXPECT_EQ(test::ReadText(path), "\"C:\\data\\run.000\"\r\nEns\tAvg \xB1 3\r\n\"\"\r\n");
    EXPECT_EQ(file.BytesWritten(), 19u + 13u + 4u); // the three lines above
}

TEST(OutputFile, ExistingEmptyFileIsWrittenInto) {
    const fs::path path = test::ScratchDir() / "empty.txt";
    test::WriteAll(path, {});
    OutputFile file;
    ASSERT_TRUE(file.Open(path.string())) << file.Error();
    EXPECT_FALSE(file.OverwriteRefused());
    file.WritePiece("abc");
    ASSERT_TRUE(file.Close());
    EXPECT_EQ(test::ReadText(path), "abc");
}

TEST(OutputFile, NonEmptyTargetIsRefusedAndLeftByteIdentical) {
    const fs::path dir = test::ScratchDir();
    for (const std::string& content : {std::string("x"), std::string("first line\r\nsecond\r\n")}) {
        const fs::path path = dir / ("kept" + std::to_string(content.size()));
        test::WriteAll(path, Bytes(content));
        OutputFile file;
        EXPECT_FALSE(file.Open(path.string()));
        EXPECT_TRUE(file.OverwriteRefused());
        EXPECT_EQ(file.Error(), "Over-Write of File Not Allowed");
        EXPECT_FALSE(file.IsOpen());
        // Writes after a refusal must not reach the file (no append).
        EXPECT_FALSE(file.WritePiece("appended"));
        EXPECT_FALSE(file.Close());
        EXPECT_EQ(test::ReadAll(path), Bytes(content));
    }
}

TEST(OutputFile, WritesLargerThanTheBufferKeepTheirOrder) {
    const fs::path path = test::ScratchDir() / "big.bin";
    std::string expected;
    OutputFile file;
    ASSERT_TRUE(file.Open(path.string()));
    // Chunks of odd sizes, some larger than the buffer, cross every flush boundary.
    size_t counter = 0;
    for (size_t size : {1u, 65535u, 2u, 70000u, 13u, 65536u, 100000u, 7u}) {
        std::string chunk(size, '\0');
        for (char& ch : chunk) ch = static_cast<char>('a' + (counter++ % 26));
        expected += chunk;
        ASSERT_TRUE(file.Write(chunk));
    }
    ASSERT_TRUE(file.Close()) << file.Error();
    EXPECT_EQ(test::ReadText(path), expected);
}

TEST(OutputFile, DiskFullIsReportedAtCloseForSmallWrites) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    OutputFile file;
    ASSERT_TRUE(file.Open("/dev/full")) << file.Error();
    EXPECT_TRUE(file.WriteQuotedLine("buffered")); // still in the buffer
    EXPECT_FALSE(file.Close());
    EXPECT_NE(file.Error().find("No space left on device"), std::string::npos) << file.Error();
    EXPECT_NE(file.Error().find("/dev/full"), std::string::npos) << file.Error();
}

TEST(OutputFile, DiskFullStopsLargeWritesAndEveryLaterOne) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    OutputFile file;
    ASSERT_TRUE(file.Open("/dev/full"));
    const std::string big(200000, 'x');
    EXPECT_FALSE(file.Write(big));
    EXPECT_FALSE(file.Ok());
    const std::string first = file.Error();
    EXPECT_NE(first.find("No space left on device"), std::string::npos) << first;
    EXPECT_FALSE(file.WriteLineEnd());
    EXPECT_FALSE(file.Close());
    EXPECT_EQ(file.Error(), first); // the first failure is the one reported
}

TEST(OutputFile, RemovedFolderIsReported) {
    const fs::path dir = test::ScratchDir() / "gone";
    fs::create_directories(dir);
    fs::remove(dir);
    OutputFile file;
    EXPECT_FALSE(file.Open((dir / "export.txt").string()));
    EXPECT_FALSE(file.OverwriteRefused());
    EXPECT_NE(file.Error().find("No such file or directory"), std::string::npos) << file.Error();
    EXPECT_NE(file.Error().find("export.txt"), std::string::npos) << file.Error();
    EXPECT_FALSE(fs::exists(dir));
}

TEST(OutputFile, DirectoryAsTargetIsReported) {
    const fs::path dir = test::ScratchDir();
    OutputFile file;
    EXPECT_FALSE(file.Open(dir.string()));
    EXPECT_FALSE(file.OverwriteRefused()); // a directory is not "a file with data"
    EXPECT_NE(file.Error().find("Is a directory"), std::string::npos) << file.Error();
    EXPECT_TRUE(fs::is_directory(dir));
}

TEST(OutputFile, MisuseGivesMessagesNotCrashes) {
    OutputFile file;
    EXPECT_TRUE(file.Close()); // nothing open, nothing failed
    EXPECT_FALSE(file.WritePiece("x"));
    EXPECT_EQ(file.Error(), "The file is not open");
    EXPECT_FALSE(file.Open(""));
    EXPECT_FALSE(file.Error().empty());
}

TEST(OutputFile, FailStopsFurtherWritesAndIsReportedByClose) {
    const fs::path path = test::ScratchDir() / "failed.txt";
    OutputFile file;
    ASSERT_TRUE(file.Open(path.string()));
    file.WritePiece("kept");
    file.Fail("bad argument");
    EXPECT_FALSE(file.WritePiece("dropped"));
    EXPECT_FALSE(file.Close());
    EXPECT_EQ(file.Error(), "bad argument");
    EXPECT_EQ(test::ReadText(path), "kept"); // what came before the failure stays
}

TEST(OutputFile, DestructorFlushesAndOneObjectServesTwoFiles) {
    const fs::path dir = test::ScratchDir();
    {
        OutputFile file;
        ASSERT_TRUE(file.Open((dir / "a.txt").string()));
        file.WritePiece("first");
        ASSERT_TRUE(file.Close());
        ASSERT_TRUE(file.Open((dir / "b.txt").string())) << file.Error();
        EXPECT_EQ(file.BytesWritten(), 0u);
        file.WritePiece("second");
    } // closed by the destructor
    EXPECT_EQ(test::ReadText(dir / "a.txt"), "first");
    EXPECT_EQ(test::ReadText(dir / "b.txt"), "second");
}
