// The figure list file: bytes as written, the round trip, and reading as the open command does.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "FigureEditing.h"
#include "FigureList.h"
#include "RecordingCanvas.h"
#include "TempDir.h"

namespace murvex::figure {
namespace {

using test::RecordingCanvas;
using test::TempDir;
using Cells = std::array<std::string, 4>;

std::vector<Cells> Rows(const TextGrid& grid) {
    std::vector<Cells> rows;
    for (int r = 1; r < grid.RowCount(); ++r)
        rows.push_back({grid.Cell(1, r), grid.Cell(2, r), grid.Cell(3, r), grid.Cell(4, r)});
    return rows;
}

void SetRow(TextGrid& grid, int row, const Cells& cells) {
    for (int c = 0; c < 4; ++c)
        grid.SetCell(kFirstCoordCol + c, row, cells[c]);
}

TEST(FigureListWrite, SixHundredByThreeHundredExample) {
    FigureModel model;
    RecordingCanvas canvas;
    ASSERT_TRUE(InitFiguur(model, canvas, 600, 300));
    SetRow(model.grid, 1, {"0.000", "5.000", "10.000", "5.000"});
    TempDir dir;
    const std::string path = dir.File("figuur.txt");
    ASSERT_EQ(WriteFigureList(path, model, PatternHeader{}), WriteStatus::Ok);
    EXPECT_EQ(test::ReadText(path),
              ";%SIZE=600,300\r\n;%UNITS=MM\r\n*naam arcering\r\n;%TYPE=MODEL\r\n"
              "0.000,5.000,10.000,5.000\r\n");

    FigureModel back;
    PatternHeader texts{"INCH", "DRAFTING", "x"};
    const ListReadResult result = ReadFigureListFile(path, back, canvas, texts);
    EXPECT_EQ(result.status, ListReadStatus::Ok);
    EXPECT_TRUE(result.tileSet);
    EXPECT_EQ(back.TileWidth(), 600);
    EXPECT_EQ(back.TileHeight(), 300);
    EXPECT_EQ(texts.units, "MM");
    EXPECT_EQ(texts.type, "MODEL");
    EXPECT_EQ(texts.name, "naam arcering");
    EXPECT_EQ(Rows(back.grid), Rows(model.grid));
}

TEST(FigureListWrite, EmptyCellsGiveEmptyFields) {
    FigureModel model;
    RecordingCanvas canvas;
    ASSERT_TRUE(InitFiguur(model, canvas, 10, 20));
    AddSegmentRow(model.grid);
    SetRow(model.grid, 2, {"10.000", "20.000", "", ""});
    const LineList expected{";%SIZE=10,20", ";%UNITS=MM", "*naam arcering",
                            ";%TYPE=MODEL", ",,,",        "10.000,20.000,,"};
    EXPECT_EQ(FigureListLines(model, PatternHeader{}), expected);
}

struct ReadRow {
    const char* name;
    const char* text;
    ListReadStatus status;
    int width;  // the tile afterwards; the reading starts on a 10 x 10 tile holding kStart
    int height;
    std::vector<Cells> rows;
    PatternHeader texts = {};
    bool multiple = false;
};

const Cells kStart{"1", "1", "2", "2"};

TEST(FigureListRead, Cases) {
    const ReadRow rows[] = {
        {"lower-case size and units lines",
         ";%size=300,200\r\n;%UNITS=inch\r\n1,2,3,4\r\n",
         ListReadStatus::Ok,
         300,
         200,
         {{"1", "2", "3", "4"}},
         {"INCH", "MODEL", "naam arcering"}},
        {"size without height",
         ";%SIZE=300\r\n1,2,3,4\r\n",
         ListReadStatus::BadHeight,
         10,
         10,
         {kStart}},
        {"width not a number", ";%SIZE=abc,100\r\n", ListReadStatus::BadWidth, 10, 10, {kStart}},
        {"decimals rounded", ";%SIZE= 300.6 ,199.5,7\r\n", ListReadStatus::Ok, 301, 200, {{}}},
        {"a zero side refused",
         ";%SIZE=0,100\r\n1,2,3,4\r\n",
         ListReadStatus::InvalidSize,
         10,
         10,
         {kStart}},
        {"no size line: the rows go on from the last one",
         "5,5,6,6\r\n7,7,8,8\r\n",
         ListReadStatus::Ok,
         10,
         10,
         {{"5", "5", "6", "6"}, {"7", "7", "8", "8"}}},
        {"comments, version and empty lines skipped",
         ";%SIZE=10,10\n;;note\n1,1,2,2\n;%VERSION=1\n\n;%SIZE=\n;\n*\n3,3,4,4",
         ListReadStatus::Ok,
         10,
         10,
         {kStart, {"3", "3", "4", "4"}}},
        {"headers after a segment skipped",
         ";%SIZE=10,10\r\n1,1,2,2\r\n;%SIZE=20,20\r\n;%TYPE=DRAFTING\r\n;%UNITS=INCH\r\n",
         ListReadStatus::Ok,
         10,
         10,
         {kStart}},
        {"values compared after upper-casing, blanks kept",
         ";%TYPE=drafting\r\n;%UNITS=mm \r\n*Naam Met Hoofdletters\r\n",
         ListReadStatus::Ok,
         10,
         10,
         {kStart},
         {"MM", "DRAFTING", "Naam Met Hoofdletters"}},
        {"a second name line stops the reading",
         ";%SIZE=10,10\r\n*eerste\r\n1,1,2,2\r\n*tweede\r\n3,3,4,4\r\n",
         ListReadStatus::Ok,
         10,
         10,
         {kStart},
         {"MM", "MODEL", "eerste"},
         true},
        {"blanks around fields, a fifth field ignored",
         ";%SIZE=10,10\r\n1, 2 ,3,4,5\r\n",
         ListReadStatus::Ok,
         10,
         10,
         {{"1", "2", "3", "4"}}},
        {"letters stay, undrawn",
         ";%SIZE=10,10\r\nabc\r\n",
         ListReadStatus::Ok,
         10,
         10,
         {{"abc", "", "", ""}}},
        {"clipped and missing rows redrawn away",
         ";%SIZE=10,10\r\n5,5,-5,5\r\n20,20,30,30\r\n",
         ListReadStatus::Ok,
         10,
         10,
         {{"0.000", "5.000", "5.000", "5.000"}}},
    };
    for (const ReadRow& row : rows) {
        SCOPED_TRACE(row.name);
        FigureModel model;
        RecordingCanvas canvas;
        ASSERT_TRUE(InitFiguur(model, canvas, 10, 10));
        SetRow(model.grid, 1, kStart);
        PatternHeader texts;
        int warnings = 0;
        const ListReadResult result =
            ReadFigureListText(row.text, model, canvas, texts, [&] { ++warnings; });
        EXPECT_EQ(result.status, row.status);
        EXPECT_EQ(model.TileWidth(), row.width);
        EXPECT_EQ(model.TileHeight(), row.height);
        EXPECT_EQ(Rows(model.grid), row.rows);
        EXPECT_EQ(texts.units, row.texts.units);
        EXPECT_EQ(texts.type, row.texts.type);
        EXPECT_EQ(texts.name, row.texts.name);
        EXPECT_EQ(result.multipleFigures, row.multiple);
        EXPECT_EQ(warnings, row.multiple ? 1 : 0);
    }
}

// A failed size line stops at once: no trailing-row removal, no redraw.
TEST(FigureListRead, SizeErrorLeavesTheRowsReadSoFar) {
    FigureModel model;
    RecordingCanvas canvas;
    PatternHeader texts;
    const ListReadResult result =
        ReadFigureListText("*naam\r\n;%SIZE=1,x\r\n", model, canvas, texts);
    EXPECT_EQ(texts.name, "naam");
    EXPECT_EQ(result.status, ListReadStatus::BadHeight);
    EXPECT_EQ(MessageFor(result.status, "").text, "Onjuiste Y-SIZE in bestand");
    EXPECT_TRUE(canvas.calls.empty());
}

TEST(FigureListRead, FilesThatCannotBeReadChangeNothing) {
    TempDir dir;
    const std::string many = dir.File("many.txt");
    std::string text = ";%SIZE=10,10\r\n";
    for (std::size_t i = 0; i <= kMaxListRows; ++i)
        text += "1,1,2,2\r\n";
    test::WriteText(many, text);
    for (const std::string& path : {dir.File("missing.txt"), many}) {
        SCOPED_TRACE(path);
        FigureModel model;
        RecordingCanvas canvas;
        PatternHeader texts;
        SetRow(model.grid, 1, kStart);
        const ListReadResult result = ReadFigureListFile(path, model, canvas, texts);
        EXPECT_NE(result.status, ListReadStatus::Ok);
        EXPECT_FALSE(model.HasFigure());
        EXPECT_EQ(Rows(model.grid), std::vector<Cells>{kStart});
        EXPECT_TRUE(canvas.calls.empty());
    }
}

}  // namespace
}  // namespace murvex::figure
