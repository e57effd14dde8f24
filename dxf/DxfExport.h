// A pattern as a DXF drawing: a HATCH over a box that carries the pattern's own lines, so that a
// CAD program shows the pattern without the pattern file.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "PatternFile.h"
#include "PatternGeometry.h"
#include "Text.h"

namespace murvex {

// The first pattern of a pattern file, as far as a drawing needs it.
struct DxfPattern {
    std::string name;   // the text after "*" (Windows-1252), empty without a name line
    std::string units;  // "MM" or "INCH" from a units line before the pattern, else empty
    std::vector<PatternLine> lines;
};
DxfPattern DxfPatternOf(const LineList& fileLines);
DxfPattern DxfPatternOf(std::string_view fileText);

// LINE entities at most. Every entity takes a handle, and the handles of a drawing this size
// stay below the seed the header announces, which CAD programs check.
inline constexpr std::size_t kMaxDxfSegments = 50000;
// A HATCH counts its pattern lines, and each line its dashes, in a 16-bit field.
inline constexpr std::size_t kMaxDxfCount = 32767;

// The layers the drawing puts its entities on.
inline constexpr const char* kDxfHatchLayer = "ARCERING";
inline constexpr const char* kDxfLinesLayer = "ARCERINGLIJNEN";

struct DxfOptions {
    Box box;             // the hatched rectangle; corners in any order
    bool lines = false;  // also the segments the pattern draws in the box, as LINE entities
};

enum class DxfStatus { Ok, EmptyBox, NoPatternLine, TooManyLines, TooManyDashes, NotFinite };

struct DxfResult {
    DxfStatus status = DxfStatus::Ok;
    std::string bytes;       // the drawing (AutoCAD 2000 ASCII DXF) when Ok
    bool truncated = false;  // the LINE entities stopped before the pattern's last one
    std::size_t lines = 0;   // LINE entities written
};

DxfResult PatternDxf(const DxfPattern& pattern, const DxfOptions& options);

// Why a drawing was not made, in a sentence for the command line.
std::string DxfStatusText(DxfStatus status);

// The longest name a DXF table or hatch pattern holds.
inline constexpr std::size_t kMaxDxfNameLength = 255;

// The name a HATCH gives the pattern: the pattern's name (before the comma that starts its
// description), blanks around it left off, every character a DXF name cannot hold (control
// characters and < > / \ " : ; ? * | = `) as '_', at most kMaxDxfNameLength characters;
// "MURVEX" for an empty name.
std::string DxfPatternName(std::string_view name);

}  // namespace murvex
