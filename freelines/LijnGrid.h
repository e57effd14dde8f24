// The free line grid: its set-up, adding and deleting rows, and the lines "Maak Hatch" writes.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "CompatiblePattern.h"
#include "PatternFile.h"
#include "PatternHeader.h"
#include "Platform.h"
#include "TextGrid.h"

namespace murvex::freelines {

// Column 0 is the fixed "Nr." column, columns 1 to 7 hold the fields of one pattern line: five
// numbers and the first two dash values. A line with a longer dash list gets more columns in
// pairs after them ("Pen Down 2", "Pen Up 2", ...); a grid without such lines has the eight.
inline constexpr int kColCount = 8;
inline constexpr int kFirstDataCol = 1;
inline constexpr int kLastDataCol = 7;  // the last of the eight; LastDataCol for this grid's

// The most fields a pattern line read into the grid can hold: the reader takes 255 characters.
inline constexpr int kMaxLineFields = 128;

const std::array<std::string_view, kColCount>& LijnGridHeaders();

// The last data column of grid: kLastDataCol, or that of its last dash pair.
int LastDataCol(const TextGrid& grid);
// The header of a data column: those of LijnGridHeaders, then "Pen Down N" and "Pen Up N".
std::string DataColumnHeader(int col);
// Gives grid as many dash columns as its longest row needs: the eight columns, then whole
// pairs. Columns past the last non-empty cell go; the headers of new columns are written.
void FitDashColumns(TextGrid& grid);
// Adds dash columns (never removes any) until a row of fields values fits.
void GrowDashColumns(TextGrid& grid, int fields);

// Writes the headers into row 0 and "1" into the number cell of row 1.
void SetupLijnGrid(TextGrid& grid);
// A grid as the tab starts: the header row and one empty data row.
TextGrid MakeLijnGrid();

// Adds one data row: appended when the current row is the last row (or not a data row),
// otherwise an empty row is inserted at the current row, which moves down with the rows below.
// The "Regel toevoegen" button and the reader add rows through it.
void InsertRowAtCurrent(TextGrid& grid);
// Deletes the current data row; does nothing when it is the only one or no data row is current.
// The data cells of the dropped last row are emptied first, so a row added later starts empty.
void DeleteCurrentRow(TextGrid& grid);
// What calling DeleteCurrentRow while the grid has more than one data row leaves behind, in one
// step. A grid whose current row is not a data row is reduced as if row 2 were current.
void ReduceToOneDataRow(TextGrid& grid);

// The pattern line of one data row: "Hoek" followed by ", " and every further non-empty cell;
// empty when "Hoek" is empty. Cell texts are copied as they stand.
std::string RowLine(const TextGrid& grid, int row);
// The whole file: units header, ";", name line, type header, one line per data row, ";". In the
// compatible style a row without an angle is the comment line EmptyRowComment instead of an
// empty line.
LineList BuildFreeLineHatch(const TextGrid& grid, const PatternHeader& header,
                            PatternStyle style = PatternStyle::Specified);
// "; Rij zonder hoek: " and the row number.
std::string EmptyRowComment(int row);
// Builds the lines and runs the save flow; true when the file was written. Throws CommandError
// when the file cannot be written.
bool SaveFreeLineHatch(const TextGrid& grid, const PatternHeader& header, Platform& platform,
                       FileDialog& saveDialog, WindowHandle owner,
                       PatternStyle style = PatternStyle::Specified);

}  // namespace murvex::freelines
