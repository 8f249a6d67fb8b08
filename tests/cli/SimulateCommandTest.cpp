// marevox-cli simulate: what it writes, and what it refuses.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace mvx {
namespace {

TEST(SimulateCommand, WritesTheAskedNumberOfEnsemblesWithStrayBytes) {
    const auto path = test::ScratchDir() / "a.000";
    std::string out, err;
    ASSERT_EQ(
        test::RunCli("simulate --out " + path.string() + " --ensembles 3 --cells 4 --stray 5", &out, &err), 0)
        << err;
    const auto bytes = test::ReadAll(path);
    // 6 + 7 offsets x 2 + 59 + 65 + (2 + 4 x 8) + 3 x (2 + 4 x 4) + 85 = 317 bytes, plus the checksum.
    ASSERT_EQ(bytes.size(), 3 * 319u + 2 * 5);
    EXPECT_EQ(bytes[2] | bytes[3] << 8, 317);
    EXPECT_EQ(bytes[319 + 5], 0x7F);
    EXPECT_EQ(bytes[2 * (319 + 5) + 1], 0x7F);
}

TEST(SimulateCommand, RefusesToOverwriteDataAndReportsAFailedWrite) {
    const auto dir = test::ScratchDir();
    const auto path = dir / "d.000";
    test::WriteAll(path, {1, 2, 3});
    std::string out, err;
    EXPECT_NE(test::RunCli("simulate --out " + path.string() + " --ensembles 2", &out, &err), 0);
    EXPECT_NE(err.find("Over-Write of File Not Allowed"), std::string::npos) << err;
    EXPECT_EQ(test::ReadAll(path), (std::vector<uint8_t>{1, 2, 3}));
    // An empty file may be filled.
    const auto empty = dir / "e.000";
    test::WriteAll(empty, {});
    EXPECT_EQ(test::RunCli("simulate --out " + empty.string() + " --ensembles 2", &out, &err), 0) << err;
    EXPECT_GT(std::filesystem::file_size(empty), 0u);
    if (!std::filesystem::exists("/dev/full")) return;
    EXPECT_NE(test::RunCli("simulate --out /dev/full --ensembles 5", &out, &err), 0);
    EXPECT_NE(err.find("Cannot write to \"/dev/full\": No space left on device"), std::string::npos) << err;
}

TEST(SimulateCommand, RejectsBadArguments) {
    const auto path = (test::ScratchDir() / "f.000").string();
    std::string out, err;
    EXPECT_EQ(test::RunCli("simulate --ensembles 3", &out, &err), 2);
    EXPECT_NE(err.find("--out"), std::string::npos);
    EXPECT_EQ(test::RunCli("simulate --out " + path + " --colour red", &out, &err), 2);
    EXPECT_NE(err.find("unknown option --colour"), std::string::npos) << err;
    EXPECT_NE(test::RunCli("simulate --out " + path + " --cells 300", &out, &err), 0);
    EXPECT_NE(err.find("cells"), std::string::npos) << err;
    EXPECT_FALSE(std::filesystem::exists(path));
}

} // namespace
} // namespace mvx
