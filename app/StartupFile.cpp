// A file named on the command line, opened in its tab.
#include "StartupFile.h"

#include <QFile>
#include <QFileInfo>
#include <QTabWidget>

#include "FigureTab.h"
#include "FreeLineTab.h"
#include "MainForm.h"
#include "Msg.h"
#include "QtText.h"

namespace murvex::app {

namespace {

constexpr char kTitle[] = "Murvex";

}  // namespace

StartupFileKind ClassifyStartupFile(const QString& path) {
    if (QFileInfo(path).suffix().compare(QLatin1String("pat"), Qt::CaseInsensitive) == 0)
        return StartupFileKind::Pattern;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray start = file.read(7);
        if (start.compare(";%SIZE=", Qt::CaseInsensitive) == 0) return StartupFileKind::FigureList;
    }
    return StartupFileKind::Other;
}

void OpenStartupFile(TMainForm& window, const QString& path) {
    // Before the user has done anything: the open commands' questions about what would be lost
    // (changes, the figure shown) have nothing to ask about.
    switch (ClassifyStartupFile(path)) {
        case StartupFileKind::Pattern:
            window.PageControl1->setCurrentWidget(window.TabSheetVrijeLijn);
            window.TabSheetVrijeLijn->OpenPatternFile(path.toStdString());
            return;
        case StartupFileKind::FigureList:
            window.PageControl1->setCurrentWidget(window.VrijFiguurTabSheet);
            window.VrijFiguurTabSheet->OpenFigureListFile(path.toStdString());
            return;
        case StartupFileKind::Other:
            ShowWarning(window.ThePlatform(),
                        ToFileText(QStringLiteral("Murvex opent alleen arceringsbestanden (.pat) "
                                                  "en coördinatenlijsten:\n") +
                                   path),
                        kTitle, window.Handle());
            return;
    }
}

}  // namespace murvex::app
