// Pattern lines and pattern files: the line kinds, their text, and writing a whole file.
#pragma once

#include <cstdint>
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
// In the three texts above a CR, LF or NUL becomes a blank: each stays one line of the file.

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

// Installs handlers for SIGINT and SIGTERM that remove the temporary file of a WriteFileAtomic in
// progress and then end the process as the signal would have.
void RemoveTempFileOnSignals();

// Reading an input of any kind (file, pipe, device) with a limit on its size, so that endless or
// huge input is refused instead of exhausting memory.
inline constexpr std::uintmax_t kMaxInputBytes = 64u * 1024u * 1024u;
enum class ReadFileStatus { Ok, Missing, IsFolder, PermissionDenied, TooLarge, Failed };
struct ReadFileResult {
    ReadFileStatus status = ReadFileStatus::Failed;
    std::string bytes;  // empty unless Ok
};
// Reads the open descriptor to its end; more than limit bytes is TooLarge.
ReadFileResult ReadLimited(int fd, std::uintmax_t limit = kMaxInputBytes);
// Opens path (a FIFO without a writer blocks, as for any reader) and reads it with ReadLimited.
ReadFileResult ReadFileLimited(const std::string& path, std::uintmax_t limit = kMaxInputBytes);

}  // namespace murvex
