// murvex-cli figure-read run as a separate process: output bytes, messages and exit statuses.
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

// A Windows-1252 name with a description, a clipped row, a row that misses the tile, a row with a
// tab-escaped cell, and a second figure.
const char* const kList =
    ";%size=10,10\r\n;%UNITS=inch\r\n*na\xe9m, bruin\r\n;%TYPE=drafting\r\n5,5,-5,5\r\n"
    "20,20,30,30\r\n#1,2\\3,,\r\n*tweede\r\n1,1,2,2\r\n";

TEST(CliFigureRead, PlainShowsTheRedrawnTab) {
    TempDir dir;
    const std::string file = dir.File("figuur.txt");
    WriteText(file, kList);
    const Result r = Cli(dir, {"figure-read", file});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "#width\t10\n#height\t10\n#units\tINCH\n#name\tna\xc3\xa9m\n#description\tbruin\n"
              "#type\tDRAFTING\n"
              "0.000\t5.000\t5.000\t5.000\n\\#1\t2\\\\3\t\t\n");
    EXPECT_EQ(r.err,
              "Dit bestand bevat meerdere arceringen, alleen de eerste wordt gelezen de rest gaat "
              "verloren!\n");
}

TEST(CliFigureRead, Json) {
    TempDir dir;
    const std::string file = dir.File("figuur.txt");
    WriteText(file, kList);
    const Result r = Cli(dir, {"figure-read", file, "--json"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(
        r.out,
        "{\n  \"width\": 10,\n  \"height\": 10,\n  \"units\": \"INCH\",\n"
        "  \"name\": \"na\xc3\xa9m\",\n  \"description\": \"bruin\",\n  \"type\": \"DRAFTING\",\n"
        "  \"multipleFigures\": true,\n  \"rows\": [\n"
        "    [\"0.000\", \"5.000\", \"5.000\", \"5.000\"],\n"
        "    [\"#1\", \"2\\\\3\", \"\", \"\"]\n  ]\n}\n");
}

// A control character in a text reaches the terminal only as an escape, in both forms.
TEST(CliFigureRead, ControlCharactersAreEscaped) {
    TempDir dir;
    const std::string file = dir.File("figuur.txt");
    WriteText(file, ";%size=10,10\r\n*a\x1b]b\x7f\r\n1,1,2,2\r\n");
    const Result plain = Cli(dir, {"figure-read", file});
    EXPECT_NE(plain.out.find("#name\ta\\x1b]b\\x7f\n"), std::string::npos) << plain.out;
    const Result json = Cli(dir, {"figure-read", file, "--json"});
    EXPECT_NE(json.out.find("\"name\": \"a\\u001b]b\\u007f\""), std::string::npos) << json.out;
}

// Without a size line nothing can be drawn yet: the rows stay as they were read.
TEST(CliFigureRead, NoSizeLineKeepsTheRows) {
    TempDir dir;
    const std::string file = dir.File("figuur.txt");
    WriteText(file, "1,1,2,2\n30,30,40,40\n");
    const Result r = Cli(dir, {"figure-read", file});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "#width\t0\n#height\t0\n#units\tMM\n#name\tnaam arcering\n#type\tMODEL\n"
              "1\t1\t2\t2\n30\t30\t40\t40\n");
}

TEST(CliFigureRead, Failures) {
    struct Row {
        const char* name;
        const char* text;  // nullptr: no file
        int status;
        const char* err;
    };
    const Row rows[] = {
        {"width", ";%SIZE=abc,100\r\n1,1,2,2\r\n", 2, "Onjuiste X-SIZE in bestand\n"},
        {"height", ";%SIZE=300\r\n", 2, "Onjuiste Y-SIZE in bestand\n"},
        {"zero side", ";%SIZE=0,100\r\n", 2, "Er is een ongeldige waarde ingevoerd\n"},
        {"missing file", nullptr, 1, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        const std::string file = dir.File("figuur.txt");
        if (row.text) WriteText(file, row.text);
        const Result r = Cli(dir, {"figure-read", file});
        EXPECT_EQ(r.status, row.status);
        EXPECT_EQ(r.out, "");
        if (row.err)
            EXPECT_EQ(r.err, row.err);
        else
            EXPECT_NE(r.err.find(file), std::string::npos);
    }
}

}  // namespace
}  // namespace murvex
