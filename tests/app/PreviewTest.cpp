// The window "Voorbeeld": opened from each tab, following its edits, zoomed, exported.
#include <gtest/gtest.h>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QWheelEvent>

#include "AppTestSupport.h"
#include "Cursors.h"
#include "DxfExport.h"
#include "FigureCanvas.h"
#include "FigureTab.h"
#include "NewVrijHatch.h"
#include "PreviewForm.h"
#include "TempDir.h"
#include "TextGridModel.h"

namespace murvex::test {
namespace {

class Preview : public ::testing::Test {
  protected:
    ShownMainForm w;
    TempDir dir;
    app::TMainForm& form = *w.form;

    // Clicks the tab's "Voorbeeld" and lets the preview draw.
    app::TPreviewForm& Open(QPushButton* button) {
        QTest::mouseClick(button, Qt::LeftButton);
        auto* preview = form.findChild<app::TPreviewForm*>();
        EXPECT_NE(preview, nullptr);
        Settle();
        return *preview;
    }
    // Edits reach the preview at the next turn of the event loop.
    static void Settle() { QCoreApplication::processEvents(); }
    static void Retype(QLineEdit* edit, const QString& text) {
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    static QImage Picture(const app::TPreviewForm& preview, std::size_t* pieces = nullptr) {
        return preview.RenderView(pieces);
    }
};

TEST_F(Preview, FollowsTheBondTabAndShowsInvalidInputWithoutABox) {
    app::TBondTab& tab = *form.MetselverbandenTab;
    EXPECT_EQ(Control<QPushButton>(tab, "VoorbeeldButton")->text(), QStringLiteral("Voorbeeld"));
    app::TPreviewForm& preview = Open(Control<QPushButton>(tab, "VoorbeeldButton"));
    EXPECT_TRUE(preview.isVisible());
    EXPECT_FALSE(preview.isModal());
    EXPECT_EQ(preview.windowTitle(), QStringLiteral("Voorbeeld"));

    std::size_t pieces = 0;
    const QImage first = Picture(preview, &pieces);
    EXPECT_GT(pieces, 0u);
    EXPECT_TRUE(preview.Content().problem.empty());
    EXPECT_EQ(preview.Content().outline.size(), 4u);
    const LineList firstLines = preview.Content().patternLines;
    EXPECT_EQ(firstLines, tab.PreviewNow().patternLines);

    Retype(Control<QLineEdit>(tab, "SteenlengteEdit"), QStringLiteral("300"));
    Retype(Control<QLineEdit>(tab, "SteenLengteVoegEdit"), QStringLiteral("310"));
    Settle();
    const QImage longer = Picture(preview);
    EXPECT_NE(longer, first);
    EXPECT_NE(preview.Content().patternLines, firstLines);
    EXPECT_EQ(preview.Content().patternLines, tab.PreviewNow().patternLines);

    Retype(Control<QLineEdit>(tab, "HoekverdraaiingEdit"), QStringLiteral("30"));
    Settle();
    const QImage turned = Picture(preview);
    EXPECT_NE(turned, longer);

    Control<QComboBox>(tab, "ComboBoxMetselverbanden")->setCurrentIndex(9);
    Settle();
    EXPECT_NE(Picture(preview), turned);
    EXPECT_EQ(preview.Content().patternLines, tab.PreviewNow().patternLines);

    preview.OutlineCheck->setChecked(false);
    const QImage bare = Picture(preview);
    preview.OutlineCheck->setChecked(true);
    EXPECT_NE(Picture(preview), bare);

    Retype(Control<QLineEdit>(tab, "SteenhoogteEdit"), QStringLiteral("5x"));
    Settle();
    EXPECT_EQ(preview.Content().problem, "Er is een ongeldige waarde ingevoerd");
    Picture(preview, &pieces);
    EXPECT_EQ(pieces, 0u);
    EXPECT_TRUE(w.platform.messages.empty());
    // The preview reads the edits; it never rewrites them.
    EXPECT_EQ(Control<QLineEdit>(tab, "SteenhoogteEdit")->text(), QStringLiteral("5x"));
    // Escape closes it, as it closes a dialog.
    QTest::keyClick(&preview, Qt::Key_Escape);
    EXPECT_FALSE(preview.isVisible());
}

TEST_F(Preview, FollowsTheFreeLineTabAndItsChecks) {
    form.PageControl1->setCurrentWidget(form.TabSheetVrijeLijn);
    app::TFreeLineTab& tab = *form.TabSheetVrijeLijn;
    app::TPreviewForm& preview = Open(Control<QPushButton>(tab, "VoorbeeldVrijeLijn"));
    // An empty grid has nothing to draw.
    EXPECT_FALSE(preview.Content().problem.empty());

    app::TextGridModel* model = GridModelOf(tab, "LijnGrid");
    const QStringList row = {"45", "0", "0", "0", "10", "20", "-5"};
    for (int c = 0; c < row.size(); ++c)
        model->setData(model->index(0, c), row[c]);
    Settle();
    std::size_t pieces = 0;
    const QImage first = Picture(preview, &pieces);
    EXPECT_TRUE(preview.Content().problem.empty());
    EXPECT_GT(pieces, 0u);

    model->setData(model->index(0, 4), QStringLiteral("25"));
    Settle();
    const QImage wider = Picture(preview);
    EXPECT_NE(wider, first);
    EXPECT_EQ(preview.Content().patternLines.at(4), "45, 0, 0, 0, 25, 20, -5");

    // The units name the scale bar's length.
    Control<QComboBox>(tab, "VrijeLijnUnits")->setCurrentIndex(1);
    Settle();
    EXPECT_NE(Picture(preview), wider);

    const int warnings = preview.WarningList->count();
    Retype(Control<QLineEdit>(tab, "NaamVrijeLijnArcering"), QString(40, QLatin1Char('a')));
    Settle();
    EXPECT_GT(preview.WarningList->count(), warnings);

    // Back on the bond tab the preview shows the bond.
    form.PageControl1->setCurrentWidget(form.MetselverbandenTab);
    Settle();
    EXPECT_EQ(preview.Content().patternLines, form.MetselverbandenTab->PreviewNow().patternLines);
}

// Any tab page that registers its own content: overlay, report and failed rows.
TEST_F(Preview, ShowsAnyTabsContentWithOverlayAndReport) {
    auto* tab = new QWidget;
    form.PageControl1->addTab(tab, QStringLiteral("Proef"));
    PreviewContent content;
    content.patternLines = {"*kruis", "0, 0,0, 0,10", "90, 0,0, 0,10"};
    content.fileName = "kruis";
    content.overlay = {{{0, 0, 30, 20}, 0xff0000, false, 1}, {{0, 20, 30, 0}, 0x00a000, true, 2}};
    content.failedRows = {2};
    content.report = {{"Rij", "Hoek"}, {{"1", "33.690"}, {"2", "-33.690"}}, {1, 2}};
    bool withOverlay = true;
    auto* source = new app::PreviewSource(tab, [&] {
        PreviewContent c = content;
        if (!withOverlay) c.overlay.clear();
        return c;
    });
    std::vector<int> chosen;
    source->SetRowChooser([&](int row) { chosen.push_back(row); });
    form.PageControl1->setCurrentWidget(tab);
    app::TPreviewForm& preview = app::ShowPreview(form);
    Settle();
    // The side panel, once shown, takes its room from the picture a turn later.
    Settle();

    EXPECT_EQ(preview.Content().patternLines, content.patternLines);
    EXPECT_TRUE(preview.SidePanel->isVisible());
    ASSERT_EQ(preview.ReportTable->rowCount(), 2);
    EXPECT_EQ(preview.ReportTable->item(1, 1)->text(), QStringLiteral("-33.690"));
    // The failed row is marked, the other is not.
    EXPECT_NE(preview.ReportTable->item(1, 0)->background(),
              preview.ReportTable->item(0, 0)->background());
    preview.ReportTable->selectRow(1);
    EXPECT_EQ(chosen, std::vector<int>{2});

    std::size_t pieces = 0;
    const QImage over = Picture(preview, &pieces);
    withOverlay = false;
    emit source->ContentChanged();
    Settle();
    std::size_t fewer = 0;
    EXPECT_NE(Picture(preview, &fewer), over);
    EXPECT_EQ(pieces - fewer, 2u);

    // A tab without a source has no report: the panel goes.
    form.PageControl1->setCurrentWidget(form.MetselverbandenTab);
    Settle();
    EXPECT_FALSE(preview.SidePanel->isVisible());
}

// The figure tab's own source: a drawn and a typed row reach the picture, the overlay and the
// report; a row without a solution is marked; a report row chosen selects its grid row.
TEST_F(Preview, FollowsTheFigureTabWithOverlayFailedRowsAndReport) {
    app::RegisterDrawingCursors();
    app::TFigureTab& tab = *form.VrijFiguurTabSheet;
    form.PageControl1->setCurrentWidget(&tab);
    EXPECT_EQ(Control<QPushButton>(tab, "VoorbeeldFiguur")->text(), QStringLiteral("Voorbeeld"));
    app::TPreviewForm& preview = Open(Control<QPushButton>(tab, "VoorbeeldFiguur"));
    EXPECT_FALSE(preview.Content().problem.empty());  // no figure yet

    WhenModalOpens([](QWidget* modal) {
        auto* dialog = qobject_cast<app::TNewVrijHatch*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->BreedteEdit->setText(QStringLiteral("300"));
        dialog->HoogteEdit->setText(QStringLiteral("300"));
        dialog->accept();
    });
    QTest::mouseClick(Control<QPushButton>(tab, "NieuwFiguur"), Qt::LeftButton);
    Settle();
    EXPECT_TRUE(preview.Content().problem.empty());
    EXPECT_EQ(preview.Content().outline.size(), 4u);
    EXPECT_EQ(preview.Content().outline[2].x, 300);

    // One unit per pixel; pixel (x, y) is the point (x, 300 - y).
    for (const QPoint p : {QPoint(50, 250), QPoint(200, 250)}) {
        QTest::mouseMove(Control<app::FigureCanvas>(tab, "HatchImage"), p);
        QTest::mouseClick(Control<app::FigureCanvas>(tab, "HatchImage"), Qt::LeftButton, {}, p);
    }
    Settle();
    ASSERT_EQ(preview.Content().overlay.size(), 1u);
    const DrawnSegment drawn = preview.Content().overlay[0].segment;
    EXPECT_EQ((std::vector<double>{drawn.x1, drawn.y1, drawn.x2, drawn.y2}),
              (std::vector<double>{50, 50, 200, 50}));
    ASSERT_EQ(preview.Content().patternLines.size(), 7u);
    EXPECT_EQ(preview.Content().patternLines[5],
              "0.0000000000, 50.0000000000, 50.0000000000, 0.0000000000, 300.0000000000, "
              "150.0000000000, -150.0000000000");
    const QImage one = Picture(preview);

    // A typed row too steep to repeat in the tile: no pattern line, marked, "geen oplossing".
    Control<QAction>(tab, "AddfiguurLijn")->trigger();
    const QStringList steep = {"175.317", "169.773", "184.182", "286.962"};
    for (int c = 0; c < 4; ++c)
        GridModelOf(tab, "FiguurGrid")
            ->setData(GridModelOf(tab, "FiguurGrid")->index(1, c), steep[c]);
    Settle();
    const PreviewContent& content = preview.Content();
    EXPECT_EQ(content.failedRows, std::vector<int>{2});
    ASSERT_EQ(content.overlay.size(), 2u);
    EXPECT_FALSE(content.overlay[0].marked);
    EXPECT_TRUE(content.overlay[1].marked);
    EXPECT_EQ(content.overlay[1].segment.x2, 184.182);
    EXPECT_EQ(content.patternLines.size(), 8u);
    EXPECT_NE(Picture(preview), one);
    ASSERT_EQ(preview.ReportTable->rowCount(), 2);
    EXPECT_EQ(preview.ReportTable->item(0, 2)->text(), QStringLiteral("0.000"));
    EXPECT_EQ(preview.ReportTable->item(1, 2)->text(), QStringLiteral("geen oplossing"));

    // "Op maat" converts it; a deviation that is no number is the invalid value.
    auto* deviation = tab.findChild<QLineEdit*>(QStringLiteral("MaxAfwijkingEdit"));
    tab.findChild<QComboBox*>(QStringLiteral("ComboBoxNaukeurigheid"))->setCurrentIndex(3);
    Settle();
    EXPECT_EQ(preview.ReportTable->item(1, 4)->text(), QStringLiteral("0.100"));
    deviation->setText(QStringLiteral("nul"));
    Settle();
    EXPECT_EQ(preview.Content().problem, "Er is een ongeldige waarde ingevoerd");
    deviation->setText(QStringLiteral("0.1"));
    tab.findChild<QComboBox*>(QStringLiteral("ComboBoxNaukeurigheid"))->setCurrentIndex(0);
    Settle();

    Retype(Control<QLineEdit>(tab, "NaamEditVrij"), QStringLiteral("hek"));
    Settle();
    EXPECT_EQ(preview.Content().patternLines.at(2), "*hek");

    // A chosen report row becomes the grid's current row, drawn red.
    const QImage& canvas = Control<app::FigureCanvas>(tab, "HatchImage")->Canvas().Image();
    preview.ReportTable->selectRow(1);
    EXPECT_EQ(Control<QTableView>(tab, "FiguurGrid")->currentIndex().row(), 1);
    EXPECT_EQ(canvas.pixelColor(120, 251), QColor(Qt::black));
    preview.ReportTable->selectRow(0);
    EXPECT_EQ(Control<QTableView>(tab, "FiguurGrid")->currentIndex().row(), 0);
    EXPECT_EQ(canvas.pixelColor(120, 251), QColor(255, 0, 0));
    EXPECT_TRUE(w.platform.messages.empty());
}

TEST_F(Preview, TheWheelZoomsAndDraggingPans) {
    app::TPreviewForm& preview =
        Open(Control<QPushButton>(*form.MetselverbandenTab, "VoorbeeldButton"));
    QWidget* canvas = preview.findChild<QWidget*>(QStringLiteral("PreviewCanvas"));
    ASSERT_NE(canvas, nullptr);
    const QImage before = Picture(preview);
    const QPointF at(40, 30);
    QWheelEvent wheel(at, canvas->mapToGlobal(at), QPoint(), QPoint(0, 240), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(canvas, &wheel);
    const QImage zoomed = Picture(preview);
    EXPECT_NE(zoomed, before);
    QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    QTest::mouseMove(canvas, QPoint(137, 121));
    QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, QPoint(137, 121));
    EXPECT_NE(Picture(preview), zoomed);
}

TEST_F(Preview, ExportWritesThePictureAsPngOrSvgAndTheHatchAsDxf) {
    app::TPreviewForm& preview =
        Open(Control<QPushButton>(*form.MetselverbandenTab, "VoorbeeldButton"));
    const std::string png = dir.File("muur.png");
    const std::string svg = dir.File("muur.svg");
    const std::string dxf = dir.File("muur.dxf");
    const std::string withLines = dir.File("lijnen.dxf");
    w.platform.dialogAnswers = {png, svg, dxf, dir.File("geen/map/muur.png"), withLines};
    for (int i = 0; i < 4; ++i)
        QTest::mouseClick(preview.ExportButton, Qt::LeftButton);
    preview.LinesCheck->setChecked(true);
    QTest::mouseClick(preview.ExportButton, Qt::LeftButton);

    ASSERT_EQ(w.platform.dialogs.size(), 5u);
    EXPECT_EQ(w.platform.dialogs[0].dialog.kind, FileDialog::Save);
    EXPECT_EQ(w.platform.dialogs[0].dialog.filterMask, "*.png *.svg *.dxf");
    QImage read;
    ASSERT_TRUE(read.load(QString::fromStdString(png), "PNG"));
    EXPECT_EQ(read.size(), preview.findChild<QWidget*>(QStringLiteral("PreviewCanvas"))->size());
    const std::string text = ReadText(svg);
    EXPECT_TRUE(text.rfind("<svg", 0) == 0 || text.rfind("<?xml", 0) == 0);
    EXPECT_NE(text.find("<path"), std::string::npos);
    // The drawing's hatch carries the tab's pattern lines (read back in tests/dxf).
    const std::string drawing = ReadText(dxf);
    EXPECT_NE(drawing.find("\r\nHATCH\r\n"), std::string::npos);
    const std::size_t count = DxfPatternOf(preview.Content().patternLines).lines.size();
    EXPECT_NE(drawing.find("\r\n 78\r\n" + IntText(count) + "\r\n"), std::string::npos);
    // "Lijnen meeschrijven" adds the lines the pattern draws, for readers that show no hatch.
    EXPECT_EQ(drawing.find("\r\nLINE\r\n"), std::string::npos);
    EXPECT_NE(ReadText(withLines).find("\r\nLINE\r\n"), std::string::npos);
    // A folder that does not exist: told, nothing written, no temporary file left.
    ASSERT_EQ(w.platform.messages.size(), 1u);
    EXPECT_EQ(dir.Entries(),
              (std::vector<std::string>{"lijnen.dxf", "muur.dxf", "muur.png", "muur.svg"}));
}

}  // namespace
}  // namespace murvex::test
