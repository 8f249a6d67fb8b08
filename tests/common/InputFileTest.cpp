// What the Open command is told about a name it cannot read.
#include "common/InputFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace mvx {
namespace {

namespace fs = std::filesystem;

TEST(InputFile, EachKindOfNameGetsItsReason) {
    const fs::path dir = test::ScratchDir();
    test::WriteAll(dir / "data.000", {0x7F, 0x7F});
    test::WriteAll(dir / "empty.000", {});
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
    const std::pair<fs::path, InputProblem> cases[] = {{dir / "data.000", InputProblem::None},
                                                       {dir / "missing.000", InputProblem::Missing},
                                                       {dir / "data.000" / "x", InputProblem::Missing},
                                                       {dir, InputProblem::Folder},
                                                       {dir / "empty.000", InputProblem::Empty},
                                                       // Refused without being opened, which would block.
                                                       {dir / "pipe", InputProblem::NotRegular}};
    for (const auto& [path, problem] : cases) EXPECT_EQ(Check_Input_File(path.string()), problem) << path;
    EXPECT_EQ(Input_Problem_Message("/x/a.000", InputProblem::Empty),
              "Cannot open /x/a.000: the file is empty.");
    EXPECT_EQ(Input_Problem_Message("/x/a.000", InputProblem::None), "");
}

TEST(InputFile, FileWithoutReadPermissionIsUnreadable) {
    const fs::path file = test::ScratchDir() / "locked.000";
    test::WriteAll(file, {1, 2, 3});
    ASSERT_EQ(::chmod(file.c_str(), 0), 0);
    // Permissions do not bind the administrator: the check runs as an ordinary user then.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && ::setuid(65534) != 0) ::_exit(2);
        ::_exit(Check_Input_File(file.string()) == InputProblem::Unreadable ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

} // namespace
} // namespace mvx
