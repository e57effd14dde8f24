// The check of a pattern file against what CAD programs are known to refuse or misread.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace murvex {

// What a warning is about. The check only warns: nothing it finds stops a file being saved.
enum class CheckCode {
    LongLine,             // a line longer than kCadLineLimit characters
    ZeroShiftAcross,      // shift across 0: every line of the family falls on the first
    LongName,             // a pattern name longer than kCadNameLimit characters
    CommaInName,          // a comma in the name: the rest is read as a description
    NameNotFileName,      // one pattern in the file, named otherwise than the file
    NoFinalLineEnd,       // the last line has no line end
    EmptyPatternLine,     // a blank line inside a pattern
    BadPatternLine,       // a line inside a pattern that is not a pattern line
    PositiveSecondDash,   // the second dash (the first gap) is positive
    TooDense,             // more than kDenseLimit drawn pieces per square metre
    UncountableDensity,   // a line whose pieces per square metre overflow or are undefined
    NoDescription,        // a name line without ", description"
    ShiftAlongReversed,   // a shift along the line that FreeCAD applies with the opposite sign
    ShiftAcrossNegative,  // a dashed line with a negative shift across, which FreeCAD misdraws
    AngleHalfTurnOrMore,  // an angle outside [0, 180), which FreeCAD draws from the wrong end
};

// AutoCAD reads at most 80 characters of a line and refuses names longer than 31 characters.
inline constexpr std::size_t kCadLineLimit = 80;
inline constexpr std::size_t kCadNameLimit = 31;
// Drawn pieces (dashes, dots and whole lines) per square metre above which a pattern counts as
// too dense. AutoCAD stops filling at 1,000,000 lines per hatch (its default HPMAXLINES); at this
// density one wall of 10 square metres reaches that.
inline constexpr double kDenseLimit = 100000;
// At most this many warnings of one code are listed one by one; one more warning of that code
// then counts the rest, so that a huge broken file cannot produce millions of messages.
inline constexpr std::size_t kWarningsPerCode = 100;

struct PatternWarning {
    CheckCode code = CheckCode::LongLine;
    std::size_t line = 0;  // 1-based number of the line it is about
    std::string message;   // Dutch, Windows-1252 like every text of the program
};

// A short stable English name of the code ("long-line", ...) for scripts and logs.
std::string_view CheckCodeName(CheckCode code);
// The readers known to trip over what the code is about ("AutoCAD, ezdxf"); every message ends
// with them.
std::string_view CheckCodeReaders(CheckCode code);

// Checks the bytes of a pattern file (lines and NUL as the reader splits them). fileName is the
// name the file has or will get, with or without its folder and ".pat", in Windows-1252; when it
// is empty the name of the pattern is not compared with it. A line list that is still to be
// written is checked as JoinCrLf(lines). The warnings come in line order.
std::vector<PatternWarning> CheckPatternText(std::string_view bytes, std::string_view fileName);

}  // namespace murvex
