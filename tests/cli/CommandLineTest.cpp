// marevox-cli's parser and input checks: every bad command line and every unusable input ends with one
// message style and one exit status, and nothing blocks on a pipe.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace fs = std::filesystem;
using namespace mvx::test;

namespace {

struct Files {
    fs::path dir, good, empty, junk, fifo, out;
};

// A simulated file of 36 bins and 20 ensembles, and the inputs no command may take.
const Files& Inputs() {
    static const Files f = [] {
        Files f;
        f.dir = ScratchDir();
        f.good = f.dir / "good.000";
        std::string err;
        EXPECT_EQ(RunCli("simulate --out " + f.good.string() + " --ensembles 20 --cells 36", nullptr, &err),
                  0)
            << err;
        f.empty = f.dir / "empty.000";
        WriteAll(f.empty, {});
        f.junk = f.dir / "junk.000";
        WriteAll(f.junk, std::vector<uint8_t>(3000, 0x20));
        f.fifo = f.dir / "fifo.000";
        EXPECT_EQ(::mkfifo(f.fifo.c_str(), 0600), 0);
        f.out = f.dir / "never.out";
        return f;
    }();
    return f;
}

struct Case {
    std::string args, message;
    int status;
};

void Check(const Case& c) {
    std::string err;
    const int status = RunCli(c.args, nullptr, &err);
    EXPECT_EQ(status, c.status) << c.args << "\n" << err;
    EXPECT_NE(err.find(c.message), std::string::npos) << c.args << "\n" << err;
    const std::string command = c.args.substr(0, c.args.find(' '));
    EXPECT_EQ(err.rfind("marevox-cli " + command + ": ", 0), 0u) << err;
    const bool usage = err.find("Run 'marevox-cli " + command + " --help'") != std::string::npos;
    EXPECT_EQ(usage, c.status == 2) << err;
}

} // namespace

TEST(CommandLine, BadArgumentsAreNamedWithStatusTwo) {
    const Files& f = Inputs();
    const std::string good = f.good.string(), out = " --out " + f.out.string();
    const Case cases[] = {
        {"view", "FILE is required", 2},
        {"render " + good, "--out is required", 2},
        {"dump " + good + " --colour", "unknown option --colour", 2},
        {"stats " + good + " " + good, "unexpected argument " + good, 2},
        {"dump " + good + " --first", "--first needs a value", 2},
        {"dump " + good + " --first abc", "--first: \"abc\" is not a whole number", 2},
        {"dump " + good + " --last 0x10", "--last: \"0x10\" is not a whole number", 2},
        {"dump " + good + " --first 1e3", "--first: \"1e3\" is not a whole number", 2},
        {"dump " + good + " --last 99999999999999999999", "is outside", 2},
        {"view " + good + " --ensemble ''", "--ensemble: \"\" is not a whole number", 2},
        {"view " + good + " --ensemble 2 --bin 37", "--bin: 37 is outside the file's bins 1..36", 2},
        {"view " + good + " --ensemble 21 --bin 1", "--ensemble: 21 is outside the file's 1..20", 2},
        {"export contour " + good + out + " --bins ,", "--bins: the list is empty", 2},
        {"export contour " + good + out + " --bins 2,,3", "has an empty item", 2},
        {"export series " + good + out + " --types ''", "--types: the list is empty", 2},
        {"export contour " + good + out + " --bins 37", "--bins: bin 37 is outside the file's bins 1..36", 2},
        {"export contour " + good + out + " --first 1.5", "--first: \"1.5\" is not a whole number", 2},
        {"export wave " + good + out, "KIND: wave not in", 2},
        {"render " + good + out + " --type 999", "--type: \"999\" is not a contour data type code", 2},
        {"render " + good + out + " --size 4294967297x800", "--size: \"4294967297x800\" is not a size", 2},
        {"render " + good + out + " --size 8193x10", "is not a size", 2},
        {"render " + good + out + " --first 30 --last 40", "outside the file's 1..20", 2},
        {"simulate --out " + f.out.string() + " --cells 300", "the number of cells must be 1 to 255", 2},
        {"simulate --out " + f.out.string() + " --interval nan", "is not a decimal number", 2},
    };
    for (const Case& c : cases) Check(c);
    EXPECT_FALSE(fs::exists(f.out));
}

TEST(CommandLine, EveryCommandSaysWhyItCannotReadItsInput) {
    const Files& f = Inputs();
    const std::pair<fs::path, std::string> inputs[] = {{f.dir / "missing.000", "no such file"},
                                                       {f.dir, "not a regular file (a directory)"},
                                                       {f.fifo, "not a regular file (a named pipe)"},
                                                       {"/dev/null", "not a regular file (a device)"},
                                                       {f.good / "child", "unreadable (Not a directory)"},
                                                       {f.empty, "empty"},
                                                       {f.junk, "no ensemble found"}};
    const std::string out = " --out " + f.out.string();
    const std::string commands[] = {"stats ", "details ", "dump ", "view ", "export contour ", "render "};
    const std::string tails[] = {"", "", "", " --ensemble 1", out, out};
    for (size_t k = 0; k < std::size(commands); ++k)
        for (const auto& [path, why] : inputs)
            Check({commands[k] + path.string() + tails[k], path.string() + ": " + why, 1});
    // An options file is an input too.
    Check({"view " + f.good.string() + " --ensemble 1 --options " + f.fifo.string(), "(a named pipe)", 1});
    EXPECT_FALSE(fs::exists(f.out));
}

TEST(CommandLine, HelpAndVersionExitZero) {
    const std::string commands[] = {"details", "dump", "export", "render", "simulate", "stats", "view"};
    std::string text;
    for (const std::string& c : commands) {
        ASSERT_EQ(RunCli(c + " --help", &text), 0) << c;
        EXPECT_NE(text.find("Usage: marevox-cli " + c + " [OPTIONS]"), std::string::npos) << text;
        ASSERT_EQ(RunCli("help " + c, &text), 0) << c;
        EXPECT_NE(text.find("Usage: marevox-cli " + c + " [OPTIONS]"), std::string::npos) << text;
    }
    for (const char* root : {"--help", "help"}) {
        ASSERT_EQ(RunCli(root, &text), 0);
        for (const std::string& c : commands) EXPECT_NE(text.find("\n  " + c + " "), std::string::npos) << c;
    }
    ASSERT_EQ(RunCli("--version", &text), 0);
    EXPECT_EQ(text.rfind("marevox-cli ", 0), 0u);
    std::string err;
    EXPECT_EQ(RunCli("frob", &text, &err), 2);
    EXPECT_NE(err.find("unknown command \"frob\""), std::string::npos) << err;
    EXPECT_EQ(RunCli("", &text, &err), 2); // no command: the help, on standard error
    EXPECT_NE(err.find("Usage: marevox-cli"), std::string::npos) << err;
}

TEST(CommandLine, OutputThatCannotBeWrittenFails) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    const std::string good = Inputs().good.string();
    const std::string commands[] = {"stats " + good, "details " + good,
                                    "dump " + good,  "view " + good + " --ensemble 2",
                                    "help",          "--help"};
    for (const std::string& c : commands) {
        std::string err;
        EXPECT_EQ(RunCli(c + " >/dev/full", nullptr, &err), 1) << c;
        EXPECT_NE(err.find("cannot write to standard output: No space left on device"), std::string::npos)
            << c << "\n"
            << err;
    }
}
