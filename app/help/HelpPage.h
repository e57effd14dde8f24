// Where the help page on pattern files is found, as a local file address for the browser.
#pragma once

#include <QString>
#include <QStringList>

namespace murvex::app {

inline constexpr const char* kPatternFileHelpName = "patroonbestand.html";
inline constexpr const char* kFigureHelpName = "vrijfiguur.html";

// The places looked at for the page, in order: help/ beside the program (the build folder),
// then ../share/murvex/help/ (an installed program).
QStringList PatternFileHelpCandidates(const QString& programDir);

// The file:// address of the page: the first candidate that exists, otherwise a copy written
// from the program's own resources into the temporary folder. Empty when neither works.
QString PatternFileHelpUrl(const QString& programDir);
// The same for the running program (QCoreApplication::applicationDirPath()).
QString PatternFileHelpUrl();

// The same for any page of the help folder, by its file name (kFigureHelpName, ...).
QString HelpPageUrl(const QString& pageName, const QString& programDir);
QString HelpPageUrl(const QString& pageName);

}  // namespace murvex::app
