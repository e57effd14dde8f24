// "Aan bibliotheek toevoegen...": the current pattern into an existing library file, through the
// same crash-safe write and recycle bin as every save.
#include "LibrarySave.h"

#include "Msg.h"
#include "PatternFile.h"
#include "PatternLibrary.h"
#include "SaveHatch.h"

namespace murvex {

namespace {

constexpr const char* kReadErrorText = "Fout bij lezen van hatchbestand";

}  // namespace

FileDialog MakeLibraryDialog() {
    FileDialog d = OpenFileDialog("hatchfiles", "*.pat", "pat");
    d.title = "Bibliotheek kiezen";
    return d;
}

std::string LibraryReplaceQuestion(const std::string& name) {
    std::string text = kLibraryReplaceQuestion;
    const std::size_t at = text.find("<NAAM>");
    text.replace(at, 6, name);
    return text;
}

bool AddToLibraryFile(const LineList& lines, Platform& platform, FileDialog& libraryDialog,
                      WindowHandle owner) {
    if (!platform.RunFileDialog(libraryDialog, owner)) return false;
    const std::string path = libraryDialog.fileName;
    const ReadFileResult file = ReadFileLimited(path, kMaxLibraryBytes);
    if (file.status == ReadFileStatus::TooLarge) {
        ShowError(platform, kLibraryFullText, "Error", owner);
        return false;
    }
    if (file.status != ReadFileStatus::Ok) {
        ShowError(platform, kReadErrorText, "Error", owner);
        return false;
    }
    const std::string pattern = JoinCrLf(lines);
    LibraryAddResult result = AddToLibrary(file.bytes, pattern, false);
    if (result.status == LibraryAddStatus::NameExists) {
        if (!AskQuestion(platform, LibraryReplaceQuestion(result.name), "Error", 2, owner))
            return false;
        result = AddToLibrary(file.bytes, pattern, true);
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
            ShowError(platform, kBadLibraryNameText, "Error", owner);
            return false;
    }
    const auto deleteFailed = [&] {
        ShowError(platform, "Er is een fout opgetreden bij het wissen van de hatchfile", "Error",
                  owner);
    };
    switch (WriteReplacing(platform, path, true, result.bytes, deleteFailed)) {
        case SaveOutcome::Written:
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
