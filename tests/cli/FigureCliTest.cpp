// murvex-cli figure run as a separate process: the pattern bytes, the failed rows on standard
// error and the exit statuses.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CliRun.h"
#include "TempDir.h"

namespace murvex {
namespace {

using test::ReadText;
using test::TempDir;
using test::WriteText;

using clitest::Cli;
using clitest::Result;

// A horizontal row, a steep row without a repeat at "Nauwkeurig", a row clipped at
// the tile's left edge by the redraw, the same steep row again, and a row of four empty cells,
// which is no segment: neither the pattern nor the report has a line for it.
const char* const kList =
    ";%SIZE=100,100\r\n;%UNITS=INCH\r\n*hek\r\n;%TYPE=DRAFTING\r\n10,10,60,10\r\n"
    "58.439,56.591,61.394,95.654\r\n-50,50,50,50\r\n58.439,56.591,61.394,95.654\r\n,,,\r\n";

const char* const kPattern =
    ";%UNITS=INCH\r\n;\r\n*hek\r\n;%TYPE=DRAFTING\r\n;\r\n"
    "0.0000000000, 10.0000000000, 10.0000000000, 0.0000000000, 100.0000000000, 50.0000000000, "
    "-50.0000000000\r\n"
    "; Geen oplossing gevonden voor lijn: 2\r\n"
    "0.0000000000, 0.0000000000, 50.0000000000, 0.0000000000, 100.0000000000, 50.0000000000, "
    "-50.0000000000\r\n"
    "; Geen oplossing gevonden voor lijn: 4\r\n"
    ";\r\n";

TEST(CliFigure, WritesTheWindowsBytesAndListsTheFailedRows) {
    TempDir dir;
    const std::string list = dir.File("figuur.txt");
    WriteText(list, kList);
    const std::string failed =
        "Geen oplossing gevonden voor lijn: 2\nGeen oplossing gevonden voor lijn: 4\n";

    const Result toStdout = Cli(dir, {"figure", list});
    EXPECT_EQ(toStdout.status, 3);
    EXPECT_EQ(toStdout.out, kPattern);
    EXPECT_EQ(toStdout.err, failed);

    const std::string pat = dir.File("figuur.pat");
    const Result toFile = Cli(dir, {"figure", list, "--accuracy", "Nauwkeurig", "-o", pat});
    EXPECT_EQ(toFile.status, 3);
    EXPECT_EQ(toFile.out, "");
    EXPECT_EQ(ReadText(pat), kPattern);
    EXPECT_EQ(toFile.err, failed);
}

TEST(CliFigure, AllRowsConvertedIsSuccess) {
    TempDir dir;
    const std::string list = dir.File("figuur.txt");
    WriteText(list, ";%SIZE=100,100\r\n0,0,50,50\r\n");
    const Result r = Cli(dir, {"figure", list, "--accuracy", "Laag", "-o", "-"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
              ";%UNITS=MM\r\n;\r\n*naam arcering\r\n;%TYPE=MODEL\r\n;\r\n"
              "45.0000000000, 0.0000000000, 0.0000000000, 70.7106781187, 70.7106781187, "
              "70.7106781187, -70.7106781187\r\n;\r\n");
}

// With --report standard output holds the report alone; the pattern goes only to -o FILE.
TEST(CliFigure, ReportGoesToStandardOutputAndThePatternOnlyToAFile) {
    TempDir dir;
    const std::string list = dir.File("figuur.txt");
    WriteText(list, kList);
    const std::string failed =
        "Geen oplossing gevonden voor lijn: 2\nGeen oplossing gevonden voor lijn: 4\n";
    const std::string report =
        "Nr.  getekende hoek  geschreven hoek  hoogte/breedte  tolerantie  afstand\n"
        "1             0.000            0.000             0/1           -    0.000\n"
        "2            85.674  geen oplossing\n"
        "3             0.000            0.000             0/1           -    0.000\n"
        "4            85.674  geen oplossing\n";

    const std::string pat = dir.File("figuur.pat");
    const Result toFile = Cli(dir, {"figure", list, "--report", "-o", pat});
    EXPECT_EQ(toFile.status, 3);
    EXPECT_EQ(toFile.out, report);
    EXPECT_EQ(ReadText(pat), kPattern);
    EXPECT_EQ(toFile.err, failed);

    const Result alone = Cli(dir, {"figure", list, "--report"});
    EXPECT_EQ(alone.status, 3);
    EXPECT_EQ(alone.out, report);

    // Both on standard output would mix them.
    const Result mixed = Cli(dir, {"figure", list, "--report", "-o", "-"});
    EXPECT_EQ(mixed.status, 2);
    EXPECT_EQ(mixed.out, "");
    EXPECT_FALSE(mixed.err.empty());
}

// The hand-drawn edge the searched levels cannot convert, with "Op maat".
TEST(CliFigure, OpMaatWithATolerance) {
    TempDir dir;
    const std::string list = dir.File("figuur.txt");
    WriteText(list, ";%SIZE=600,300\r\n112.517,124.267,113.233,71.233\r\n");
    EXPECT_EQ(Cli(dir, {"figure", list, "--accuracy", "Laag", "-o", "-"}).status, 3);
    const Result r = Cli(dir, {"figure", list, "--accuracy", "Op maat", "--tolerance", "0,5",
                               "--report", "-o", dir.File("uit.pat")});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("       0.500"), std::string::npos) << r.out;
}

TEST(CliFigure, Failures) {
    struct Row {
        const char* name;
        const char* list;  // nullptr: no file
        std::vector<std::string> extra;
        bool existingOutput;
        int status;
        const char* err;  // nullptr: only checked to be non-empty
    };
    const Row rows[] = {
        {"unknown accuracy", ";%SIZE=10,10\r\n", {"--accuracy", "hoog"}, false, 2, nullptr},
        {"tolerance without Op maat", ";%SIZE=10,10\r\n", {"--tolerance", "1"}, false, 2, nullptr},
        {"tolerance 0",
         ";%SIZE=10,10\r\n",
         {"--accuracy", "Op maat", "--tolerance", "0"},
         false,
         2,
         nullptr},
        {"tolerance above the tile",
         ";%SIZE=10,10\r\n",
         {"--accuracy", "Op maat", "--tolerance", "10.5"},
         false,
         2,
         nullptr},
        {"bad size line", ";%SIZE=abc,100\r\n", {}, false, 2, "Onjuiste X-SIZE in bestand\n"},
        {"missing list", nullptr, {}, false, 2, nullptr},
        {"output exists", ";%SIZE=10,10\r\n", {}, true, 1, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        const std::string list = dir.File("figuur.txt");
        if (row.list) WriteText(list, row.list);
        const std::string pat = dir.File("uit.pat");
        if (row.existingOutput) WriteText(pat, "oud");
        std::vector<std::string> args{"figure", list, "-o", pat};
        args.insert(args.end(), row.extra.begin(), row.extra.end());
        const Result r = Cli(dir, args);
        EXPECT_EQ(r.status, row.status);
        if (row.err)
            EXPECT_EQ(r.err, row.err);
        else
            EXPECT_FALSE(r.err.empty());
        EXPECT_EQ(ReadText(pat), row.existingOutput ? "oud" : "");
    }
}

}  // namespace
}  // namespace murvex
