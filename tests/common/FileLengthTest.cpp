// A file's length, and -1 for every name that is no file: the multi-file tests stop at the first one.
#include "common/FileLength.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace mvx;

TEST(FileLength, BytesOfAFileAndMinusOneForAnythingElse) {
    const auto dir = test::ScratchDir();
    test::WriteAll(dir / "three", {1, 2, 3});
    test::WriteAll(dir / "empty", {});
    const std::pair<std::string, int64_t> cases[] = {{"three", 3}, {"empty", 0}, {"missing", -1}, {"", -1}};
    for (const auto& [name, length] : cases) EXPECT_EQ(File_Length((dir / name).string()), length) << name;
}
