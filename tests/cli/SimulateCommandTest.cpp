// marevox-cli simulate: what it writes, and what it refuses.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace mvx {
namespace {

uint16_t Le16(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}

TEST(SimulateCommand, WritesTheAskedNumberOfEnsemblesWithStrayBytes) {
    const auto path = test::ScratchDir() / "a.000";
    std::string out, err;
    ASSERT_EQ(
        test::RunCli("simulate --out " + path.string() + " --ensembles 3 --cells 4 --stray 5", &out, &err), 0)
        << err;
    const auto bytes = test::ReadAll(path);
    // 6 + 7 offsets x 2 + 59 + 65 + (2 + 4 x 8) + 3 x (2 + 4 x 4) + 85 = 317 bytes, plus the checksum.
    ASSERT_EQ(bytes.size(), 3 * 319u + 2 * 5);
    EXPECT_EQ(Le16(bytes, 2), 317);
    EXPECT_EQ(bytes[319 + 5], 0x7F);
    EXPECT_EQ(bytes[2 * (319 + 5) + 1], 0x7F);
}

TEST(SimulateCommand, StartTimeAndIntervalSetTheClock) {
    const auto path = test::ScratchDir() / "b.000";
    std::string out, err;
    ASSERT_EQ(test::RunCli("simulate --out " + path.string() +
                               " --ensembles 3 --cells 2 --interval 30.5 --first-number 77"
                               " --start \"2024-02-28 23:59:30\"",
                           &out, &err),
              0)
        << err;
    const auto bytes = test::ReadAll(path);
    const size_t length = Le16(bytes, 2) + 2u;
    ASSERT_EQ(bytes.size(), 3 * length);
    // 2024 is a leap year: half a minute after 23:59:30 on 28 February comes 29 February.
    const uint8_t expected[3][7] = {
        {24, 2, 28, 23, 59, 30, 0}, {24, 2, 29, 0, 0, 0, 50}, {24, 2, 29, 0, 0, 31, 0}};
    for (size_t i = 0; i < 3; ++i) {
        const size_t v = i * length + Le16(bytes, i * length + 8);
        for (int k = 0; k < 7; ++k) EXPECT_EQ(bytes[v + 4 + k], expected[i][k]) << i << " " << k;
        EXPECT_EQ(Le16(bytes, v + 2), 77 + i);
    }
}

TEST(SimulateCommand, NarrowbandFileHasItsSyncByte) {
    const auto path = test::ScratchDir() / "c.000";
    std::string out, err;
    ASSERT_EQ(test::RunCli("simulate --out " + path.string() + " --ensembles 2 --narrowband --up --beam",
                           &out, &err),
              0)
        << err;
    const auto bytes = test::ReadAll(path);
    ASSERT_GT(bytes.size(), 20u);
    EXPECT_EQ(bytes[3], 0x3F);
    EXPECT_EQ(bytes[14 + 18] & 0x06, 0); // up-looking, beam velocities
}

TEST(SimulateCommand, RefusesToOverwriteAFileWithData) {
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
}

TEST(SimulateCommand, ReportsAFailedWrite) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    std::string out, err;
    EXPECT_NE(test::RunCli("simulate --out /dev/full --ensembles 5", &out, &err), 0);
    EXPECT_NE(err.find("cannot write /dev/full"), std::string::npos) << err;
}

TEST(SimulateCommand, RejectsBadArguments) {
    const auto path = (test::ScratchDir() / "f.000").string();
    std::string out, err;
    EXPECT_EQ(test::RunCli("simulate --ensembles 3", &out, &err), 2);
    EXPECT_NE(err.find("--out"), std::string::npos);
    EXPECT_EQ(test::RunCli("simulate --out " + path + " --cells many", &out, &err), 2);
    EXPECT_EQ(test::RunCli("simulate --out " + path + " --colour red", &out, &err), 2);
    EXPECT_NE(err.find("unknown option --colour"), std::string::npos) << err;
    EXPECT_EQ(test::RunCli("simulate --out " + path + " --start 2024-02-30", &out, &err), 2);
    EXPECT_NE(test::RunCli("simulate --out " + path + " --cells 300", &out, &err), 0);
    EXPECT_NE(err.find("cells"), std::string::npos) << err;
    EXPECT_NE(test::RunCli("simulate --out " + path + " --start \"2026-02-30 10:00:00\"", &out, &err), 0);
    EXPECT_FALSE(std::filesystem::exists(path));
}

} // namespace
} // namespace mvx
