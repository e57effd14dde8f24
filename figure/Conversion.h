// Figure-to-pattern conversion: each segment of the tile becomes one pattern line that repeats
// with the tile, and "Maak hatch" collects them into the lines of one pattern file.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "CompatiblePattern.h"
#include "PatternFile.h"
#include "PatternHeader.h"

namespace murvex {
class Platform;
class TextGrid;
}  // namespace murvex

namespace murvex::figure {

// The items of ComboBoxNaukeurigheid, in combo order. The first three search the lattice with
// tolerance stages; "Op maat" fits each segment to the lattice within a deviation the user gives.
enum class Accuracy { Nauwkeurig, Middel, Laag, OpMaat };

// "Nauwkeurig", "Middel", "Laag" or "Op maat" exactly; nothing for any other text.
std::optional<Accuracy> AccuracyFromText(std::string_view text);
std::string_view AccuracyText(Accuracy accuracy);
// The combo's item index; an index outside the items (none chosen) counts as "Nauwkeurig".
Accuracy AccuracyFromIndex(int index);

// N: the searches try 1 to N - 1 tile heights. "Op maat" does not search this way: 0.
int RepeatLimit(Accuracy accuracy);
// The tolerance stages of the first search, in drawing units, in the order they are tried;
// none for "Op maat".
std::span<const long double> ToleranceStages(Accuracy accuracy);

// The tile in drawing units; the conversion assumes W > 0 and H > 0 and fails otherwise.
struct TileSize {
    int width = 0;
    int height = 0;
};

// "Max. afwijking" as it stands when the tab opens.
inline constexpr long double kDefaultMaxDeviation = 0.1L;
// "Op maat" writes no family whose repeat spans more tile sides than this (k widths plus i
// heights): a family crosses each tile with about k + i lines, so this caps what a CAD program
// has to draw per segment and tile; a segment that would need more fails instead.
inline constexpr long long kRepeatSideLimit = 1000;

// What the conversion is asked for: the accuracy item, and for "Op maat" the largest distance,
// in drawing units, that the written line may keep from the segment and from each of its copies.
struct ConversionSettings {
    Accuracy accuracy = Accuracy::Nauwkeurig;
    long double maxDeviation = kDefaultMaxDeviation;
    // A level alone, as the three searched levels need nothing else.
    ConversionSettings(Accuracy level = Accuracy::Nauwkeurig,  // NOLINT: a level is a setting
                       long double deviation = kDefaultMaxDeviation)
        : accuracy(level), maxDeviation(deviation) {}
};

// A usable "Max. afwijking": a finite number above 0 and not above the tile's larger side.
bool MaxDeviationValid(const TileSize& tile, long double deviation);
// The text of "Max. afwijking" or of --tolerance (comma or point) when it is MaxDeviationValid.
std::optional<long double> ParseMaxDeviation(const TileSize& tile, std::string_view text);

// A lattice point reached by a line of the family: `climb` tile heights up, `run` widths across.
struct RepeatStep {
    long long climb = 0;
    long long run = 0;
};

// The lattice search: for i = 1 .. limit - 1 tile heights, the first whole number of tile widths
// k (counted up from the integer part of (i H - offset) / q, q = W tan direction) for which
// k q + offset lies strictly within tolerance of i H. Nothing when no i gives one, and also when
// the arithmetic breaks down (q not a finite positive number, counts beyond 2^62).
std::optional<RepeatStep> FindRepeat(const TileSize& tile, int limit, long double offset,
                                     long double tolerance, long double direction);

enum class LineCase { Diagonal, Horizontal, Vertical, Rising, Falling };

// One converted segment. The text is the pattern line as written: seven numbers with ten
// decimals joined by ", " (angle, origin x and y, shift along and across, dash, gap).
struct ConvertedLine {
    std::string text;
    LineCase lineCase = LineCase::Horizontal;
    // The lattice step after which the family meets a copy of its start point: one width for a
    // horizontal line, one height for a vertical one, one height (down for the mirrored
    // diagonal) over one width for the diagonal, and the found step (climb negative when
    // falling) for the general cases.
    RepeatStep repeat;
    // General cases: the tolerance stage at which the first search accepted the step, that is
    // how far the segment's own direction may miss the lattice point after the run; "Op maat":
    // the "Max. afwijking" it was written within. 0 otherwise.
    long double tolerance = 0;
    // The segment was longer than its repeat distance and is written as a continuous line:
    // dash = repeat distance, gap -0.
    bool continuous = false;
};

// Converts the segment (x1, y1)-(x2, y2); nothing when no repeat is found, and also when the
// written text (ten decimals, read back) would put the copies of the start point one tile width
// to the right or one tile height up more than a millionth of the tile's larger side off the
// family.
std::optional<ConvertedLine> ConvertSegment(const TileSize& tile, long double x1, long double y1,
                                            long double x2, long double y2,
                                            const ConversionSettings& settings);

// The lattice direction "Op maat" writes for a segment: k tile widths run and i tile heights
// climbed (negative: falling) per repeat, and the distance the line, laid through the segment's
// middle, keeps from the segment's ends.
struct LatticeFit {
    RepeatStep step;
    long double deviation = 0;
};
// Among the lattice directions whose repeat spans at most kRepeatSideLimit tile sides and that
// keep the segment within maxDeviation, the one with the shortest repeat; nothing when there is
// none (or for a bad tile or a coordinate that is not finite).
std::optional<LatticeFit> FitLattice(const TileSize& tile, long double x1, long double y1,
                                     long double x2, long double y2, long double maxDeviation);
// The smallest "Max. afwijking" for which FitLattice finds a direction; nothing for a bad tile
// or a coordinate that is not finite.
std::optional<long double> SmallestMaxDeviation(const TileSize& tile, long double x1,
                                                long double y1, long double x2, long double y2);

// The texts of one figure grid row: "X start", "Y start", "X eind", "Y eind".
using RowCells = std::array<std::string_view, 4>;

// The row's cells read as decimals: an empty or unreadable cell counts as 0.
std::array<double, 4> RowCellValues(const RowCells& cells);

// ConvertFiguurLijn: the row's cells read as decimals (RowCellValues).
std::optional<ConvertedLine> ConvertFiguurLijn(const TileSize& tile, const RowCells& cells,
                                               const ConversionSettings& settings);

// "Geen oplossing gevonden voor lijn: " and the row number.
std::string NoSolutionMessage(int row);
// The comment line written in place of a row without a solution: "; " and NoSolutionMessage.
// An empty line would end the pattern for CAD programs.
std::string NoSolutionComment(int row);

// A row whose four cells are all empty is no segment: "Maak hatch" and the report skip it (an
// abandoned segment leaves one behind).
bool RowCellsEmpty(const RowCells& cells);

// One data row of the figure grid that is not empty, converted once: the pattern file, the report
// and the preview all read the same result.
struct ConvertedRow {
    int row = 0;  // the grid's row number
    // The four cells read as ConvertFiguurLijn reads them: x1, y1, x2, y2.
    std::array<double, 4> drawn{};
    std::optional<ConvertedLine> line;  // nothing: no solution
    // "Op maat" without a solution: the smallest "Max. afwijking" that would give one (0 when
    // it cannot be told).
    long double neededDeviation = 0;
};

// One row's cells converted: ConvertFiguurLijn, and for "Op maat" without a solution the
// smallest "Max. afwijking" that would give one.
ConvertedRow ConvertRowCells(const TileSize& tile, const RowCells& cells,
                             const ConversionSettings& settings, int row);

// Every data row (1 to row count - 1, columns 1 to 4) that is not empty (RowCellsEmpty), in
// row order. With a platform, each row is converted under the busy cursor, and the previous
// cursor is restored after it.
std::vector<ConvertedRow> ConvertFiguurGrid(const TileSize& tile, const TextGrid& grid,
                                            const ConversionSettings& settings,
                                            Platform* platform = nullptr);

// Everything "Maak hatch" writes, and the data rows without a solution in row order (their
// lines are NoSolutionComment).
struct FigureHatch {
    LineList lines;
    std::vector<int> failedRows;
};

// The pattern file of the figure grid (data rows 1 to row count - 1, cells in columns 1 to 4):
// units header, ";", name line, type header, ";", one line per data row that is not empty
// (RowCellsEmpty), ";". With a platform,
// each row is converted under the busy cursor, and the previous cursor is restored after it.
FigureHatch FigureHatchLines(const TileSize& tile, const TextGrid& grid,
                             const PatternHeader& header, const ConversionSettings& settings,
                             Platform* platform = nullptr,
                             PatternStyle style = PatternStyle::Specified);
// The same file from rows already converted (ConvertFiguurGrid). The compatible style fits the
// lines to the tile they repeat with.
FigureHatch FigureHatchLines(const PatternHeader& header, const std::vector<ConvertedRow>& rows,
                             PatternStyle style = PatternStyle::Specified,
                             const TileSize& tile = {});

// How far the written line misses the copy of its start point one step (dx, dy) away: the
// distance from the copy to the nearest dash start (to the nearest line of the family, for a
// line without a gap), and a bound on the rounding of that measurement itself. Nothing when the
// line cannot be measured (no repeat along it, counts beyond 2^62).
struct Miss {
    long double distance = 0;
    long double error = 0;
};
std::optional<Miss> MissedBy(const PatternLine& line, long double dx, long double dy);

// The error list of a run: one NoSolutionMessage per failed row.
std::vector<std::string> FailedRowMessages(const std::vector<int>& failedRows);

}  // namespace murvex::figure
