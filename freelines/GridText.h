// The free line tab as plain text: tab-separated rows and JSON, for the command line.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "LijnGrid.h"
#include "TextGrid.h"

namespace murvex::freelines {

// text for one tab-separated cell, escaped as FormatTabText says; atRowStart escapes a leading
// "#" too. The figure list's command-line output uses the same escapes.
std::string TabEscaped(std::string_view text, bool atRowStart);

// Tab-separated text of the tab: "#units", "#type" and "#name" lines with their text after a
// tab ("#description" too when there is one), then one line per data row with its cells
// separated by tabs: seven, or as many as the grid's dash columns make. Inside a text a backslash,
// tab, CR and LF are written as \\, \t, \r and \n, every other control character (C0, DEL, and the
// bytes 0x81, 0x8D, 0x8F, 0x90, 0x9D that stand for C1 controls) as \x and two hex digits, and
// a "#" that begins a row as \#. Every line ends with LF. Other bytes are taken as they are.
std::string FormatTabText(const TextGrid& grid, const PatternHeader& texts);

// {"units": ..., "type": ..., "name": ..., "description": ..., "rows": [[cells], ...]} with JSON
// escapes for quotes, backslashes and the control characters above; other bytes are copied as they
// are.
std::string FormatJson(const TextGrid& grid, const PatternHeader& texts, bool multiplePatterns);

// Reads rows in the form FormatTabText writes. Lines end at LF or CR LF. "#units", "#type" and
// "#name" and "#description" lines set the texts they name (the others keep what they hold); any
// other line that begins with "#" is a comment. Every other line is a row of up to
// kMaxLineFields cells (more than seven add dash columns); an empty line is a row of empty cells.
// At least one row is always there, as in the tab.
struct TabTextReading {
    TextGrid grid = MakeLijnGrid();
    bool ok = true;
    std::string error;  // why not ok, naming the line
};
TabTextReading ParseTabText(std::string_view text, PatternHeader& texts);

}  // namespace murvex::freelines
