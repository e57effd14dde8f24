// Murvex: the window program. A file named on the command line opens in its tab once the window
// is shown (see StartupFile.h).
#include <QApplication>
#include <QStringList>

#include "MainForm.h"
#include "QtPlatform.h"
#include "StartUp.h"
#include "StartupFile.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // Matches the installed desktop entry, so the desktop groups the window under its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("nl.murvex.Murvex"));
    murvex::app::QtPlatform platform;
    murvex::app::Forms forms = murvex::app::StartUp(platform);
    forms.mainForm->show();
    // Qt has taken its own options out; the first remaining argument is the file, the rest is
    // ignored (the desktop entry passes one file).
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 1) murvex::app::OpenStartupFile(*forms.mainForm, arguments[1]);
    return application.exec();
}
