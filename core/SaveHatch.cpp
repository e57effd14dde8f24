// The save flow shared by every writer of pattern files, deletion through the shell, and the
// error boundary of a command.
#include "SaveHatch.h"

#include <utility>

#include "Msg.h"
#include "Utf8Path.h"

namespace murvex {

FileDialog OpenFileDialog(std::string filterName, std::string filterMask, std::string defaultExt) {
    FileDialog d;
    d.kind = FileDialog::Open;
    d.title = "Open";
    d.filterName = std::move(filterName);
    d.filterMask = std::move(filterMask);
    d.defaultExt = std::move(defaultExt);
    d.pathMustExist = true;
    d.fileMustExist = true;
    return d;
}

FileDialog SaveFileDialog(std::string title, std::string filterName, std::string filterMask,
                          std::string defaultExt, bool pathMustExist) {
    FileDialog d;
    d.kind = FileDialog::Save;
    d.title = std::move(title);
    d.filterName = std::move(filterName);
    d.filterMask = std::move(filterMask);
    d.defaultExt = std::move(defaultExt);
    d.pathMustExist = pathMustExist;
    return d;
}

FileDialog MakeSaveHatchDialog() {
    return SaveFileDialog("Save", "hatchfiles", "*.pat", "pat", false);
}

FileDialog MakeOpenHatchDialog() {
    return OpenFileDialog("hatchfiles", "*.pat", "pat");
}

std::string WithDefaultExtension(const std::string& path, const std::string& ext) {
    if (ext.empty() || path.empty()) return path;
    const std::size_t slash = LastPathSeparator(path);
    const std::size_t base = slash == std::string::npos ? 0 : slash + 1;
    if (base >= path.size()) return path;  // a folder, not a file name
    const std::size_t dot = path.find_last_of('.');
    if (dot != std::string::npos && dot > base) return path;
    return path + "." + ext;
}

SaveOutcome SaveThroughDialog(Platform& platform, FileDialog& saveDialog, WindowHandle owner,
                              const std::function<std::string()>& content,
                              const SavePrompts& prompts) {
    if (!platform.RunFileDialog(saveDialog, owner)) return SaveOutcome::Stopped;
    const std::string fileName = WithDefaultExtension(saveDialog.fileName, saveDialog.defaultExt);
    saveDialog.fileName = fileName;

    const bool exists = platform.FileExists(fileName);
    if (exists && !prompts.confirmOverwrite(fileName)) return SaveOutcome::Stopped;
    return WriteReplacing(platform, fileName, exists, content(), prompts.deleteFailed);
}

SaveOutcome WriteReplacing(Platform& platform, const std::string& path, bool exists,
                           std::string_view bytes, const std::function<void()>& deleteFailed) {
    PendingWrite write;
    WriteStatus status = write.Prepare(path, bytes);
    if (status == WriteStatus::Ok && exists && !ShellDeleteFile(platform, path, true)) {
        deleteFailed();
        return SaveOutcome::Stopped;
    }
    if (status == WriteStatus::Ok) status = write.Commit();
    switch (status) {
        case WriteStatus::Ok:
            return SaveOutcome::Written;
        case WriteStatus::CannotCreate:
            return SaveOutcome::CannotCreate;
        case WriteStatus::CannotWrite:
            return SaveOutcome::CannotWrite;
    }
    return SaveOutcome::Stopped;
}

bool SaveHatchFile(const LineList& lines, Platform& platform, FileDialog& saveDialog,
                   WindowHandle owner) {
    const SavePrompts prompts{
        [&](const std::string&) {
            return AskQuestion(platform, "Hach bestaat al. Deze wissen?", "Error", 2, owner);
        },
        [&] {
            ShowError(platform, "Er is een fout opgetreden bij het wissen van de hatchfile",
                      "Error", owner);
        }};
    switch (SaveThroughDialog(
        platform, saveDialog, owner, [&] { return JoinCrLf(lines); }, prompts)) {
        case SaveOutcome::Written:
            return true;
        case SaveOutcome::Stopped:
            return false;
        case SaveOutcome::CannotCreate:
            throw CommandError("Cannot create file " + saveDialog.fileName);
        case SaveOutcome::CannotWrite:
            throw CommandError("Cannot write file " + saveDialog.fileName);
    }
    return false;
}

bool RunCommand(Platform& platform, const std::function<void()>& command) {
    try {
        command();
        return true;
    } catch (const std::exception& e) {
        platform.ShowApplicationError(e.what());
    } catch (...) {
        platform.ShowApplicationError("Unknown error");
    }
    return false;
}

bool ShellDeleteFile(Platform& platform, const std::string& path, bool toRecycleBin) {
    const Cursor saved = platform.CurrentCursor();
    platform.SetCursor(Cursor::Busy);
    platform.ProcessMessages();
    bool ok = false;
    try {
        // The shell takes a 256-byte, double-NUL-terminated list of names: a longer path, or one
        // with a NUL inside (which would end the list early), is refused.
        if (!path.empty() && path.size() <= kShellPathLimit &&
            path.find('\0') == std::string::npos) {
            ok = toRecycleBin ? platform.MoveToRecycleBin(path) : platform.DeleteFileForGood(path);
        }
    } catch (...) {
        ok = false;
    }
    platform.SetCursor(saved);
    platform.ProcessMessages();
    return ok;
}

}  // namespace murvex
