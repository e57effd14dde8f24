// murvex-cli read and lines run as a separate process: output, files, messages, exit statuses.
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

const char* const kTenLines =
    ";%UNITS=inch\r\n;\r\n*Tegels, wall tiles\r\n;;drawn by hand\r\n;%TYPE=DRAFTING\r\n"
    "0, 0, 0, 0, 6.35\r\n90,0,0 , 0,6.35, 6.35, -6.35, 1, -1\r\n;\r\n*Second\r\n"
    "45, 0, 0, 0, 1\r\n";
const char* const kTenLinesTab =
    "#units\tINCH\n#type\tDRAFTING\n#name\tTegels\n#description\twall tiles\n"
    "0\t0\t0\t0\t6.35\t\t\t\t\n90\t0\t0\t0\t6.35\t6.35\t-6.35\t1\t-1\n";
const char* const kWarning =
    "Dit bestand bevat meerdere arceringen, alleen de eerste wordt gelezen de rest gaat "
    "verloren!\n";

TEST(CliRead, PrintsTheTabAndWarnsOnStandardError) {
    TempDir dir;
    const std::string file = dir.File("ten.pat");
    WriteText(file, kTenLines);
    const Result r = Cli(dir, {"read", file});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, kTenLinesTab);
    EXPECT_EQ(r.err, kWarning);
}

TEST(CliRead, WritesJson) {
    TempDir dir;
    const std::string file = dir.File("ten.pat");
    WriteText(file, kTenLines);
    const Result r = Cli(dir, {"read", "--json", file});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "{\n  \"units\": \"INCH\",\n  \"type\": \"DRAFTING\",\n"
              "  \"name\": \"Tegels\",\n  \"description\": \"wall tiles\",\n"
              "  \"multiplePatterns\": true,\n"
              "  \"rows\": [\n"
              "    [\"0\", \"0\", \"0\", \"0\", \"6.35\", \"\", \"\", \"\", \"\"],\n"
              "    [\"90\", \"0\", \"0\", \"0\", \"6.35\", \"6.35\", \"-6.35\", \"1\", \"-1\"]\n"
              "  ]\n}\n");
}

TEST(CliRead, AFileThatCannotBeReadFailsWithTheReadError) {
    TempDir dir;
    const Result r = Cli(dir, {"read", dir.File("gone.pat")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("Fout bij lezen van hatchbestand\n", 0), 0u) << r.err;
}

TEST(CliRead, ShowsFileTextInUtf8) {
    TempDir dir;
    const std::string file = dir.File("cafe.pat");
    WriteText(file, "*Caf\xe9\r\n1\r\n");
    const Result r = Cli(dir, {"read", file});
    EXPECT_EQ(r.out, "#units\tMM\n#type\tMODEL\n#name\tCaf\xc3\xa9\n1\t\t\t\t\t\t\n");
}

TEST(CliLines, WritesTheFileAsMaakHatchDoes) {
    TempDir dir;
    const std::string rows = dir.File("rows.tsv");
    WriteText(rows, "45\t0\t0\t0\t3.175\n90\t\t5\t\t10\n\t1\t2\n");
    const std::string out = dir.File("out.pat");
    const Result r = Cli(dir, {"lines", rows, "-o", out});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadText(out),
              ";%UNITS=MM\r\n;\r\n*naam arcering\r\n;%TYPE=MODEL\r\n45, 0, 0, 0, 3.175\r\n"
              "90, 5, 10\r\n\r\n;\r\n");
}

TEST(CliLines, OptionsOverrideTheTextsOfTheRows) {
    TempDir dir;
    const std::string rows = dir.File("rows.tsv");
    WriteText(rows, "#units\tINCH\n#type\tDRAFTING\n#name\tuit bestand\n1\n");
    const Result r = Cli(dir, {"lines", rows, "--units", "cm", "--name", "Caf\xc3\xa9"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, ";%UNITS=cm\r\n;\r\n*Caf\xe9\r\n;%TYPE=DRAFTING\r\n1\r\n;\r\n");
}

TEST(CliLines, ARowWithTooManyCellsIsRefused) {
    TempDir dir;
    const std::string rows = dir.File("rows.tsv");
    WriteText(rows, "1\n" + std::string(128, '\t') + "\n");
    const std::string out = dir.File("out.pat");
    const Result r = Cli(dir, {"lines", rows, "-o", out});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, rows + ": line 2: more than 128 cells\n");
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST(CliLines, KeepsAnExistingFileWithoutForce) {
    TempDir dir;
    const std::string rows = dir.File("rows.tsv");
    WriteText(rows, "1\n");
    const std::string out = dir.File("out.pat");
    WriteText(out, "old");
    EXPECT_EQ(Cli(dir, {"lines", rows, "-o", out}).status, 1);
    EXPECT_EQ(ReadText(out), "old");
    EXPECT_EQ(Cli(dir, {"lines", rows, "-o", out, "--force"}).status, 0);
    EXPECT_EQ(ReadText(out), ";%UNITS=MM\r\n;\r\n*naam arcering\r\n;%TYPE=MODEL\r\n1\r\n;\r\n");
}

// read, then lines from its output on standard input, then read again: the same tab.
TEST(CliReadLines, RoundTripThroughStandardInput) {
    TempDir dir;
    const std::string file = dir.File("ten.pat");
    WriteText(file, kTenLines);
    const Result first = Cli(dir, {"read", file});
    const std::string tsv = dir.File("ten.tsv");
    WriteText(tsv, first.out);
    const std::string again = dir.File("again.pat");
    ASSERT_EQ(Cli(dir, {"lines", "-", "-o", again}, tsv).status, 0);
    EXPECT_EQ(ReadText(again),
              ";%UNITS=INCH\r\n;\r\n*Tegels, wall tiles\r\n;%TYPE=DRAFTING\r\n"
              "0, 0, 0, 0, 6.35\r\n90, 0, 0, 0, 6.35, 6.35, -6.35, 1, -1\r\n;\r\n");
    const Result second = Cli(dir, {"read", again});
    EXPECT_EQ(second.out, kTenLinesTab);
    EXPECT_EQ(second.err, "");
}

}  // namespace
}  // namespace murvex
