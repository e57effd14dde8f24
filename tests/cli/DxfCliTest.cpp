// murvex-cli figure-read and figure over a DXF drawing: the wiring of the options, the report
// and the refusals (the import's rules are tested in tests/dxf).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "CliRun.h"
#include "DxfText.h"
#include "TempDir.h"

namespace murvex {
namespace {

using clitest::Cli;
using clitest::Result;
using dxftest::DxfFile;
using dxftest::Line;
using test::TempDir;
using test::WriteText;

// Two lines on two layers; the second crosses the right border of the tile 0 0 10 10.
const std::string kDrawing =
    DxfFile(Line(1, 1, 4, 1, "A") + Line(8, 5, 12, 5, "B"), "", "9\n$INSUNITS\n70\n1\n");

TEST(CliDxf, FigureReadGivesTheRowsAndTheReportFigureConvertsThem) {
    TempDir dir;
    const std::string file = dir.File("tegel.DXF");
    WriteText(file, kDrawing);
    const Result r =
        Cli(dir, {"figure-read", file, "--tile", "0", "0", "10", "10", "--layer", "b"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find("#import")),
              "#width\t10\n#height\t10\n#units\tINCH\n#name\tnaam arcering\n#type\tMODEL\n");
    EXPECT_NE(r.out.find("#import\tTegel: 0 0 10 10 (opgegeven)\n"), std::string::npos);
    EXPECT_EQ(r.out.substr(r.out.rfind("#import")),
              "#import\tEenheden: INCH\n8.000\t5.000\t10.000\t5.000\n0.000\t5.000\t2.000\t5.000\n");

    const Result json = Cli(dir, {"figure-read", file, "--json", "--chord", "0,5"});
    EXPECT_EQ(json.status, 0) << json.err;
    EXPECT_NE(json.out.find("\"chordTolerance\": 0.5,"), std::string::npos);
    EXPECT_NE(json.out.find("\"tile\": [1, 1, 12, 5],"), std::string::npos);
    EXPECT_NE(json.out.find("\"rows\": [\n    [\"0.000\", \"0.000\", \"3.000\", \"0.000\"]"),
              std::string::npos)
        << json.out;

    // The conversion of the same rows.
    const Result hatch = Cli(dir, {"figure", file, "--tile", "0", "0", "10", "10", "-o", "-"});
    EXPECT_EQ(hatch.status, 0) << hatch.err;
    EXPECT_EQ(hatch.out.substr(0, 12), ";%UNITS=INCH");
    // One pattern line per segment: the two lines and the wrapped part.
    EXPECT_EQ(std::count(hatch.out.begin(), hatch.out.end(), '\n'), 5 + 3 + 1);
}

TEST(CliDxf, RefusalsAndMisplacedOptions) {
    TempDir dir;
    const std::string file = dir.File("cut.dxf");
    WriteText(file, kDrawing.substr(0, kDrawing.size() - 8));
    for (const char* command : {"figure-read", "figure"}) {
        SCOPED_TRACE(command);
        const Result cut = Cli(dir, {command, file});
        EXPECT_EQ(cut.status, 2);
        EXPECT_EQ(cut.err,
                  "De DXF-tekening kan niet worden ingelezen: de tekening is afgebroken (het "
                  "einde, EOF, ontbreekt)\n");
        const Result list = Cli(dir, {command, dir.File("figuur.txt"), "--chord", "1"});
        EXPECT_EQ(list.status, 2);
        EXPECT_EQ(list.err,
                  "--tile, --layer, --scale en --chord gelden alleen voor een DXF-tekening\n");
    }
}

}  // namespace
}  // namespace murvex
