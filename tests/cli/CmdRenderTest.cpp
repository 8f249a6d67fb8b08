// marevox-cli render: the sub-set window's charts of a file as a picture file.
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

TEST(CliRender, RefusesWhatItCannotDo) {
    const fs::path dir = ScratchDir();
    std::string text;
    EXPECT_EQ(RunCli("render", &text), 2);
    EXPECT_EQ(RunCli("render somefile", &text), 2); // no --out
    EXPECT_EQ(RunCli("render somefile --out " + (dir / "a.png").string() + " --size 12by4", &text), 2);
    const fs::path junk = dir / "junk.bin";
    WriteAll(junk, std::vector<uint8_t>(3000, 0x20));
    EXPECT_EQ(RunCli("render " + junk.string() + " --out " + (dir / "b.png").string(), &text), 1);
    EXPECT_FALSE(fs::exists(dir / "b.png"));
    SKIP_WITHOUT_DATA_FILE("up600_beam_9ens.000");
    // A range outside the file loads nothing.
    EXPECT_EQ(RunCli("render " + DataFile("up600_beam_9ens.000") + " --out " + (dir / "c.png").string() +
                         " --first 50 --last 60",
                     &text),
              1);
}
