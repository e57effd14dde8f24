// murvex-cli pattern-figure run as a separate process: the list of a library's named pattern,
// exit 2 with the reason for one without a repeat, and a pattern without a name.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "CliRun.h"
#include "TempDir.h"

namespace murvex {
namespace {

TEST(PatternFigureCli, WritesTheNamedPatternsListOrSaysWhyNot) {
    test::TempDir dir;
    test::WriteText(dir.File("bib.pat"),
                    "*schuin, dertig graden\r\n30, 0,0, 0,10, 5,-5\r\n;%UNITS=INCH\r\n"
                    "*lat, streepjes\r\n;%TYPE=DRAFTING\r\n0, 0,0, 0,20, 30,-10\r\n");
    auto r = clitest::Cli(dir, {"pattern-figure", dir.File("bib.pat"), "--pattern", "LAT", "-o",
                                dir.File("lat.txt")});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(test::ReadText(dir.File("lat.txt")),
              ";%SIZE=40,20\r\n;%UNITS=INCH\r\n*lat\r\n;%TYPE=DRAFTING\r\n0,0,30,0\r\n");
    EXPECT_NE(r.err.find("tile 40 x 20 at scale 1; 1 segments"), std::string::npos) << r.err;

    r = clitest::Cli(dir, {"pattern-figure", dir.File("bib.pat"), "--pattern", "schuin", "-o",
                           dir.File("s.txt")});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("schuin: no figure: the family at 30.000 degrees"), std::string::npos)
        << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir.File("s.txt")));

    // A pattern without a name line is a pattern too; the figure takes the file's name.
    test::WriteText(dir.File("naamloos.pat"), "0, 0,0, 0,10, 5,-5\r\n");
    r = clitest::Cli(dir, {"pattern-figure", dir.File("naamloos.pat")});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\r\n*naamloos\r\n"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace murvex
