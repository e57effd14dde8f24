// "Aan bibliotheek toevoegen...": the current pattern into an existing library file, through the
// same crash-safe write and recycle bin as every save.
#pragma once

#include <string>

#include "FileLock.h"
#include "PatternFile.h"
#include "Platform.h"
#include "Text.h"

namespace murvex {

inline constexpr const char* kLibraryReplaceQuestion =
    "Arcering <NAAM> bestaat al in deze bibliotheek. Vervangen?";
inline constexpr const char* kNotALibraryText =
    "Dit bestand is geen arceringbestand; er is niets aan toegevoegd";
inline constexpr const char* kBadLibraryNameText =
    "Deze naam kan niet in een bibliotheek: een naam mag niet leeg zijn en geen komma of "
    "stuurteken bevatten";
inline constexpr const char* kLibraryFullText =
    "Deze bibliotheek is te groot om er nog een arcering aan toe te voegen";

// A library held for one change: locked for the whole read, change and replace (other writers
// that lock wait up to kLibraryLockWait), read whole, and checked before the replace that nobody
// changed it since. The lock goes with the object, after the replace.
class LibraryEdit {
  public:
    // Locks and reads path. Locked with a read status: the bytes are there when it is Ok.
    // Missing: there is no such file, and the name stays locked until the new library is written.
    FileLockStatus Open(const std::string& path);
    ReadFileStatus ReadStatus() const { return read_.status; }
    const std::string& Bytes() const { return read_.bytes; }
    // Whether the file is still the one that was read: same identity, size and time.
    bool Unchanged() const;

  private:
    std::string path_;
    FileLock lock_;
    FileFingerprint read_at_;
    ReadFileResult read_;
};

// Whether path is a file nobody may write (no write permission bit; on Windows the read-only
// attribute). A library like that is replaced only when the user says so.
bool IsReadOnlyFile(const std::string& path);

inline constexpr const char* kLibraryBusyText =
    "De bibliotheek wordt door een ander programma gewijzigd; probeer het later opnieuw";
inline constexpr const char* kLibraryChangedText =
    "De bibliotheek is intussen door een ander programma gewijzigd; er is niets aan toegevoegd";
inline constexpr const char* kReadOnlyLibraryQuestion =
    "Deze bibliotheek is alleen-lezen. Toch vervangen?";

// The open dialog that picks the library ("*.pat", the file must exist).
FileDialog MakeLibraryDialog();
// The save dialog of "Aan bibliotheek toevoegen...": an existing library or a new name.
inline constexpr const char* kLibraryAddTitle = "Aan bibliotheek toevoegen";
FileDialog MakeLibraryAddDialog();

// The question with the pattern's name in place of <NAAM>.
std::string LibraryReplaceQuestion(const std::string& name);

// "Arcering NAME toegevoegd aan PATH" or "Arcering NAME vervangen in PATH".
std::string LibraryAddedText(const std::string& name, const std::string& path, bool replaced);

// Asks for a library with a MakeLibraryAddDialog (offering, and remembering in libraryDialog, the
// name chosen last), then puts the pattern of lines (a writer's complete line
// list) into it: appended, or in place of the pattern of the same name once the user agreed; a
// name that is no file yet starts a new library. The library stays locked (LibraryEdit) from the
// read to the replace; a read-only one is replaced only after kReadOnlyLibraryQuestion. Messages
// are owned by owner; the last says what went where. True when the library was written; false
// when the user stopped or a message said why not. Throws CommandError when the file cannot be
// written.
bool AddToLibraryFile(const LineList& lines, Platform& platform, FileDialog& libraryDialog,
                      WindowHandle owner);

}  // namespace murvex
