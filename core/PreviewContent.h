// What a tab shows in the preview: the file its "Maak Hatch" would write now, or why it cannot.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "PatternFile.h"
#include "PatternGeometry.h"
#include "PreviewView.h"

namespace murvex {

// A drawn segment shown over the written pattern, in drawing units, colour 0xRRGGBB.
struct OverlaySegment {
    DrawnSegment segment;
    std::uint32_t rgb = 0xd02020;
    bool marked = false;  // drawn wider and dashed: a row the conversion failed on
    int row = -1;         // the tab's grid row it comes from, or -1
};

// A table beside the picture, such as a conversion report: one row per row of the tab's grid.
struct PreviewTable {
    std::vector<std::string> headers;            // Windows-1252
    std::vector<std::vector<std::string>> rows;  // Windows-1252, at most headers.size() cells
    std::vector<int> gridRows;                   // the grid row of each table row, or -1
};

struct PreviewContent {
    // The lines "Maak Hatch" would write; the first pattern among them is drawn.
    LineList patternLines;
    // The name the file would get (the pattern name), for the check of the file name.
    std::string fileName;
    // Not empty: the tab's input is invalid and nothing is drawn; this says why (Dutch, 1252).
    std::string problem;
    // The outline of one repeat of the pattern (a closed polygon in drawing units), or empty.
    std::vector<ViewPoint> outline;
    // Drawn over the pattern in colour (the figure's own segments).
    std::vector<OverlaySegment> overlay;
    // Grid rows the tab reports as failed: their table rows are marked.
    std::vector<int> failedRows;
    // Shown beside the picture when it has headers.
    PreviewTable report;
};

}  // namespace murvex
