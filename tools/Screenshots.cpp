// Grabs the main window on each tab and the small forms to PNG files, for looking at the layout.
//   murvex-shots OUTPUT_FOLDER   (run by tools/screenshots under the offscreen platform)
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <iostream>

#include "BondTab.h"
#include "ErrorUnit.h"
#include "FigureTab.h"
#include "FreeLineTab.h"
#include "InputRubberUnit.h"
#include "PreviewForm.h"
#include "QtPlatform.h"
#include "SaveHatch.h"
#include "StartUp.h"
#include "TextGridModel.h"
#include "fAbout.h"
#include "fMain.h"
#include "fNewVrijHachDialog.h"

namespace {

// The Qt platform with the file dialogs answered by the tool.
class ShotPlatform : public murvex::app::QtPlatform {
  public:
    std::string nextFile;
    bool RunFileDialog(murvex::FileDialog& dialog, murvex::WindowHandle) override {
        if (nextFile.empty()) return false;
        dialog.fileName = nextFile;
        nextFile.clear();
        return true;
    }
};

bool Save(QWidget* widget, const QDir& folder, const QString& name) {
    widget->show();
    QApplication::processEvents();
    const bool ok = widget->grab().save(folder.filePath(name + QStringLiteral(".png")));
    if (!ok) std::cerr << "murvex-shots: cannot write " << name.toStdString() << ".png\n";
    return ok;
}

// A small figure drawn with the mouse on a 600 x 300 tile, over one of the bond pictures, with
// a selected segment, an open segment with its rubber line, and the forms of the figure tab.
bool FigureShots(ShotPlatform& platform, murvex::app::Forms& forms, const QDir& folder) {
    using murvex::app::TFigureTab;
    murvex::app::TMainForm& main = *forms.mainForm;
    TFigureTab& tab = *main.VrijFiguurTabSheet;
    main.PageControl1->setCurrentWidget(&tab);
    bool ok = true;

    forms.newVrijHatch->BreedteEdit->setText(QStringLiteral("600"));
    forms.newVrijHatch->HoogteEdit->setText(QStringLiteral("300"));
    QTimer::singleShot(0, [&] {
        ok = Save(forms.newVrijHatch, folder, QStringLiteral("figure-new-dialog")) && ok;
        forms.newVrijHatch->accept();
    });
    tab.NieuwFiguurClick();

    QTemporaryDir temp;
    const QString picture = temp.filePath(QStringLiteral("plan.jpg"));
    QFile::copy(QStringLiteral(":/uitleg/uitleg_kruisverband.jpg"), picture);
    platform.nextFile = QFile::encodeName(picture).toStdString();
    tab.OpenPictureAction->trigger();

    // Pixels of the 302 x 152 canvas: x units = 2 x, y units = 2 (151 - y).
    const QPoint clicks[] = {{10, 140}, {290, 140}, {290, 140}, {290, 20}, {290, 20}, {10, 20},
                             {10, 20},  {10, 140},  {150, 140}, {150, 80}, {10, 80},  {290, 80}};
    for (const QPoint& p : clicks) {
        tab.HatchImageMouseMove(p);
        tab.HatchImageClick(p);
    }
    tab.FiguurGridClick();
    tab.FiguurGridSelectCell(5);
    tab.HatchImageMouseMove({70, 80});
    tab.HatchImageClick({70, 80});
    tab.HatchImageMouseMove({120, 45});
    ok = Save(&main, folder, QStringLiteral("figure-drawn")) && ok;

    // Selection mode: a click on the vertical segment shows it red.
    tab.SpeedButtonSelectieMode->click();
    tab.HatchImageMouseMove({151, 110});
    tab.HatchImageClick({151, 110});
    ok = Save(&main, folder, QStringLiteral("figure-selected")) && ok;

    forms.inputRubberForm->InPutRubberEdit->setText(QStringLiteral("25"));
    ok = Save(forms.inputRubberForm, folder, QStringLiteral("figure-typed-length")) && ok;
    forms.inputRubberForm->hide();

    forms.errorForm->ErrorMemo->setPlainText(QStringLiteral(
        "Geen oplossing gevonden voor lijn: 2\nGeen oplossing gevonden voor lijn: 5"));
    ok = Save(forms.errorForm, folder, QStringLiteral("figure-error-window")) && ok;
    forms.errorForm->hide();
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
    ShotPlatform platform;
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
    ok = FigureShots(platform, forms, folder) && ok;

    murvex::app::TAboutForm about(platform, &main);
    ok = Save(&about, folder, QStringLiteral("about")) && ok;
    forms.errorForm->ErrorMemo->clear();
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
