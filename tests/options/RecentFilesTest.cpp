#include "options/RecentFiles.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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
    EXPECT_EQ(r.Caption(1), "/d/A.000");
    EXPECT_EQ(r.Caption(2), "/d/B.000");
    EXPECT_EQ(r.Caption(3), "");
    EXPECT_TRUE(r.Checked[0]);
    EXPECT_FALSE(r.Checked[1]);
    r.Add_Recent_File("/d/A.000");
    EXPECT_EQ(r.Caption(1), "/d/A.000");
    EXPECT_EQ(r.Caption(2), "/d/B.000");
    EXPECT_EQ(r.Caption(3), "");
}

TEST(RecentFiles, NinthDistinctFilePushesTheOldestOut) {
    RecentFiles r = ListOf({"f1", "f2", "f3", "f4", "f5", "f6", "f7", "f8"});
    EXPECT_EQ(r.Caption(8), "f1");
    r.Add_Recent_File("f9");
    const char* expected[] = {"f9", "f8", "f7", "f6", "f5", "f4", "f3", "f2"};
    for (int k = 1; k <= 8; ++k) EXPECT_EQ(r.Caption(k), expected[k - 1]) << k;
    EXPECT_EQ(r.Caption(0), "");
    EXPECT_EQ(r.Caption(9), "");
}

TEST(RecentFiles, EntryFromTheMiddleMovesUpAndTheRestKeepTheirOrder) {
    RecentFiles r = ListOf({"f1", "f2", "f3", "f4", "f5", "f6", "f7", "f8"});
    r.Add_Recent_File("f3"); // item 6
    const char* expected[] = {"f3", "f8", "f7", "f6", "f5", "f4", "f2", "f1"};
    for (int k = 1; k <= 8; ++k) EXPECT_EQ(r.Caption(k), expected[k - 1]) << k;
    r.Add_Recent_File("f1"); // the last item
    EXPECT_EQ(r.Caption(1), "f1");
    EXPECT_EQ(r.Caption(2), "f3");
    EXPECT_EQ(r.Caption(8), "f2");
}

TEST(RecentFiles, PathsThatCannotBeKeptChangeNothing) {
    RecentFiles r = ListOf({"a"});
    r.Add_Recent_File("");
    r.Add_Recent_File("two\nlines");
    r.Add_Recent_File(std::string("zero\0byte", 9));
    EXPECT_EQ(r.Caption(1), "a");
    EXPECT_EQ(r.Caption(2), "");
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
    EXPECT_EQ(back.Caption(2), "/data/c,omma.000");
    EXPECT_EQ(back.Caption(3), "/data/run 1.000");
    EXPECT_EQ(back.Caption(4), "");
    EXPECT_EQ(back.Checked, (std::array<bool, 8>{})); // read items are shown unchecked
}

TEST(RecentFiles, ReaderSkipsEmptyAndUnreadableLinesAsHiddenItems) {
    const std::string huge = "\"" + std::string(100000, 'x') + "\"";
    const RecentFiles r = ReadText("\"x\"\r\n\"\"\r\nnot quoted\n" + huge +
                                   "\r\n\"y\"\r\n\"6\"\r\n\"7\"\r\n\"8\"\r\n\"9\"\r\n");
    EXPECT_EQ(r.Caption(1), "x");
    EXPECT_EQ(r.Caption(2), "");
    EXPECT_EQ(r.Caption(3), "");
    EXPECT_EQ(r.Caption(4), "");
    EXPECT_EQ(r.Caption(5), "y");
    EXPECT_EQ(r.Caption(8), "8"); // a ninth line is not read
}

TEST(RecentFiles, MissingOrTinyFileGivesAnEmptyList) {
    const fs::path dir = test::ScratchDir();
    RecentFiles r = ListOf({"old"});
    EXPECT_TRUE(r.Load_Old_Files((dir / "none.txt").string()));
    EXPECT_EQ(r.Caption(1), "");
    {
        std::ofstream out(dir / "tiny.txt", std::ios::binary);
        out << "\"\"";
    }
    EXPECT_TRUE(r.Load_Old_Files((dir / "tiny.txt").string()));
    EXPECT_EQ(r.Caption(1), "");
    EXPECT_FALSE(r.Load_Old_Files(dir.string())); // a folder is no list
    EXPECT_FALSE(r.Save_Old_Files((dir / "no-such-folder" / "MRVXFile.txt").string()));
}
