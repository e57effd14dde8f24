// The conversion report: per figure row, how far the written pattern line lies from the drawn
// segment, so that a user sees why a line came out at another angle.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Conversion.h"

namespace murvex {
class TextGrid;
struct DrawnSegment;
}  // namespace murvex

namespace murvex::figure {

// The work a row's distance may take, in distances from a point to a piece: with the cap on the
// pieces drawn in the tile it keeps a report of 10,000 rows within about a second.
inline constexpr long long kDistanceWork = 20000;

struct ReportRow {
    int row = 0;  // the grid's row number
    // The drawn direction in degrees, read left to right as the conversion reads it: in
    // (-90, 90), or 90 / 270 for a segment straight up / down (or of no length).
    double drawnAngle = 0;
    // No repeat found: nothing is written, the fields below are unset.
    bool failed = false;
    // The angle field of the written line, in degrees.
    double writtenAngle = 0;
    LineCase lineCase = LineCase::Horizontal;
    // The repeat the conversion found: tile heights climbed (negative: falling), widths run.
    RepeatStep repeat;
    // The accepted tolerance stage in drawing units; only the rising and falling cases search.
    double tolerance = 0;
    bool continuous = false;
    // The largest distance, in drawing units, from a point of the part of the drawn segment
    // inside the tile to the nearest dash the written line draws, in the tile and beyond it.
    // The family repeats with the tile (drift 0), so this is also the distance of every copy
    // of the segment in the repeated tiles. Negative when it could not be measured: the segment
    // misses the tile (an incomplete row), or the written line is too dense near it to draw or
    // to measure within kDistanceWork.
    double distance = 0;
    // How far the copies of the segment one tile width to the right and one tile height up lie
    // off the family, the larger of the two: the copies drift this much further per tile, so
    // over a wall the distance grows without bound. 0 when both land on it (within a millionth
    // of the tile's larger side: the rounding of the written digits).
    double drift = 0;
    // "Op maat" without a solution: the smallest "Max. afwijking" that gives one; 0 otherwise.
    double neededDeviation = 0;
};

// The drift per tile of a written line (ReportRow::drift), read from its text.
double DriftPerTile(const TileSize& tile, const PatternLine& line);

// The largest distance from a point of drawn to the nearest of the pieces (a piece of no length
// is a dot), to within 1e-7 drawing units; infinite when there are no pieces. Nothing when it
// would take more than `budget` distances from a point to a piece.
std::optional<double> LargestDistance(const murvex::DrawnSegment& drawn,
                                      const std::vector<murvex::DrawnSegment>& pieces,
                                      long long budget = kDistanceWork);

// The report of one row's four cells, read as the conversion reads them.
ReportRow ReportFiguurLijn(const TileSize& tile, const RowCells& cells,
                           const ConversionSettings& settings, int row);
// The report of a row already converted.
ReportRow ReportConvertedRow(const TileSize& tile, const ConvertedRow& converted);

// One report row per data row of the figure grid (rows 1 to row count - 1, columns 1 to 4)
// that is not wholly empty (RowCellsEmpty): the rows "Maak hatch" writes a line for.
std::vector<ReportRow> ConversionReport(const TileSize& tile, const TextGrid& grid,
                                        const ConversionSettings& settings);
// The same from the rows ConvertFiguurGrid converted, without converting them again.
std::vector<ReportRow> ConversionReport(const TileSize& tile,
                                        const std::vector<ConvertedRow>& rows);

// The report's cells: a header row, then one row per report row. A failed row has three cells,
// its number, its drawn angle and "geen oplossing" (with the "Max. afwijking" it would need,
// for "Op maat"); the others have one per header. A line whose copies drift shows its drift per
// tile in place of the distance, rounded up, so never as 0.000.
std::vector<std::vector<std::string>> ConversionReportTable(const std::vector<ReportRow>& rows);

// The report as a text table, one line per row after a header line, each line ending in "\n".
// Numbers have three decimals; a failed row shows its drawn angle and "geen oplossing".
std::string FormatConversionReport(const std::vector<ReportRow>& rows);

}  // namespace murvex::figure
