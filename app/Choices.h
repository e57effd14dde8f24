// The few choices the window keeps between runs: the figure tab's "Compatibel opslaan" and
// whether it still tells after "Maak hatch" which readers misread the file. Kept in one small
// settings file of the user's; nothing else of the program is stored.
#pragma once

#include <QString>

namespace murvex::app {

inline constexpr const char* kChoiceFigureCompatible = "vrijfiguur/compatibel";
inline constexpr const char* kChoiceReaderNoticeOff = "vrijfiguur/lezersmelding-uit";

bool RememberedChoice(const char* key, bool fallback);
void RememberChoice(const char* key, bool value);
// Where the choices are kept: an empty path keeps them in memory only, as the tests do.
void SetChoicesFile(const QString& path);

}  // namespace murvex::app
