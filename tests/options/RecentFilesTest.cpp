#include "options/RecentFiles.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

using namespace mvx;
namespace fs = std::filesystem;

namespace {

RecentFiles ListOf(std::initializer_list<const char*> oldestFirst) {
    RecentFiles r;
    for (const char* p : oldestFirst) r.Add_Recent_File(p);
    return r;
}

RecentFiles ReadText(const std::string& text) {
    RecentFiles r;
    std::istringstream in(text);
    r.Read(in);
    return r;
}

} // namespace

TEST(RecentFiles, SameFileTwiceIsKeptOnceAtTheTop) {
    RecentFiles r = ListOf({"/d/A.000", "/d/B.000"});
    r.Add_Recent_File("/d/A.000");
    r.Add_Recent_File("/d/A.000");
    EXPECT_EQ(r.Caption(1), "/d/A.000");
    EXPECT_EQ(r.Caption(2), "/d/B.000");
    EXPECT_EQ(r.Caption(3), "");
    EXPECT_TRUE(r.Checked[0]);
    EXPECT_FALSE(r.Checked[1]);
    r.Add_Recent_File(""); // a path that cannot be kept changes nothing
    r.Add_Recent_File("two\nlines");
    EXPECT_EQ(r.Caption(1), "/d/A.000");
    EXPECT_EQ(r.Caption(3), "");
}

TEST(RecentFiles, NinthDistinctFilePushesTheOldestOutAndAnOldOneMovesUp) {
    RecentFiles r = ListOf({"f1", "f2", "f3", "f4", "f5", "f6", "f7", "f8"});
    r.Add_Recent_File("f9");
    const char* expected[] = {"f9", "f8", "f7", "f6", "f5", "f4", "f3", "f2"};
    for (int k = 1; k <= 8; ++k) EXPECT_EQ(r.Caption(k), expected[k - 1]) << k;
    EXPECT_EQ(r.Caption(9), "");
    r.Add_Recent_File("f4"); // item 6: the rest keep their order
    const char* moved[] = {"f4", "f9", "f8", "f7", "f6", "f5", "f3", "f2"};
    for (int k = 1; k <= 8; ++k) EXPECT_EQ(r.Caption(k), moved[k - 1]) << k;
}

TEST(RecentFiles, SavedListIsQuotedPathsInItemOrderWithCrLf) {
    const fs::path path = test::ScratchDir() / "MRVXFile.txt";
    RecentFiles r = ListOf({"/data/run 1.000", "/data/q\"uote.ENR", "/data/c,omma.000"});
    r.Captions[1].clear(); // a hidden item in the middle is not written
    ASSERT_TRUE(r.Save_Old_Files(path.string()));
    EXPECT_EQ(test::ReadText(path), "\"/data/c,omma.000\"\r\n\"/data/run 1.000\"\r\n");

    r.Add_Recent_File("/data/q\"uote.ENR");
    ASSERT_TRUE(r.Save_Old_Files(path.string()));
    RecentFiles back;
    ASSERT_TRUE(back.Load_Old_Files(path.string()));
    EXPECT_EQ(back.Caption(1), "/data/q\"uote.ENR");
    EXPECT_EQ(back.Caption(3), "/data/run 1.000");
    EXPECT_EQ(back.Caption(4), "");
    EXPECT_EQ(back.Checked, (std::array<bool, 8>{})); // read items are shown unchecked
    EXPECT_FALSE(r.Save_Old_Files((test::ScratchDir() / "no-such-folder" / "MRVXFile.txt").string()));
}

TEST(RecentFiles, ReaderSkipsEmptyAndUnreadableLinesAsHiddenItems) {
    const std::string huge = "\"" + std::string(100000, 'x') + "\"";
    const RecentFiles r = ReadText("\"x\"\r\n\"\"\r\nnot quoted\n" + huge +
                                   "\r\n\"y\"\r\n\"6\"\r\n\"7\"\r\n\"8\"\r\n\"9\"\r\n");
    EXPECT_EQ(r.Caption(1), "x");
    EXPECT_EQ(r.Caption(2), "");
    EXPECT_EQ(r.Caption(4), "");
    EXPECT_EQ(r.Caption(5), "y");
    EXPECT_EQ(r.Caption(8), "8"); // a ninth line is not read
    RecentFiles missing = ListOf({"old"});
    EXPECT_TRUE(missing.Load_Old_Files((test::ScratchDir() / "none.txt").string()));
    EXPECT_EQ(missing.Caption(1), "");
}
