// Grabs the main window on each tab and the small forms to PNG files, for looking at the layout.
//   murvex-shots OUTPUT_FOLDER   (run by tools/screenshots under the offscreen platform)
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <iostream>
#include <optional>

#include "AboutForm.h"
#include "BondTab.h"
#include "ErrorForm.h"
#include "FigureList.h"
#include "FigureTab.h"
#include "FreeLineTab.h"
#include "InputRubberForm.h"
#include "LibraryForm.h"
#include "MainForm.h"
#include "Msg.h"
#include "NewVrijHatch.h"
#include "PatternLibrary.h"
#include "PreviewForm.h"
#include "QtPlatform.h"
#include "SaveHatch.h"
#include "StartUp.h"
#include "TextGridModel.h"
#include "ToolControls.h"
#include "TypedInput.h"
#include "UnsavedChanges.h"

using murvex::tools::Control;
using murvex::tools::GridModelOf;

namespace {

// The Qt platform with the file dialogs answered by the tool.
class ShotPlatform : public murvex::app::QtPlatform {
  public:
    std::string nextFile;
    // The next message box answered without showing it.
    std::optional<murvex::Answer> nextAnswer;
    murvex::Answer MessageBox(const std::string& text, const std::string& title,
                              murvex::MessageStyle style, murvex::WindowHandle owner) override {
        if (!nextAnswer) return QtPlatform::MessageBox(text, title, style, owner);
        const murvex::Answer answer = *nextAnswer;
        nextAnswer.reset();
        return answer;
    }
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

// A small floor plan as a one-page PDF, 2:1 like the tile it goes under: outer walls, inner
// walls with a door opening and its swing, and room names.
bool WritePlanPdf(const QString& path) {
    QPdfWriter writer(path);
    writer.setPageLayout(QPageLayout(QPageSize(QSizeF(240, 120), QPageSize::Millimeter),
                                     QPageLayout::Portrait, QMarginsF()));
    writer.setResolution(300);
    QPainter p(&writer);
    if (!p.isActive()) return false;
    const double w = writer.width();
    const double h = writer.height();
    const double wall = w / 80;
    p.fillRect(QRectF(0, 0, w, h), QColor(250, 248, 240));
    p.setPen(QPen(QColor(40, 40, 40), wall));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(wall, wall, w - 2 * wall, h - 2 * wall));
    p.drawLine(QPointF(w * 0.55, wall), QPointF(w * 0.55, h * 0.55));
    p.drawLine(QPointF(w * 0.55, h * 0.75), QPointF(w * 0.55, h - wall));
    p.drawLine(QPointF(w * 0.55, h * 0.5), QPointF(w - wall, h * 0.5));
    p.setPen(QPen(QColor(120, 120, 120), wall / 4, Qt::DashLine));
    QPainterPath swing;
    swing.moveTo(w * 0.55, h * 0.55);
    swing.arcTo(QRectF(w * 0.55 - h * 0.2, h * 0.55 - h * 0.2, h * 0.4, h * 0.4), 270, 90);
    p.drawPath(swing);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(static_cast<int>(h / 14));
    p.setFont(font);
    p.setPen(QColor(60, 60, 140));
    p.drawText(QRectF(0, 0, w * 0.55, h), Qt::AlignCenter, QStringLiteral("Woonkamer"));
    p.drawText(QRectF(w * 0.55, 0, w * 0.45, h * 0.5), Qt::AlignCenter, QStringLiteral("Keuken"));
    p.drawText(QRectF(w * 0.55, h * 0.5, w * 0.45, h * 0.5), Qt::AlignCenter,
               QStringLiteral("Hal"));
    return p.end();
}

// A file dialog of the figure tab as the platform shows it, in a folder with a few files.
bool SaveFileDialog(QWidget* owner, const murvex::FileDialog& settings, const QString& inFolder,
                    const QDir& folder, const QString& name) {
    QFileDialog dialog(owner);
    murvex::app::ConfigureFileDialog(dialog, settings);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setDirectory(inFolder);
    dialog.show();
    QEventLoop wait;
    QTimer::singleShot(500, &wait, &QEventLoop::quit);
    wait.exec();
    return Save(&dialog, folder, name);
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
    Control<QAction>(tab, "OpenPictureAction")->trigger();

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

    // The same figure over a page of a PDF plan.
    const QString plan = temp.filePath(QStringLiteral("plattegrond.pdf"));
    if (!WritePlanPdf(plan)) {
        std::cerr << "murvex-shots: cannot write the PDF plan\n";
        ok = false;
    }
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    tab.FormKeyDown(&escape);
    platform.nextFile = QFile::encodeName(plan).toStdString();
    Control<QAction>(tab, "OpenPictureAction")->trigger();
    tab.FiguurGridClick();
    ok = Save(&main, folder, QStringLiteral("figure-over-pdf")) && ok;

    // The figure tab's file dialogs, in the folder of the pictures.
    QFile::copy(QStringLiteral(":/uitleg/uitleg_halfsteensverband.jpg"),
                temp.filePath(QStringLiteral("gevel.jpg")));
    QFile(temp.filePath(QStringLiteral("figuur.txt"))).open(QIODevice::WriteOnly);
    ok = SaveFileDialog(&main, tab.OpenPictureDialog, temp.path(), folder,
                        QStringLiteral("figure-picture-dialog")) &&
         ok;
    ok = SaveFileDialog(&main, tab.OpenDialogVrijFiguur, temp.path(), folder,
                        QStringLiteral("figure-list-open-dialog")) &&
         ok;
    ok = SaveFileDialog(&main, tab.SaveDialogVrijFiguur, temp.path(), folder,
                        QStringLiteral("figure-list-save-dialog")) &&
         ok;

    // Selection mode: a click on the vertical segment shows it red.
    Control<QToolButton>(tab, "SpeedButtonSelectieMode")->click();
    tab.HatchImageMouseMove({151, 110});
    tab.HatchImageClick({151, 110});
    ok = Save(&main, folder, QStringLiteral("figure-selected")) && ok;

    forms.inputRubberForm->InPutRubberEdit->setText(QStringLiteral("25"));
    ok = Save(forms.inputRubberForm, folder, QStringLiteral("figure-typed-length")) && ok;
    forms.inputRubberForm->hide();

    forms.errorForm->ShowFailedRows(
        QStringLiteral(
            "Geen oplossing gevonden voor lijn: 2\nGeen oplossing gevonden voor lijn: 5"),
        2);
    ok = Save(forms.errorForm, folder, QStringLiteral("figure-error-window")) && ok;
    forms.errorForm->hide();

    // The tab's message boxes: a refused size of "Nieuw", a typed length that is no number.
    const auto boxShot = [&](const char* name) {
        QTimer::singleShot(0, [&, name] {
            auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!box) {
                std::cerr << "murvex-shots: no message box for " << name << "\n";
                ok = false;
                return;
            }
            ok = Save(box, folder, QString::fromLatin1(name)) && ok;
            box->done(0);
        });
    };
    boxShot("figure-invalid-size-box");
    murvex::ShowError(platform, murvex::kInvalidValueText, "Error", main.Handle());
    boxShot("figure-invalid-length-box");
    murvex::ShowWarning(platform, murvex::figure::TypedInputRefusedText(','), std::string(),
                        main.Handle());
    boxShot("figure-open-list-question");
    murvex::AskQuestion(platform, murvex::figure::kOpenQuestion, murvex::figure::kOpenTitle, 1,
                        main.Handle());
    boxShot("unsaved-changes-question");
    murvex::MayDropChanges(platform, true, "Vrij figuur", main.Handle(), [] { return true; });

    // A wide tile in a larger window: the canvas takes the room and the tile fits it.
    forms.newVrijHatch->BreedteEdit->setText(QStringLiteral("215"));
    forms.newVrijHatch->HoogteEdit->setText(QStringLiteral("65"));
    QTimer::singleShot(0, [&] { forms.newVrijHatch->accept(); });
    platform.nextAnswer = murvex::Answer::No;
    tab.NieuwFiguurClick();
    Control<QToolButton>(tab, "SpeedButtonTekenmode")->click();
    const QSize designed = main.size();
    main.resize(designed + QSize(300, 200));
    QApplication::processEvents();
    tab.HatchImageMouseMove({60, 60});
    tab.HatchImageClick({60, 60});
    tab.HatchImageMouseMove({400, 200});
    ok = Save(&main, folder, QStringLiteral("figure-wide-tile-large-window")) && ok;
    main.resize(designed);
    QApplication::processEvents();
    return ok;
}

// The preview window on the bond tab and the free line tab, fitted, zoomed in and out, and with
// invalid input.
bool SavePreviews(murvex::app::TMainForm& main, const QDir& folder) {
    bool ok = true;
    main.PageControl1->setCurrentIndex(0);
    Control<QComboBox>(*main.MetselverbandenTab, "ComboBoxMetselverbanden")->setCurrentIndex(9);
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
    Control<QComboBox>(*main.MetselverbandenTab, "ComboBoxMetselverbanden")->setCurrentIndex(2);
    Control<QLineEdit>(*main.MetselverbandenTab, "HoekverdraaiingEdit")
        ->setText(QStringLiteral("30"));
    shoot("preview-bond-turned", 1);
    Control<QLineEdit>(*main.MetselverbandenTab, "SteenhoogteEdit")->setText(QStringLiteral("5x"));
    shoot("preview-bond-invalid", 1);
    Control<QLineEdit>(*main.MetselverbandenTab, "SteenhoogteEdit")->setText(QStringLiteral("50"));

    main.PageControl1->setCurrentIndex(1);
    murvex::app::TFreeLineTab& tab = *main.TabSheetVrijeLijn;
    shoot("preview-free-line-empty", 1);
    const QStringList rows[] = {{"45", "0", "0", "0", "10", "20", "-5"},
                                {"135", "0", "0", "0", "10"}};
    for (int r = 0; r < 2; ++r) {
        if (r > 0) tab.VrijLijnPlusClick();
        for (int c = 0; c < rows[r].size(); ++c)
            GridModelOf(tab, "LijnGrid")
                ->setData(GridModelOf(tab, "LijnGrid")->index(r, c), rows[r][c]);
    }
    Control<QLineEdit>(tab, "NaamVrijeLijnArcering")->setText(QStringLiteral("kruis"));
    Control<QLineEdit>(tab, "BeschrijvingVrijeLijn")->setText(QStringLiteral("schuin"));
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

// The preview on the figure tab drawn by FigureShots, with a typed row that has no solution:
// the drawn segments in colour over the pattern, the failed row marked, the report beside it.
bool FigurePreviewShots(murvex::app::TMainForm& main, const QDir& folder) {
    murvex::app::TFigureTab& tab = *main.VrijFiguurTabSheet;
    main.PageControl1->setCurrentWidget(&tab);
    Control<QAction>(tab, "AddfiguurLijn")->trigger();
    const QStringList steep = {"100", "250", "100.2", "10"};
    const int row = GridModelOf(tab, "FiguurGrid")->rowCount() - 1;
    for (int c = 0; c < steep.size(); ++c)
        GridModelOf(tab, "FiguurGrid")
            ->setData(GridModelOf(tab, "FiguurGrid")->index(row, c), steep[c]);
    tab.FiguurGridKeyDown();
    bool ok = Save(&main, folder, QStringLiteral("main-vrij-figuur-with-preview-button"));

    murvex::app::TPreviewForm& preview = murvex::app::ShowPreview(main);
    preview.resize(900, 560);
    const auto shoot = [&](const char* name, double zoom) {
        QApplication::processEvents();
        preview.Refresh();
        QApplication::processEvents();
        preview.FitToContent();
        const QWidget* canvas = preview.findChild<QWidget*>(QStringLiteral("PreviewCanvas"));
        preview.ZoomAt(canvas->width() / 2.0, canvas->height() / 2.0, zoom);
        ok = Save(&preview, folder, QString::fromLatin1(name)) && ok;
    };
    shoot("preview-figure", 1);
    shoot("preview-figure-zoom-in", 5);
    shoot("preview-figure-zoom-out", 0.1);
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
        Control<QComboBox>(*main.MetselverbandenTab, "ComboBoxMetselverbanden")
            ->setCurrentIndex(bond);
        ok = Save(&main, folder, QStringLiteral("bond-%1").arg(bond)) && ok;
    }
    ok = SavePreviews(main, folder) && ok;
    ok = FigureShots(platform, forms, folder) && ok;
    ok = FigurePreviewShots(main, folder) && ok;

    // The library dialog: each pattern with its picture, description and number of lines.
    std::string library = ";%UNITS=MM\r\n";
    const char* const patterns[][2] = {
        {"Tegel, wandtegels 20 x 10", "0,0,0,0,10\r\n90,0,0,10,20,10,-10"},
        {"Streep, streep-punt lijnen", "45,0,0,0,6,5,-2,0,-2"},
        {"Kaal", "30,0,0,0,4"}};
    for (const auto& [name, lines] : patterns)
        library += std::string("*") + name + "\r\n" + lines + "\r\n";
    murvex::LibraryIndex index = murvex::SplitLibrary(library);
    murvex::app::TLibraryForm chooser(&main, library, std::move(index), QStringLiteral("lib.pat"));
    ok = Save(&chooser, folder, QStringLiteral("library-dialog")) && ok;
    chooser.hide();

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
