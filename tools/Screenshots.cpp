// Grabs the main window on each tab and the small forms to PNG files, for looking at the layout.
//   murvex-shots OUTPUT_FOLDER   (run by tools/screenshots under the offscreen platform)
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QTabWidget>
#include <QTimer>
#include <iostream>

#include "BondTab.h"
#include "ErrorUnit.h"
#include "QtPlatform.h"
#include "SaveHatch.h"
#include "StartUp.h"
#include "fAbout.h"
#include "fMain.h"
#include "fNewVrijHachDialog.h"

namespace {

bool Save(QWidget* widget, const QDir& folder, const QString& name) {
    widget->show();
    QApplication::processEvents();
    const bool ok = widget->grab().save(folder.filePath(name + QStringLiteral(".png")));
    if (!ok) std::cerr << "murvex-shots: cannot write " << name.toStdString() << ".png\n";
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: murvex-shots OUTPUT_FOLDER\n";
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    murvex::app::QtPlatform platform;
    murvex::app::Forms forms = murvex::app::StartUp(platform);
    murvex::app::TMainForm& main = *forms.mainForm;
    main.show();

    bool ok = true;
    const char* const tabs[] = {"main-metselverbanden", "main-vrije-lijnen", "main-vrij-figuur"};
    for (int i = 0; i < main.PageControl1->count(); ++i) {
        main.PageControl1->setCurrentIndex(i);
        ok = Save(&main, folder, QString::fromLatin1(tabs[i])) && ok;
    }
    // Each bond with its picture.
    main.PageControl1->setCurrentIndex(0);
    for (int bond = 0; bond < 10; ++bond) {
        main.MetselverbandenTab->ComboBoxMetselverbanden->setCurrentIndex(bond);
        ok = Save(&main, folder, QStringLiteral("bond-%1").arg(bond)) && ok;
    }
    murvex::app::TAboutForm about(platform, &main);
    ok = Save(&about, folder, QStringLiteral("about")) && ok;
    ok = Save(forms.errorForm, folder, QStringLiteral("error-form")) && ok;
    ok = Save(forms.newVrijHatch, folder, QStringLiteral("new-vrij-hatch")) && ok;
    // The save dialog as the platform shows it, in the folder the program runs in.
    QFileDialog dialog(&main);
    murvex::app::ConfigureFileDialog(dialog, murvex::MakeSaveHatchDialog());
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setDirectory(QDir::currentPath());
    dialog.show();
    // The folder is read in the background.
    QEventLoop wait;
    QTimer::singleShot(500, &wait, &QEventLoop::quit);
    wait.exec();
    ok = Save(&dialog, folder, QStringLiteral("file-dialog")) && ok;
    return ok ? 0 : 1;
}
