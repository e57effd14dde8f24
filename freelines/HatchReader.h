// Reads the first pattern of a pattern file into the free line grid and the tab's header.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "LijnGrid.h"
#include "PatternFile.h"
#include "PatternHeader.h"
#include "Platform.h"
#include "TextGrid.h"

namespace murvex::freelines {

// Every line is handled within its first 255 characters; the rest of a longer line is ignored.
inline constexpr std::size_t kLineLimit = 255;
// Files are refused with the read error, before the grid is touched, when they are larger than
// kMaxFileBytes or their first pattern has more than kMaxPatternRows lines. Real pattern files
// are a few kilobytes and the largest generated pattern has a few hundred lines, while every
// grid row costs a few hundred bytes: without these limits a large file would take gigabytes
// and keep the window busy for many seconds.
inline constexpr std::uintmax_t kMaxFileBytes = 64u * 1024u * 1024u;
inline constexpr std::size_t kMaxPatternRows = 100000;

inline constexpr const char* kReadErrorText = "Fout bij lezen van hatchbestand";
inline constexpr const char* kReadErrorTitle = "Error";
inline constexpr const char* kMultipleText =
    "Dit bestand bevat meerdere arceringen, alleen de eerste wordt gelezen de rest gaat verloren!";
inline constexpr const char* kMultipleTitle = "Pas op!";

// The recognisers: each answers whether it consumed the line. Lines longer than kLineLimit are
// cut before they are offered.
// The header lines as ReadHeaderLine takes them:
// ";%UNITS=" in any case; "MM" or "INCH" (any case) set the units text, other values nothing.
bool ReadUnitsLine(std::string_view line, PatternHeader& header);
// "*" and at least one more character; before the first pattern line it sets the name (before the
// first comma) and the description (after it).
bool ReadNameLine(std::string_view line, bool patternSeen, PatternHeader& header);
// ";%TYPE=" in any case; "MODEL" or "DRAFTING" (any case) set the type text.
bool ReadTypeLine(std::string_view line, PatternHeader& header);
// "%VERSION=" in any case, without a leading ";"; the value is ignored.
bool ReadVersionLine(std::string_view line);
// ";;" and anything after it.
bool IsCommentLine(std::string_view line);
// Any line that is not empty and does not begin with ";" or "*": its comma separated fields,
// trimmed, go into the data cells of the grid's last row (missing ones empty); a dash list longer
// than two values adds dash columns to the grid (GrowDashColumns).
bool ReadPatternLine(std::string_view line, TextGrid& grid);
// At least two characters, the first "*".
bool IsNameLine(std::string_view line);

// What a line is to the reader, given whether a pattern line has been read before it. The order
// of the checks is the reader's: header lines (only before the first pattern line), comments,
// pattern lines, then a name line after the first pattern line, which starts a second pattern.
enum class LineKind { Units, Name, Type, Version, Comment, Pattern, SecondPattern, Ignored };
LineKind ClassifyLine(std::string_view line, bool patternSeen);

// The number of grid rows a read of text fills, counting no further than limit + 1.
std::size_t CountPatternRows(std::string_view text, std::size_t limit);

struct ReadResult {
    int patternLines = 0;           // rows filled from the file
    bool multiplePatterns = false;  // a second name line stopped the read
};

// Reduces the grid to one data row, then classifies the lines in order and fills the grid and
// header. onSecondPattern runs when a second pattern is met, before the trailing row goes.
ReadResult ReadHatchLines(const LineList& lines, TextGrid& grid, PatternHeader& header,
                          const std::function<void()>& onSecondPattern = {});
// The same over the bytes of a file.
ReadResult ReadHatchText(std::string_view text, TextGrid& grid, PatternHeader& header,
                         const std::function<void()>& onSecondPattern = {});

enum class FileReadStatus { Ok, CannotRead, TooLarge, TooManyRows };
// Reads the bytes of a file, already in memory, into grid and header, with the limits above. Unless
// the status is Ok, grid and header are unchanged.
FileReadStatus ReadHatchBytes(std::string_view bytes, TextGrid& grid, PatternHeader& header,
                              ReadResult& result,
                              const std::function<void()>& onSecondPattern = {});
// Reads a file into grid and header. Unless the status is Ok, grid and header are unchanged.
FileReadStatus ReadHatchFile(const std::string& path, TextGrid& grid, PatternHeader& header,
                             ReadResult& result, const std::function<void()>& onSecondPattern = {});

// The open command once a file is named (in the open dialog or on the command line): the read,
// with the warning for a second pattern and the read error owned by appWindow. A file that
// cannot be read or is refused by the limits above leaves grid and header unchanged. True when
// the file was read whole into the grid.
bool OpenHatchFile(Platform& platform, const std::string& path, TextGrid& grid,
                   PatternHeader& header, WindowHandle appWindow);
// The same for bytes already read, such as one pattern taken out of a library.
bool OpenHatchBytes(Platform& platform, std::string_view bytes, TextGrid& grid,
                    PatternHeader& header, WindowHandle appWindow);

}  // namespace murvex::freelines
