// The save flow shared by every writer of pattern files, deletion through the shell, and the
// error boundary of a command.
#include "SaveHatch.h"

#include "Msg.h"

namespace murvex {

FileDialog MakeSaveHatchDialog() {
    FileDialog d;
    d.kind = FileDialog::Save;
    d.title = "Save";
    d.filterName = "hatchfiles";
    d.filterMask = "*.pat";
    d.defaultExt = "pat";
    return d;
}

FileDialog MakeOpenHatchDialog() {
    FileDialog d;
    d.kind = FileDialog::Open;
    d.title = "Open";
    d.filterName = "hatchfiles";
    d.filterMask = "*.pat";
    d.defaultExt = "pat";
    d.pathMustExist = true;
    d.fileMustExist = true;
    return d;
}

std::string WithDefaultExtension(const std::string& path, const std::string& ext) {
    if (ext.empty() || path.empty()) return path;
    const std::size_t slash = path.find_last_of('/');
    const std::size_t base = slash == std::string::npos ? 0 : slash + 1;
    if (base >= path.size()) return path;  // a folder, not a file name
    const std::size_t dot = path.find_last_of('.');
    if (dot != std::string::npos && dot > base) return path;
    return path + "." + ext;
}

bool SaveHatchFile(const LineList& lines, Platform& platform, FileDialog& saveDialog,
                   WindowHandle owner) {
    if (!platform.RunFileDialog(saveDialog, owner)) return false;
    const std::string fileName = WithDefaultExtension(saveDialog.fileName, saveDialog.defaultExt);
    saveDialog.fileName = fileName;

    const bool exists = platform.FileExists(fileName);
    if (exists && !AskQuestion(platform, "Hach bestaat al. Deze wissen?", "Error", 2, owner))
        return false;
    // The new content is written in full before the old file goes to the recycle bin, so a
    // failed write leaves the old file where it was.
    PendingWrite write;
    WriteStatus status = write.Prepare(fileName, JoinCrLf(lines));
    if (status == WriteStatus::Ok && exists && !ShellDeleteFile(platform, fileName, true)) {
        ShowError(platform, "Er is een fout opgetreden bij het wissen van de hatchfile", "Error",
                  owner);
        return false;
    }
    if (status == WriteStatus::Ok) status = write.Commit();
    switch (status) {
        case WriteStatus::Ok:
            return true;
        case WriteStatus::CannotCreate:
            throw CommandError("Cannot create file " + fileName);
        case WriteStatus::CannotWrite:
            throw CommandError("Cannot write file " + fileName);
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
