// Recognising numbered and acquisition-program file sets by their names.
#include "TestSupport.h"

#include "dataset/MultiFile.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace mvx;
using namespace mvx::test;

namespace {

// Files of the given names and sizes in a fresh folder; returns the folder.
fs::path MakeFiles(const std::vector<std::pair<std::string, size_t>>& files) {
    const fs::path dir = ScratchDir();
    for (const auto& [name, size] : files) WriteAll(dir / name, std::vector<uint8_t>(size, 0x20));
    return dir;
}

} // namespace

TEST(NumberedSet, FollowingNumbersAreFoundAndTheirLengthsSummed) {
    const fs::path dir = MakeFiles({{"RUN.000", 100}, {"RUN.001", 20}, {"RUN.002", 3}, {"RUN.004", 7}});
    int64_t size = 0;
    EXPECT_EQ(Test_For_Multi_File((dir / "RUN.000").string(), true, size), 2);
    EXPECT_EQ(size, 123); // RUN.004 lies behind the gap at 003
    // Starting further on, the set starts there.
    EXPECT_EQ(Test_For_Multi_File((dir / "RUN.001").string(), true, size), 2);
    EXPECT_EQ(size, 23);
    // The menu item unchecked: a single file.
    EXPECT_EQ(Test_For_Multi_File((dir / "RUN.000").string(), false, size), 0);
    EXPECT_EQ(size, 100);
}

TEST(NumberedSet, MissingFileAndNamesWithoutANumberField) {
    const fs::path dir = MakeFiles({{"RUN.999", 5}, {"DATA", 5}, {"RUN.001", 5}});
    int64_t size = 77;
    EXPECT_EQ(Test_For_Multi_File((dir / "NONE.000").string(), true, size), 0);
    EXPECT_EQ(size, 0);
    // 999 is the last possible number; a name without a "." fourth from the end is no set.
    EXPECT_EQ(Test_For_Multi_File((dir / "RUN.999").string(), true, size), 0);
    EXPECT_EQ(size, 5);
    EXPECT_EQ(Test_For_Multi_File((dir / "DATA").string(), true, size), 0);
}

TEST(AcquisitionSet, SixDigitNumberBeforeAnUpperCaseExtension) {
    const fs::path dir = MakeFiles({{"DATA001_000003.ENR", 10},
                                    {"DATA001_000004.ENR", 20},
                                    {"DATA001_000005.ENR", 30},
                                    {"DATA001_000007.ENR", 40},
                                    {"DATA001_000003.enr", 10},
                                    {"DATA001_000004.enr", 20}});
    int64_t size = 0;
    EXPECT_EQ(Test_For_QUARNMultiFile((dir / "DATA001_000003.ENR").string(), true, size), 5);
    EXPECT_EQ(size, 60);
    EXPECT_EQ(Test_For_QUARNMultiFile((dir / "DATA001_000003.enr").string(), true, size), 0);
    EXPECT_EQ(size, 10);
    const auto members = SetMemberPaths((dir / "DATA001_000003.ENR").string(), 0, 5);
    ASSERT_EQ(members.size(), 3u);
    EXPECT_EQ(members[2], (dir / "DATA001_000005.ENR").string());
}

TEST(SetMembers, NumberedMembersFollowTheOpenedFile) {
    EXPECT_EQ(SetMemberPaths("/x/RUN.000", 0, 0), std::vector<std::string>{"/x/RUN.000"});
    EXPECT_EQ(SetMemberPaths("/x/RUN.005", 7, 0),
              (std::vector<std::string>{"/x/RUN.005", "/x/RUN.006", "/x/RUN.007"}));
}
