// The pattern file reader on any bytes, its tab-separated and JSON output, the round trip of the
// tab-separated text back into the same grid and texts, the check of the same bytes, and the
// compatible way of writing every line of them (short, fitted and reader-neutral).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "CompatiblePattern.h"
#include "GridText.h"
#include "HatchReader.h"
#include "PatternCheck.h"
#include "Text.h"

using namespace murvex;
using namespace murvex::freelines;

namespace {

// Only the line ends it writes itself, and no control character a terminal would act on.
void CheckPlain(std::string_view text, bool tabsAllowed) {
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\n' || (tabsAllowed && c == '\t')) continue;
        if (u < 0x20 || u == 0x7F || u == 0x81 || u == 0x8D || u == 0x8F || u == 0x90 || u == 0x9D)
            std::abort();
    }
}

// Warnings in line order, on lines of the file.
void CheckWarnings(std::string_view bytes) {
    std::size_t lines = 0, previous = 0;
    for ([[maybe_unused]] const std::string_view line : TextLines(bytes))
        ++lines;
    for (const PatternWarning& w : CheckPatternText(bytes, "fuzz.pat")) {
        if (w.line < previous || w.line > lines || w.message.empty()) std::abort();
        previous = w.line;
    }
}

bool SameLine(const PatternLine& a, const PatternLine& b) {
    return a.angle == b.angle && a.x == b.x && a.y == b.y && a.shiftX == b.shiftX &&
           a.shiftY == b.shiftY && a.dashes == b.dashes;
}

// A short line keeps every value; a fitted one is a pattern line of at most the same length.
// Fitting a long line tries every decimal of every number: the first lines tell as much as all.
void CheckCompatible(std::string_view bytes) {
    int left = 16;
    for (const std::string_view line : TextLines(bytes)) {
        if (left-- == 0) return;
        const std::optional<PatternLine> exact = ParsePatternLine(line);
        const std::string shortLine = ShortPatternLine(line);
        if (!exact) {
            if (shortLine != line) std::abort();
            continue;
        }
        const std::optional<PatternLine> back = ParsePatternLine(shortLine);
        if (!back || !SameLine(*exact, *back) || shortLine.size() > Trim(line).size()) std::abort();
        const FittedLine fitted = FitPatternLine(line, 100, 50);
        if (!ParsePatternLine(fitted.text) || fitted.text.size() > shortLine.size()) std::abort();
        // The neutral line is a pattern line at an angle in [0, 180) without a -0 gap, where its
        // numbers stay finite.
        const std::optional<PatternLine> neutral = ParsePatternLine(ReaderNeutralLine(line));
        if (!neutral) std::abort();
        if (std::isfinite(exact->angle) && !(neutral->angle >= 0 && neutral->angle < 180))
            std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckWarnings(bytes);
    CheckCompatible(bytes);
    TextGrid grid = MakeLijnGrid();
    PatternHeader texts;
    ReadResult result;
    if (ReadHatchBytes(bytes, grid, texts, result) != FileReadStatus::Ok) return 0;
    if (grid.RowCount() < 2) std::abort();

    const std::string tab = FormatTabText(grid, texts);
    const std::string json = FormatJson(grid, texts, result.multiplePatterns);
    CheckPlain(tab, true);
    CheckPlain(json, false);

    PatternHeader back{"", "", ""};
    const TabTextReading reading = ParseTabText(tab, back);
    if (!reading.ok) std::abort();
    if (!(back == texts)) std::abort();
    if (reading.grid.RowCount() != grid.RowCount()) std::abort();
    // Every dash column too: the grid keeps every value of a line.
    if (reading.grid.ColCount() != grid.ColCount()) std::abort();
    for (int r = 1; r < grid.RowCount(); ++r) {
        for (int c = kFirstDataCol; c <= LastDataCol(grid); ++c) {
            if (reading.grid.Cell(c, r) != grid.Cell(c, r)) std::abort();
        }
    }
    return 0;
}
