// Pattern lines and pattern files: the line kinds, their text, and writing a whole file.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Text.h"

namespace murvex {

// One family of parallel dashed lines: angle in degrees, a point on the first line, the shift
// from one line to the next (along and across the line direction) and the dash list
// (positive: pen down, negative: pen up, 0: a dot).
struct PatternLine {
    double angle = 0.0;
    double x = 0.0;
    double y = 0.0;
    double shiftX = 0.0;
    double shiftY = 0.0;
    std::vector<double> dashes;
};

inline constexpr const char* kSeparatorLine = ";";
std::string UnitsHeader(std::string_view units);  // ";%UNITS=" + units
std::string TypeHeader(std::string_view type);    // ";%TYPE=" + type
std::string NameLine(std::string_view name);      // "*" + name

// Reads the numeric fields of a pattern line (blanks around fields ignored, comma separated,
// numbers with a point). Nothing for header, name, comment and empty lines, and for lines whose
// fields are not all numbers.
std::optional<PatternLine> ParsePatternLine(std::string_view text);
// Every pattern line of the first pattern in a file's lines.
std::vector<PatternLine> ParsePatternLines(const LineList& lines);

// Every line followed by CR LF, in one piece.
std::string JoinCrLf(const LineList& lines);

enum class WriteStatus { Ok, CannotCreate, CannotWrite };
// Writes the bytes to a temporary file beside path, checks every write and the close, then
// renames it over path. On failure nothing is left behind and path is as it was.
WriteStatus WriteFileAtomic(const std::string& path, std::string_view bytes);

}  // namespace murvex
