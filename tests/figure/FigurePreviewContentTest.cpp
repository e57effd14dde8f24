// The figure's preview: pattern lines, overlay and report agree row for row.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ConversionReport.h"
#include "FigurePreviewContent.h"
#include "TextGrid.h"

namespace murvex::figure {
namespace {

TEST(FigurePreviewContent, ShowsEachConvertedRowInThePatternTheOverlayAndTheReport) {
    TextGrid grid(5, 6);
    const char* rows[5][4] = {{"0", "0", "30", "10"},
                              {"58.439", "56.591", "61.394", "95.654"},  // no repeat
                              {"", "", "", ""},                          // not drawn yet
                              {"", "", "", "0"},                         // a point at the origin
                              {"10", "90", "10", "20"}};
    for (int row = 1; row <= 5; ++row) {
        for (int col = 1; col <= 4; ++col)
            grid.SetCell(col, row, rows[row - 1][col - 1]);
    }
    const TileSize tile{100, 80};
    const PatternHeader texts{"MM", "MODEL", "hek"};
    const PreviewContent content = FigurePreviewContent(tile, grid, texts, Accuracy::Nauwkeurig);

    const FigureHatch hatch = FigureHatchLines(tile, grid, texts, Accuracy::Nauwkeurig);
    EXPECT_EQ(content.patternLines, hatch.lines);
    EXPECT_EQ(content.failedRows, std::vector<int>{2});
    EXPECT_EQ(content.fileName, "hek");
    ASSERT_EQ(content.outline.size(), 4u);
    EXPECT_EQ(content.outline[2].x, 100);
    EXPECT_EQ(content.outline[2].y, 80);

    const std::vector<int> converted = {1, 2, 4, 5};
    ASSERT_EQ(content.overlay.size(), converted.size());
    EXPECT_EQ(content.report.gridRows, converted);
    const std::vector<std::vector<std::string>> table =
        ConversionReportTable(ConversionReport(tile, grid, Accuracy::Nauwkeurig));
    EXPECT_EQ(content.report.headers, table.front());
    EXPECT_EQ(content.report.rows, std::vector(table.begin() + 1, table.end()));
    for (std::size_t i = 0; i < converted.size(); ++i) {
        SCOPED_TRACE(converted[i]);
        const OverlaySegment& o = content.overlay[i];
        EXPECT_EQ(o.row, converted[i]);
        EXPECT_EQ(o.marked, converted[i] == 2);
    }
    EXPECT_EQ(content.overlay[1].segment.y2, 95.654);
    EXPECT_EQ(content.overlay[2].segment.x1, 0);  // empty cells read as 0
}

}  // namespace
}  // namespace murvex::figure
