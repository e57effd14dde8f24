// Pattern lines and pattern files: the line kinds, their text, and writing a whole file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "PatternHeader.h"
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

// Reads the numeric fields of a pattern line (blanks around fields ignored, comma separated,
// numbers with a point). Nothing for header, name, comment and empty lines, and for lines whose
// fields are not all numbers.
std::optional<PatternLine> ParsePatternLine(std::string_view text);
// Every pattern line of the first pattern in a file's lines.
std::vector<PatternLine> ParsePatternLines(const LineList& lines);
// The same over a file's bytes, as TextLines splits them.
std::vector<PatternLine> ParsePatternText(std::string_view text);

// Every line followed by CR LF, in one piece.
std::string JoinCrLf(const LineList& lines);

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
    // Each system's file uses its own of these; the other's stay unused.
    [[maybe_unused]] int fd_ = -1;             // Linux: the nameless file, open until it is named
    [[maybe_unused]] void* handle_ = nullptr;  // Windows: the temporary file, open until Commit
    [[maybe_unused]] std::uint32_t oldAttributes_ = 0;  // Windows: the replaced file's
                                                        // attributes, 0 for none
    bool prepared_ = false;
};

// Prepare and Commit in one go.
WriteStatus WriteFileAtomic(const std::string& path, std::string_view bytes);

// Whether the last part of path is a device of the system rather than a file name: on Windows
// NUL, CON, PRN, AUX, COM1-9 and LPT1-9, in any case, with or without an extension or trailing
// dots and blanks. Never on Linux, where such names are ordinary files and devices are told by
// their type. A save never writes to one.
bool IsDeviceName(const std::string& path);

// Installs handlers for SIGINT and SIGTERM (on Windows: Ctrl+C, Ctrl+Break and closing the
// console) that remove the named temporary file of a save in progress and then end the process
// as the signal would have.
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

// For tests only: when set, called before each step of a PendingWrite; a non-zero result makes
// that step fail with that errno value. Unset (nullptr) in the program.
enum class WriteStep { Create, Write, SyncFile, Close, Name, Rename, SyncFolder };
using WriteFaultHook = int (*)(WriteStep);
void SetWriteFaultHook(WriteFaultHook hook);

}  // namespace murvex
