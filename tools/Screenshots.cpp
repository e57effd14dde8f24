// Grabs the main window on each tab and the small forms to PNG files, for looking at the layout.
//   murvex-shots OUTPUT_FOLDER   (run by tools/screenshots under the offscreen platform)
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QLineEdit>
#include <QTabWidget>
#include <QTimer>
#include <iostream>

#include "BondTab.h"
#include "ErrorUnit.h"
#include "FreeLineTab.h"
#include "PreviewForm.h"
#include "QtPlatform.h"
#include "SaveHatch.h"
#include "StartUp.h"
#include "TextGridModel.h"
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

// The preview window on the bond tab and the free line tab, fitted, zoomed in and out, and with
// invalid input.
bool SavePreviews(murvex::app::TMainForm& main, const QDir& folder) {
    bool ok = true;
    main.PageControl1->setCurrentIndex(0);
    main.MetselverbandenTab->ComboBoxMetselverbanden->setCurrentIndex(9);
    murvex::app::TPreviewForm& preview = murvex::app::ShowPreview(main);
    preview.resize(760, 560);
    const auto shoot = [&](const char* name, double zoom) {
        QApplication::processEvents();
        preview.Refresh();
        preview.FitToContent();
        const QWidget* canvas = preview.findChild<QWidget*>(QStringLiteral("PreviewCanvas"));
        preview.ZoomAt(canvas->width() / 2.0, canvas->height() / 2.0, zoom);
        ok = Save(&preview, folder, QString::fromLatin1(name)) && ok;
    };
    shoot("preview-bond", 1);
    shoot("preview-bond-zoom-in", 6);
    shoot("preview-bond-zoom-out", 0.08);
    main.MetselverbandenTab->ComboBoxMetselverbanden->setCurrentIndex(2);
    main.MetselverbandenTab->HoekverdraaiingEdit->setText(QStringLiteral("30"));
    shoot("preview-bond-turned", 1);
    main.MetselverbandenTab->SteenhoogteEdit->setText(QStringLiteral("5x"));
    shoot("preview-bond-invalid", 1);
    main.MetselverbandenTab->SteenhoogteEdit->setText(QStringLiteral("50"));

    main.PageControl1->setCurrentIndex(1);
    murvex::app::TFreeLineTab& tab = *main.TabSheetVrijeLijn;
    shoot("preview-free-line-empty", 1);
    const QStringList rows[] = {{"45", "0", "0", "0", "10", "20", "-5"},
                                {"135", "0", "0", "0", "10"}};
    for (int r = 0; r < 2; ++r) {
        if (r > 0) tab.VrijLijnPlusClick();
        for (int c = 0; c < rows[r].size(); ++c)
            tab.LijnGridModel->setData(tab.LijnGridModel->index(r, c), rows[r][c]);
    }
    tab.NaamVrijeLijnArcering->setText(QStringLiteral("kruis, schuin"));
    shoot("preview-free-line", 1);
    shoot("preview-free-line-zoom-in", 8);
    shoot("preview-free-line-zoom-out", 0.05);
    main.PageControl1->setCurrentIndex(0);
    ok = Save(&main, folder, QStringLiteral("main-with-preview-button")) && ok;
    main.PageControl1->setCurrentIndex(1);
    ok = Save(&main, folder, QStringLiteral("main-vrije-lijnen-with-preview-button")) && ok;
    preview.hide();
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
    ok = SavePreviews(main, folder) && ok;
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
