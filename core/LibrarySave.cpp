// "Aan bibliotheek toevoegen...": the current pattern into an existing library file, through the
// same crash-safe write and recycle bin as every save.
#include "LibrarySave.h"

#include <filesystem>

#include "Msg.h"
#include "PatternFile.h"
#include "PatternLibrary.h"
#include "SaveHatch.h"
#include "Utf8Path.h"

namespace murvex {

namespace {

constexpr const char* kReadErrorText = "Fout bij lezen van hatchbestand";

}  // namespace

FileLockStatus LibraryEdit::Open(const std::string& path) {
    path_ = path;
    const FileLockStatus status = lock_.Lock(path, kLibraryLockWait);
    if (status != FileLockStatus::Locked) return status;
    read_at_ = FingerprintOf(path);
    read_ = ReadFileLimited(path, kMaxLibraryBytes);
    return status;
}

bool LibraryEdit::Unchanged() const {
    return read_at_.exists && FingerprintOf(path_) == read_at_;
}

bool IsReadOnlyFile(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(PathFromUtf8(path), ec);
    if (ec || !fs::is_regular_file(status)) return false;
    constexpr fs::perms write =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    return (status.permissions() & write) == fs::perms::none;
}

FileDialog MakeLibraryDialog() {
    FileDialog d = OpenFileDialog("hatchfiles", "*.pat", "pat");
    d.title = "Bibliotheek kiezen";
    return d;
}

FileDialog MakeLibraryAddDialog() {
    return SaveFileDialog(kLibraryAddTitle, "hatchfiles", "*.pat", "pat", true);
}

std::string LibraryReplaceQuestion(const std::string& name) {
    std::string text = kLibraryReplaceQuestion;
    const std::size_t at = text.find("<NAAM>");
    text.replace(at, 6, name);
    return text;
}

std::string LibraryAddedText(const std::string& name, const std::string& path, bool replaced) {
    return "Arcering " + name + (replaced ? " vervangen in " : " toegevoegd aan ") + path;
}

bool AddToLibraryFile(const LineList& lines, Platform& platform, FileDialog& libraryDialog,
                      WindowHandle owner) {
    // A save dialog on the library dialog's folder and name: it takes a new name too.
    FileDialog dialog = MakeLibraryAddDialog();
    dialog.fileName = libraryDialog.fileName;
    if (!platform.RunFileDialog(dialog, owner)) return false;
    libraryDialog.fileName = dialog.fileName;
    const std::string path = dialog.fileName;
    LibraryEdit edit;
    const FileLockStatus locked = edit.Open(path);
    bool exists = true;
    switch (locked) {
        case FileLockStatus::Locked:
            if (edit.ReadStatus() == ReadFileStatus::TooLarge) {
                ShowError(platform, kLibraryFullText, "Error", owner);
                return false;
            }
            if (edit.ReadStatus() != ReadFileStatus::Ok) {
                ShowError(platform, kReadErrorText, "Error", owner);
                return false;
            }
            break;
        case FileLockStatus::Missing:
            exists = false;  // a new library, with this pattern as its first
            break;
        case FileLockStatus::Busy:
            ShowError(platform, kLibraryBusyText, "Error", owner);
            return false;
        case FileLockStatus::Failed:
            ShowError(platform, kReadErrorText, "Error", owner);
            return false;
    }
    const std::string pattern = JoinCrLf(lines);
    LibraryAddResult result = AddToLibrary(edit.Bytes(), pattern, false);
    if (result.status == LibraryAddStatus::NameExists) {
        if (!AskQuestion(platform, LibraryReplaceQuestion(result.name), "Error", 2, owner))
            return false;
        result = AddToLibrary(edit.Bytes(), pattern, true);
    }
    switch (result.status) {
        case LibraryAddStatus::Added:
        case LibraryAddStatus::Replaced:
            break;
        case LibraryAddStatus::NameExists:  // not after replace
        case LibraryAddStatus::NotALibrary:
            ShowError(platform, kNotALibraryText, "Error", owner);
            return false;
        case LibraryAddStatus::LibraryTooLarge:
        case LibraryAddStatus::TooManyPatterns:
            ShowError(platform, kLibraryFullText, "Error", owner);
            return false;
        case LibraryAddStatus::NoPattern:
        case LibraryAddStatus::BadName:
        case LibraryAddStatus::NameTooLong:
            ShowError(platform, kBadLibraryNameText, "Error", owner);
            return false;
    }
    if (exists && IsReadOnlyFile(path) &&
        !AskQuestion(platform, kReadOnlyLibraryQuestion, "Error", 2, owner))
        return false;
    // Changed by a writer that does not lock, or removed, while the question was open.
    if (exists ? !edit.Unchanged() : FingerprintOf(path).exists) {
        ShowError(platform, kLibraryChangedText, "Error", owner);
        return false;
    }
    const auto deleteFailed = [&] {
        ShowError(platform, "Er is een fout opgetreden bij het wissen van de hatchfile", "Error",
                  owner);
    };
    switch (WriteReplacing(platform, path, exists, result.bytes, deleteFailed)) {
        case SaveOutcome::Written:
            ShowMessageBox(
                platform,
                LibraryAddedText(result.name, path, result.status == LibraryAddStatus::Replaced),
                "Bibliotheek", style::kInformation, owner);
            return true;
        case SaveOutcome::Stopped:
            return false;
        case SaveOutcome::CannotCreate:
            throw CommandError("Cannot create file " + path);
        case SaveOutcome::CannotWrite:
            throw CommandError("Cannot write file " + path);
    }
    return false;
}

}  // namespace murvex
