// murvex-cli pattern-figure run as a separate process: the list of a library's pattern, the
// report, and exit 2 without a repeat.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "CliRun.h"
#include "TempDir.h"

namespace murvex {
namespace {

using clitest::Cli;
using test::ReadText;
using test::TempDir;
using test::WriteText;

// Two patterns: lines at 30 degrees, which never repeat straight across, and dashes of 30 every
// 40 on lines 20 apart, in inches.
const char* const kLibrary =
    ";%UNITS=MM\r\n*schuin, dertig graden\r\n30, 0,0, 0,10, 5,-5\r\n"
    ";%UNITS=INCH\r\n*lat, streepjes\r\n;%TYPE=DRAFTING\r\n0, 0,0, 0,20, 30,-10\r\n";

TEST(PatternFigureCli, WritesTheListOfTheNamedPatternAndSaysWhatItFound) {
    TempDir dir;
    WriteText(dir.File("bib.pat"), kLibrary);
    const auto r = Cli(dir, {"pattern-figure", dir.File("bib.pat"), "--pattern", "LAT", "-o",
                             dir.File("lat.txt")});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadText(dir.File("lat.txt")),
              ";%SIZE=40,20\r\n;%UNITS=INCH\r\n*lat\r\n;%TYPE=DRAFTING\r\n0,0,30,0\r\n");
    EXPECT_NE(r.err.find("repeat 40.000000 x 20.000000"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("tile 40 x 20 at scale 1; 1 segments"), std::string::npos) << r.err;
}

TEST(PatternFigureCli, NoRepeatExitsWithTwoAndTheReason) {
    TempDir dir;
    WriteText(dir.File("bib.pat"), kLibrary);
    const auto r = Cli(dir, {"pattern-figure", dir.File("bib.pat"), "-o", dir.File("s.txt")});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("schuin: no figure: the family at 30.000 degrees has no whole repeat"),
              std::string::npos)
        << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir.File("s.txt")));
}

}  // namespace
}  // namespace murvex
