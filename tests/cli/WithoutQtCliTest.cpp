// murvex-cli built without Qt: the picture commands are listed and refuse with one clear line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CliRun.h"
#include "TempDir.h"

namespace murvex::clitest {
namespace {

TEST(CliWithoutQt, PictureCommandsSayTheyAreNotInThisBuildAndWriteNothing) {
    const test::TempDir dir;
    const std::vector<std::vector<std::string>> commands = {
        {"render", "x.pat", "--box", "0", "0", "1", "1", "-o", dir.File("a.png")},
        {"picture", "x.jpg", "--size", "10", "10", "-o", dir.File("b.png")},
        {"render"},
    };
    for (const auto& args : commands) {
        SCOPED_TRACE(args.size());
        const Result r = Cli(dir, args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "murvex-cli " + args[0] + ": not in this build\n");
    }
    const Result help = Cli(dir, {"--help"});
    EXPECT_NE(help.out.find("render"), std::string::npos);
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{".stderr", ".stdout"}));
}

}  // namespace
}  // namespace murvex::clitest
