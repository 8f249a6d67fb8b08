// marevox-cli render: the sub-set window's charts of a file as a picture file.
#include "SmallDisk.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>

namespace fs = std::filesystem;
using namespace mvx::test;

namespace {

// Width and height from a PNG file's header (the IHDR chunk follows the 8-byte signature).
bool PngSize(const fs::path& path, uint32_t& width, uint32_t& height) {
    const std::vector<uint8_t> b = ReadAll(path);
    const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (b.size() < 24 || !std::equal(signature, signature + 8, b.begin())) return false;
    auto be32 = [&b](size_t at) {
        return (uint32_t{b[at]} << 24) | (uint32_t{b[at + 1]} << 16) | (uint32_t{b[at + 2]} << 8) | b[at + 3];
    };
    width = be32(16);
    height = be32(20);
    return true;
}

// A build without Qt has no picture surface: its render command only says so.
#ifdef MARVOX_HAVE_QT
constexpr bool kCanRender = true;
#else
constexpr bool kCanRender = false;
#endif

} // namespace

TEST(CliRender, WritesTheAskedPictureAndPrintsTheCaption) {
    if (!kCanRender) GTEST_SKIP() << "built without Qt";
    SKIP_WITHOUT_DATA_FILE("up600_beam_9ens.000");
    struct Case {
        std::string args, caption;
        uint32_t width, height;
    };
    // Nine ensembles ten seconds apart; 2 to 5 span thirty seconds. The window size is the default.
    const Case cases[] = {{" --size 800x500", "00:01:20.00", 800, 500},
                          {" --type 600 --first 2 --last 5", "00:00:30.00", 1200, 800}};
    for (const Case& c : cases) {
        const fs::path out = ScratchDir() / "chart.png";
        std::string text;
        ASSERT_EQ(
            RunCli("render " + DataFile("up600_beam_9ens.000") + " --out " + out.string() + c.args, &text),
            0);
        EXPECT_EQ(text, "Sub Set --- Deployment Duration: " + c.caption + "\n");
        uint32_t w = 0, h = 0;
        ASSERT_TRUE(PngSize(out, w, h));
        EXPECT_EQ(w, c.width);
        EXPECT_EQ(h, c.height);
    }
}

// The picture goes through the same writer as the exports: nothing that holds data is replaced, the
// input recording included, and a picture cut short by a full disk leaves no file behind.
TEST(CliRender, NeverReplacesDataAndLeavesNoCutOffPicture) {
    if (!kCanRender) GTEST_SKIP() << "built without Qt";
    const fs::path dir = ScratchDir(), input = dir / "run.000", taken = dir / "taken.png";
    ASSERT_EQ(RunCli("simulate --out " + input.string() + " --ensembles 10 --cells 4", nullptr), 0);
    WriteAll(taken, {'P'});
    const std::vector<uint8_t> before = ReadAll(input);
    for (const fs::path& target : {input, taken}) {
        std::string err;
        EXPECT_EQ(RunCli("render " + input.string() + " --out " + target.string(), nullptr, &err), 1);
        EXPECT_NE(err.find("Over-Write of File Not Allowed"), std::string::npos) << err;
    }
    EXPECT_EQ(ReadAll(input), before);
    EXPECT_EQ(ReadAll(taken), std::vector<uint8_t>{'P'});

    // A disk of one 4 KiB page holds the first part of a picture of about 8 KiB.
    SmallDisk disk(4);
    if (!disk.Mounted()) GTEST_SKIP() << "mounting a small tmpfs needs root";
    std::string out, err;
    EXPECT_EQ(RunCli("render " + input.string() + " --out " + disk.Path("cut.png").string(), &out, &err), 1);
    EXPECT_NE(err.find("No space left on device; the unfinished file was removed"), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(disk.Path("cut.png")));
    EXPECT_EQ(out, ""); // no caption: the picture was not made
}
