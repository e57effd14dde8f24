// "Aan bibliotheek toevoegen...": the current pattern into an existing library file, through the
// same crash-safe write and recycle bin as every save.
#pragma once

#include <string>

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

// The open dialog that picks the library ("*.pat", the file must exist).
FileDialog MakeLibraryDialog();

// The question with the pattern's name in place of <NAAM>.
std::string LibraryReplaceQuestion(const std::string& name);

// Asks for a library with libraryDialog, then puts the pattern of lines (a writer's complete line
// list) into it: appended, or in place of the pattern of the same name once the user agreed.
// Messages are owned by owner. True when the library was written; false when the user stopped
// or a message said why not. Throws CommandError when the file cannot be written.
bool AddToLibraryFile(const LineList& lines, Platform& platform, FileDialog& libraryDialog,
                      WindowHandle owner);

}  // namespace murvex
