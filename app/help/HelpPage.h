// Where the help page on pattern files is found, as a local file address for the browser.
#pragma once

#include <QString>
#include <QStringList>

namespace murvex::app {

inline constexpr const char* kPatternFileHelpName = "patroonbestand.html";

// The places looked at for the page, in order: help/ beside the program (the build folder),
// then ../share/murvex/help/ (an installed program).
QStringList PatternFileHelpCandidates(const QString& programDir);

// The file:// address of the page: the first candidate that exists, otherwise a copy written
// from the program's own resources into the temporary folder. Empty when neither works.
QString PatternFileHelpUrl(const QString& programDir);
// The same for the running program (QCoreApplication::applicationDirPath()).
QString PatternFileHelpUrl();

}  // namespace murvex::app
