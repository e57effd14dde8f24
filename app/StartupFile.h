// A file named on the command line, as a file manager passes it ("Exec=murvex %f"): opened in
// the tab that reads files of its kind.
#pragma once

#include <QString>

namespace murvex::app {

class TMainForm;

enum class StartupFileKind { Pattern, FigureList, Other };

// A pattern file by its extension ".pat" (any case); a figure list by its first line, the size
// line (";%SIZE=", any case) that every written figure list starts with, whatever its name.
StartupFileKind ClassifyStartupFile(const QString& path);

// The start-up hook for a file named on the command line. A pattern file opens in the free line
// tab, a figure list in the figure tab, each as if chosen in that tab's open dialog (a file that
// cannot be read gets that command's read error). Any other file is refused with a warning box.
void OpenStartupFile(TMainForm& window, const QString& path);

}  // namespace murvex::app
