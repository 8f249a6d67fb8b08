// An input file without read permission (the other kinds are in the command-line tables).
#include "common/InputFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace mvx {
namespace {

namespace fs = std::filesystem;

TEST(InputFile, FileWithoutReadPermissionIsUnreadable) {
    const fs::path file = test::ScratchDir() / "locked.000";
    test::WriteAll(file, {1, 2, 3});
    ASSERT_EQ(::chmod(file.c_str(), 0), 0);
    // Permissions do not bind the administrator: the check runs as an ordinary user then.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && ::setuid(65534) != 0) ::_exit(2);
        ::_exit(InputProblem(file.string()) == "unreadable (Permission denied)" ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

} // namespace
} // namespace mvx
