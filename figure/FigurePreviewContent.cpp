// The figure's preview content, built from one conversion of its rows.
#include "FigurePreviewContent.h"

#include <iterator>
#include <utility>

#include "ConversionReport.h"

namespace murvex::figure {

PreviewContent FigurePreviewContent(const TileSize& tile, const TextGrid& grid,
                                    const PatternHeader& texts, const ConversionSettings& settings,
                                    PatternStyle style) {
    const std::vector<ConvertedRow> rows = ConvertFiguurGrid(tile, grid, settings);
    PreviewContent content;
    content.fileName = texts.name;
    FigureHatch hatch = FigureHatchLines(texts, rows, style, tile);
    content.patternLines = std::move(hatch.lines);
    content.failedRows = std::move(hatch.failedRows);

    const double w = tile.width;
    const double h = tile.height;
    content.outline = {{0, 0}, {w, 0}, {w, h}, {0, h}};
    // The empty rows (the fresh row of a new figure or of "+") are nothing drawn yet, and were
    // not converted either.
    for (const ConvertedRow& r : rows) {
        OverlaySegment segment;
        segment.segment = {r.drawn[0], r.drawn[1], r.drawn[2], r.drawn[3]};
        segment.row = r.row;
        segment.marked = !r.line.has_value();
        content.overlay.push_back(segment);
    }

    const std::vector<ReportRow> report = ConversionReport(tile, rows);
    std::vector<std::vector<std::string>> table = ConversionReportTable(report);
    content.report.headers = std::move(table.front());
    content.report.rows.assign(std::make_move_iterator(table.begin() + 1),
                               std::make_move_iterator(table.end()));
    for (const ReportRow& r : report)
        content.report.gridRows.push_back(r.row);
    return content;
}

}  // namespace murvex::figure
