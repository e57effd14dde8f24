// Pattern lines and pattern files: the line kinds, their text, and whole-file reading and writing.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// The ordered text lines of one pattern file, without line ends.
using LineList = std::vector<std::string>;

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
// Splits at CR LF, lone CR or lone LF; a NUL byte ends the text; a last line without a line end
// counts, an empty text has no lines.
LineList SplitLines(std::string_view text);

enum class WriteStatus { Ok, CannotCreate, CannotWrite };

// A file written beside its target but not yet in its place. Prepare writes the bytes to a
// nameless file in the target's folder (a hidden ".murvex-XXXXXX" where the file system has no
// nameless files) and syncs it; Commit gives it a temporary name, renames it over the target in
// one step and syncs the folder. Dropped uncommitted, nothing is left behind. Path stays as it
// was until the rename: a process killed before it leaves the old content, after it the new; a
// kill between naming and renaming can leave one ".murvex-XXXXXX", a whole copy of the bytes and
// never a part of the target; a later save in that folder removes it once it is an hour old.
// A replaced target's permission bits are kept.
class PendingWrite {
  public:
    PendingWrite() = default;
    ~PendingWrite();
    PendingWrite(const PendingWrite&) = delete;
    PendingWrite& operator=(const PendingWrite&) = delete;

    // CannotCreate when no file can be made in the folder, CannotWrite when a write or the sync
    // fails.
    WriteStatus Prepare(const std::string& path, std::string_view bytes);
    // CannotWrite when the file cannot be put in place or the folder cannot be synced (the
    // target may then already hold the new bytes, which are never reported as saved).
    WriteStatus Commit();

  private:
    void Discard();

    std::string path_;
    std::string folder_;
    std::string tempName_;  // the named temporary file, when there is one
    int fd_ = -1;           // the nameless file, open until it is named
    bool prepared_ = false;
};

// Prepare and Commit in one go.
WriteStatus WriteFileAtomic(const std::string& path, std::string_view bytes);

// For tests only: when set, called before each step of a PendingWrite; a non-zero result makes
// that step fail with that errno value. Unset (nullptr) in the program.
enum class WriteStep { Create, Write, SyncFile, Close, Name, Rename, SyncFolder };
using WriteFaultHook = int (*)(WriteStep);
void SetWriteFaultHook(WriteFaultHook hook);

// Reads a whole file; nothing when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::string& path);

}  // namespace murvex
