// murvex-cli --force on a full or read-only file system: a non-zero exit status, the old file
// kept whole, no temporary file left.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SmallFs.h"
#include "TempDir.h"

namespace murvex {
namespace {

struct Exit {
    int status = -1;
    std::string err;
};

// Runs murvex-cli bond with the output options; standard error goes through a file.
Exit RunBond(const std::vector<std::string>& output) {
    test::TempDir scratch;
    const std::string errFile = scratch.File("err");
    std::vector<std::string> args = {MURVEX_CLI, "bond", "--bond",         "1",
                                     "--length", "210",  "--length-joint", "220",
                                     "--height", "50",   "--height-joint", "62.5"};
    args.insert(args.end(), output.begin(), output.end());
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(err, 2);
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, test::ReadText(errFile)};
}

TEST(CliSaveCrash, ForceOnAFullFileSystemFailsAndKeepsTheOldFile) {
    test::SmallFs fs("64k");
    if (!fs.Mounted()) GTEST_SKIP() << fs.Why();
    const std::string target = fs.File("muur.pat");
    test::WriteText(target, "old contents");
    ASSERT_TRUE(fs.Fill());
    const Exit r = RunBond({"-o", target, "--force"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Cannot write file " + target + "\n");
    EXPECT_EQ(test::ReadText(target), "old contents");
    EXPECT_EQ(fs.Entries(), (std::vector<std::string>{"filler", "muur.pat"}));
}

TEST(CliSaveCrash, ForceOnAReadOnlyFileSystemFailsAndKeepsTheOldFile) {
    test::SmallFs fs("64k");
    if (!fs.Mounted()) GTEST_SKIP() << fs.Why();
    const std::string target = fs.File("muur.pat");
    test::WriteText(target, "old contents");
    ASSERT_TRUE(fs.MakeReadOnly());
    const Exit r = RunBond({"-o", target, "--force"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Cannot create file " + target + "\n");
    EXPECT_EQ(test::ReadText(target), "old contents");
}

}  // namespace
}  // namespace murvex
