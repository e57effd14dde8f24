// A DXF drawing is untrusted: what is refused, each with a message that says why.
#include <gtest/gtest.h>

#include "DxfImport.h"
#include "DxfText.h"

namespace murvex::dxf {
namespace {

using dxftest::DxfFile;
using dxftest::Line;
using dxftest::Record;
using dxftest::TileOption;

struct RefusalRow {
    const char* name;
    std::string text;
    const char* message;  // part of the refusal
    ImportOptions options = {};
};

std::string Error(const RefusalRow& row) {
    const DrawingResult read = ReadDrawing(row.text);
    if (!read.drawing) return read.error;
    const ImportResult result = ImportTile(*read.drawing, row.options);
    return result.figure ? std::string() : result.error;
}

TEST(DxfRefusal, EachBadInputIsRefusedWithItsReason) {
    const std::string line = Line(0, 0, 10, 10);
    const std::string good = DxfFile(line);
    ImportOptions zeroChord;
    zeroChord.chordTolerance = 0.0;
    const std::string selfBlock = Record("BLOCK", {{2, "S"}}) + Record("INSERT", {{2, "T"}}) +
                                  Record("ENDBLK", {}) + Record("BLOCK", {{2, "T"}}) +
                                  Record("INSERT", {{2, "S"}}) + Record("ENDBLK", {});
    const std::string array =
        Record("BLOCK", {{2, "R"}}) + Record("INSERT", {{2, "Q"}, {70, "1000"}, {71, "1000"}}) +
        Record("ENDBLK", {}) + Record("BLOCK", {{2, "Q"}}) + line + Record("ENDBLK", {});
    const std::vector<RefusalRow> rows = {
        {"binary", "AutoCAD Binary DXF\r\n\x1a", "binaire DXF"},
        {"nul byte", std::string("0\nSECTION\n\0\n", 12), "nul-bytes"},
        {"cut before EOF", good.substr(0, good.size() - 12), "afgebroken"},
        {"cut inside a group", good.substr(0, good.find("10\n0") + 3), "afgebroken"},
        {"code that is no number", DxfFile("0\nLINE\nx8\n0\n"), "geen groepscode"},
        {"entity outside a section", "0\nLINE\n0\nEOF\n", "buiten elke sectie"},
        {"not a number", DxfFile(Record("LINE", {{10, "1.5.2"}, {20, "0"}})), "geen getal"},
        {"nan", DxfFile(Record("LINE", {{10, "nan"}, {20, "0"}})), "geen getal"},
        {"huge coordinate", DxfFile(Record("LINE", {{10, "1e300"}, {20, "0"}})), "te groot"},
        {"huge after scaling",
         DxfFile(Record("INSERT", {{2, "Q"}, {41, "1e6"}, {42, "1e6"}}),
                 Record("BLOCK", {{2, "Q"}}) + Line(0, 0, 5000, 0) + Record("ENDBLK", {})),
         "co\xF6rdinaten buiten"},
        {"nothing usable left", DxfFile(Record("CIRCLE", {{10, "1"}, {20, "1"}, {40, "0"}})),
         "de tekening is leeg"},
        {"y before x", DxfFile(Record("LINE", {{20, "1"}, {10, "0"}, {21, "0"}, {11, "1"}})),
         "niet op zijn plaats"},
        {"bulge before the first vertex",
         DxfFile(Record("LWPOLYLINE", {{90, "1"}, {42, "1"}, {10, "0"}, {20, "0"}})),
         "voor het eerste hoekpunt"},
        {"line longer than dxflib reads", DxfFile(Record("LINE", {{8, std::string(3000, 'a')}})),
         "langer dan"},
        {"block inserting itself", DxfFile(Record("INSERT", {{2, "S"}}), selfBlock),
         "voegt zichzelf in"},
        {"insert arrays past the bound", DxfFile(Record("INSERT", {{2, "R"}}), array),
         "vermenigvuldigen"},
        {"chord tolerance 0", good, "koordetolerantie", zeroChord},
        {"tile of no whole size", DxfFile(Line(0, 0, 10.5, 3)),
         "Er is een ongeldige waarde ingevoerd (tegel van 10.5 x 3 gevonden); geef de tegel op, "
         "teken hem als rechthoek op laag TEGEL of schaal de tekening"},
        {"no whole tile, away from the origin", DxfFile(Line(1000, 1000, 1080.5, 1076.5)),
         "80.5 x 76.5"},
        {"a symbol at the origin, neither filling a round square nor repeating",
         DxfFile(Line(0, 0, 15.5, 12) + Line(3, 3, 13, 3)), "15.5 x 12"},
        {"near whole beyond a thousandth", DxfFile(Line(0, 0, 5000.002, 3)), "5000.002 x 3"},
        {"metres without a unit", DxfFile(Line(0, 0, 1, 1)), "$INSUNITS",
         [] {
             ImportOptions o;
             o.toMillimetres = true;
             return o;
         }()},
        {"nothing to import", DxfFile(Record("TEXT", {{1, "a"}})), "de tekening is leeg"},
        {"nothing on the chosen layers", good, "geen lijnen op de gekozen lagen",
         [] {
             ImportOptions o;
             o.layers = std::vector<std::string>{"ANDERS"};
             return o;
         }()},
        {"too many segments after merging", DxfFile(Line(0, 0, 150000, 0.5)),
         "meer dan 100000 segmenten in de tegel, na het samenvoegen", TileOption(0, 0, 1, 1)},
        {"too much work before merging", DxfFile(Line(0, 0, 1e7, 0)), "stukken lijn",
         TileOption(0, 0, 1, 1)},
        {"polyline of too many vertices",
         DxfFile(Record("POLYLINE", {{66, "1"}}) +
                 [] {
                     std::string v;
                     for (int i = 0; i <= 100000; ++i)
                         v += Record("VERTEX", {{10, std::to_string(i % 7)}, {20, "0"}});
                     return v;
                 }()),
         "POLYLINE met meer dan 100000 punten"},
    };
    for (const RefusalRow& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_NE(Error(row).find(row.message), std::string::npos) << Error(row);
    }
}

TEST(DxfRefusal, FilesOverTheSizeLimitAreNotParsed) {
    std::string text = DxfFile(Line(0, 0, 1, 1));
    text.insert(text.size() - 4, kMaxDxfBytes, ' ');
    EXPECT_NE(ReadDrawing(text).error.find("groter dan 64 MiB"), std::string::npos);
}

}  // namespace
}  // namespace murvex::dxf
