// A file named on the command line, opened in its tab.
#include "StartupFile.h"

#include <QFile>
#include <QFileInfo>
#include <QTabWidget>
#include <utility>

#include "FreeLineTab.h"
#include "Msg.h"
#include "QtText.h"
#include "fMain.h"

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

void PresetDialogPlatform::PresetNextDialog(std::string path) {
    preset_ = true;
    presetPath_ = std::move(path);
}

bool PresetDialogPlatform::RunFileDialog(FileDialog& dialog, WindowHandle owner) {
    if (!preset_) return inner_.RunFileDialog(dialog, owner);
    preset_ = false;
    dialog.fileName = std::exchange(presetPath_, std::string());
    return true;
}

void OpenStartupFile(TMainForm& window, PresetDialogPlatform& platform, const QString& path) {
    switch (ClassifyStartupFile(path)) {
        case StartupFileKind::Pattern:
            window.PageControl1->setCurrentWidget(window.TabSheetVrijeLijn);
            platform.PresetNextDialog(QFile::encodeName(path).toStdString());
            window.TabSheetVrijeLijn->OpenHatchActionExecute();
            return;
        case StartupFileKind::FigureList:
            // The figure tab reads figure lists through its own open command; until that command
            // exists the file is only named.
            ShowWarning(platform,
                        ToFileText(QStringLiteral("Een coördinatenlijst kan bij het starten nog "
                                                  "niet worden geopend:\n") +
                                   path),
                        kTitle, window.Handle());
            return;
        case StartupFileKind::Other:
            ShowWarning(platform,
                        ToFileText(QStringLiteral("Murvex opent alleen arceringsbestanden (.pat) "
                                                  "en coördinatenlijsten:\n") +
                                   path),
                        kTitle, window.Handle());
            return;
    }
}

}  // namespace murvex::app
