// The save flow shared by every writer of pattern files, deletion through the shell, and the
// error boundary of a command.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "PatternFile.h"
#include "Platform.h"

namespace murvex {

// An error that ends one command and reaches the user in the application's standard error box.
class CommandError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A dialog that picks an existing file to read ("Open").
FileDialog OpenFileDialog(std::string filterName, std::string filterMask,
                          std::string defaultExt = {});
// A dialog that names a file to write; pathMustExist asks for an existing folder.
FileDialog SaveFileDialog(std::string title, std::string filterName, std::string filterMask,
                          std::string defaultExt, bool pathMustExist);

// The main window's save dialog for pattern files, as every writer shares it.
FileDialog MakeSaveHatchDialog();
// The free line tab's open dialog for pattern files.
FileDialog MakeOpenHatchDialog();

// Appends "." + ext to a chosen name whose last path element has no extension.
std::string WithDefaultExtension(const std::string& path, const std::string& ext);

// How a save through the shared flow ended.
enum class SaveOutcome { Written, Stopped, CannotCreate, CannotWrite };

// What one kind of file says along the shared save flow.
struct SavePrompts {
    // Asked when the chosen file exists; false stops the save.
    std::function<bool(const std::string& fileName)> confirmOverwrite;
    // Told when the old file could not go to the recycle bin; the save stops there.
    std::function<void()> deleteFailed;
};

// Asks for a file name (with the dialog's default extension), asks before replacing an existing
// file, writes content in full and only then moves the old file to the recycle bin, so that a
// failed write keeps the old file. saveDialog.fileName holds the name written to. content is made
// only once the user has chosen the name and answered the question.
SaveOutcome SaveThroughDialog(Platform& platform, FileDialog& saveDialog, WindowHandle owner,
                              const std::function<std::string()>& content,
                              const SavePrompts& prompts);

// The writing half of SaveThroughDialog, for a name already chosen and answered for: bytes go in
// full to a file beside path, then an existing file (exists) goes to the recycle bin, then the new
// one takes its place. When the old file cannot go, deleteFailed is told and nothing is written.
SaveOutcome WriteReplacing(Platform& platform, const std::string& path, bool exists,
                           std::string_view bytes, const std::function<void()>& deleteFailed);

// Asks for a file name, resolves an existing file (question, recycle bin) and writes the list.
// True when the file was written; false when the user stopped it or the old file could not be
// deleted. Throws CommandError when the file cannot be created or written.
bool SaveHatchFile(const LineList& lines, Platform& platform, FileDialog& saveDialog,
                   WindowHandle owner);

// Longest path the shell's 256-byte name buffer holds with its two terminators.
inline constexpr std::size_t kShellPathLimit = 254;
// Deletes a file through the shell (to the recycle bin when toRecycleBin), with the busy cursor.
bool ShellDeleteFile(Platform& platform, const std::string& path, bool toRecycleBin);

// Runs one command; a CommandError or any other exception ends it with the standard error box.
// Returns false when the command ended that way.
bool RunCommand(Platform& platform, const std::function<void()>& command);

}  // namespace murvex
