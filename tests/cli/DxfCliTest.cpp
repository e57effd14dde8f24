// murvex-cli dxf run as a separate process: what it refuses, and lines cut off at their limit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CliRun.h"
#include "TempDir.h"

namespace murvex {
namespace {

using clitest::Cli;
using clitest::Result;
using test::ReadText;
using test::TempDir;
using test::WriteText;

TEST(CliDxf, RefusesWhatItCannotDrawAndWritesNothing) {
    TempDir dir;
    const std::string pat = dir.File("p.pat");
    const std::string empty = dir.File("leeg.pat");
    WriteText(pat, "*p\r\n0, 0,0, 0,10\r\n");
    WriteText(empty, "*leeg\r\n; geen lijnen\r\n");
    const std::string out = dir.File("p.dxf");
    const struct {
        const char* name;
        std::vector<std::string> args;
        int status;
    } rows[] = {
        {"box not a number", {"dxf", pat, "--box", "0", "0", "breed", "10", "-o", out}, 2},
        {"box without height", {"dxf", pat, "--box", "0", "5", "10", "5", "-o", out}, 2},
        {"no pattern line", {"dxf", empty, "--box", "0", "0", "10", "10", "-o", out}, 2},
        {"missing file", {"dxf", dir.File("weg.pat"), "--box", "0", "0", "9", "9", "-o", out}, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const Result r = Cli(dir, row.args);
        EXPECT_EQ(r.status, row.status);
        EXPECT_NE(r.err, "");
    }
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{".stderr", ".stdout", "leeg.pat", "p.pat"}));

    // Too many lines for the drawing: the hatch is written whole, the lines stop at the limit.
    const Result r =
        Cli(dir, {"dxf", pat, "--box", "0", "0", "10", "6000000", "-o", out, "--lines"});
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("50000"), std::string::npos);
    EXPECT_NE(ReadText(out).find("\r\nHATCH\r\n"), std::string::npos);
}

}  // namespace
}  // namespace murvex
