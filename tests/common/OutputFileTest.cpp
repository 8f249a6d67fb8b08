#include "common/OutputFile.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

using namespace mvx;
namespace fs = std::filesystem;

TEST(OutputFile, TextStatementsWriteQuotesPiecesAndCrLf) {
    const fs::path path = test::ScratchDir() / "out.txt";
    test::WriteAll(path, {}); // an existing empty file is written into
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

TEST(OutputFile, NonEmptyTargetIsRefusedAndLeftByteIdentical) {
    // One byte is already data.
    for (const std::string& before : {std::string("x"), std::string("x\r\n")}) {
        const fs::path path = test::ScratchDir() / "kept";
        test::WriteAll(path, std::vector<uint8_t>(before.begin(), before.end()));
        OutputFile file;
        EXPECT_FALSE(file.Open(path.string()));
        EXPECT_TRUE(file.OverwriteRefused());
        EXPECT_EQ(file.Error(), "Over-Write of File Not Allowed");
        EXPECT_FALSE(file.WritePiece("appended")); // writes after a refusal must not reach the file
        EXPECT_FALSE(file.Close());
        EXPECT_EQ(test::ReadText(path), before);
    }
}

TEST(OutputFile, AFailedFileIsPutBackAsItWasFound) {
    const fs::path dir = test::ScratchDir();
    test::WriteAll(dir / "empty", {});
    struct Case {
        const char* name;
        bool existed, discard;
        const char* note;
    };
    const Case cases[] = {{"new", false, false, "the unfinished file was removed"},
                          {"empty", true, false, "the file was left empty as it was"},
                          {"drawn", false, true, "the unfinished file was removed"}};
    for (const Case& c : cases) {
        OutputFile file;
        ASSERT_TRUE(file.Open((dir / c.name).string())) << file.Error();
        // More than the buffer, so that bytes reached the disk before the failure.
        EXPECT_TRUE(file.Write(std::string(100000, 'x')));
        if (c.discard) {
            file.Discard("The picture could not be drawn");
        } else {
            file.Fail("Ensemble 23 could not be read");
            EXPECT_FALSE(file.Close());
        }
        EXPECT_NE(file.Error().find(c.note), std::string::npos) << file.Error();
        EXPECT_EQ(fs::exists(dir / c.name), c.existed) << c.name;
        if (c.existed) {
            EXPECT_EQ(fs::file_size(dir / c.name), 0u);
        }
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

TEST(OutputFile, DiskFullIsReportedForSmallAndLargeWrites) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    OutputFile small;
    ASSERT_TRUE(small.Open("/dev/full")) << small.Error();
    EXPECT_TRUE(small.WriteQuotedLine("buffered")); // still in the buffer
    EXPECT_FALSE(small.Close());
    EXPECT_NE(small.Error().find("No space left on device"), std::string::npos) << small.Error();
    EXPECT_NE(small.Error().find("/dev/full"), std::string::npos) << small.Error();

    OutputFile large;
    ASSERT_TRUE(large.Open("/dev/full"));
    EXPECT_FALSE(large.Write(std::string(200000, 'x')));
    const std::string first = large.Error();
    EXPECT_NE(first.find("No space left on device"), std::string::npos) << first;
    EXPECT_FALSE(large.WriteLineEnd());
    EXPECT_FALSE(large.Close());
    EXPECT_EQ(large.Error(), first); // the first failure is the one reported
}

TEST(OutputFile, UnopenableTargetsAreReportedNotRefused) {
    const fs::path gone = test::ScratchDir() / "gone";
    fs::create_directories(gone);
    fs::remove(gone);
    const std::pair<fs::path, const char*> cases[] = {{gone / "export.txt", "No such file or directory"},
                                                      {test::ScratchDir(), "Is a directory"}};
    for (const auto& [path, message] : cases) {
        OutputFile file;
        EXPECT_FALSE(file.Open(path.string()));
        EXPECT_FALSE(file.OverwriteRefused()) << path;
        EXPECT_NE(file.Error().find(message), std::string::npos) << file.Error();
    }
    EXPECT_FALSE(fs::exists(gone));
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
