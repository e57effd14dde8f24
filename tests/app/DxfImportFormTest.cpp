// A DXF drawing opened on the figure tab: the import dialog's choices reach the figure, OK is one
// undo step, a refused drawing is an error box (the import's rules are tested in tests/dxf).
#include <gtest/gtest.h>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include "AppTestSupport.h"
#include "DxfImportForm.h"
#include "DxfText.h"
#include "FigureTab.h"
#include "TempDir.h"

namespace murvex::test {
namespace {

using dxftest::DxfFile;
using dxftest::Line;

class DxfOpen : public ::testing::Test {
  protected:
    ShownMainForm w;
    TempDir dir;
    app::TFigureTab& tab = *w.form->VrijFiguurTabSheet;

    void SetUp() override { w.form->PageControl1->setCurrentWidget(&tab); }

    template <class T>
    T* Child(const char* name) {
        return tab.findChild<T*>(QString::fromLatin1(name));
    }
    void Open(const std::string& path) {
        w.platform.dialogAnswers.push_back(path);
        QTest::mouseClick(Child<QToolButton>("SpeedButtonOpenCoordinaten"), Qt::LeftButton);
        QApplication::setActiveWindow(w.form.get());
    }
};

TEST_F(DxfOpen, TheChosenLayersComeInAsOneUndoStep) {
    const std::string list = dir.File("figuur.txt");
    WriteText(list, ";%SIZE=300,200\r\n1,2,3,4\r\n");
    Open(list);
    const std::string path = dir.File("tegel.dxf");
    WriteText(path,
              DxfFile(Line(0, 0, 20, 0, "A") + Line(5, 5, 25, 5, "B") + Line(0, 0, 0, 10, "A"), "",
                      "9\n$INSUNITS\n70\n1\n"));
    QString shownReport;
    WhenModalOpens([&](QWidget* modal) {
        auto* dialog = qobject_cast<app::TDxfImportForm*>(modal);
        ASSERT_NE(dialog, nullptr);
        auto* layers = dialog->findChild<QListWidget*>("Lagen");
        ASSERT_EQ(layers->count(), 2);
        // A refusal keeps the dialog's size and the report's face.
        auto* report = dialog->findChild<QLabel*>("ImportVerslag");
        const QSize size = dialog->size();
        layers->item(0)->setCheckState(Qt::Unchecked);
        layers->item(1)->setCheckState(Qt::Unchecked);
        QApplication::processEvents();
        EXPECT_TRUE(report->text().contains("geen lijnen")) << report->text().toStdString();
        EXPECT_EQ(dialog->size(), size);
        EXPECT_EQ(report->font(), dialog->font());
        layers->item(0)->setCheckState(Qt::Checked);  // A
        shownReport = report->text();
        QTest::mouseClick(dialog->findChild<QPushButton*>("ButtonOk"), Qt::LeftButton);
    });
    Open(path);
    EXPECT_TRUE(shownReport.contains("Tegel: 0 0 20 10 (omvang van de tekening)"))
        << shownReport.toStdString();
    const figure::FigureModel& model = tab.Model();
    EXPECT_EQ(model.TileWidth(), 20);
    EXPECT_EQ(model.TileHeight(), 10);
    ASSERT_EQ(model.grid.RowCount(), 3);
    EXPECT_EQ(model.grid.Row(1),
              (std::vector<std::string>{"1", "0.000", "0.000", "20.000", "0.000"}));
    EXPECT_EQ(model.grid.Row(2),
              (std::vector<std::string>{"2", "0.000", "0.000", "0.000", "10.000"}));
    EXPECT_EQ(Child<QComboBox>("VrijeFiguurUnits")->currentText(), "INCH");
    EXPECT_EQ(Child<QLineEdit>("NaamEditVrij")->text(), "tegel");

    auto* grid = Child<QTableView>("FiguurGrid");
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(model.TileWidth(), 300);
    EXPECT_EQ(model.grid.Row(1), (std::vector<std::string>{"1", "1", "2", "3", "4"}));
}

TEST_F(DxfOpen, ARefusedDrawingIsAnErrorBoxAndChangesNothing) {
    const std::string path = dir.File("kapot.DXF");
    WriteText(path, "0\nSECTION\n2\nENTITIES\n");
    Open(path);
    ASSERT_EQ(w.platform.messages.size(), 2u);  // the open question, then the refusal
    EXPECT_EQ(w.platform.messages[1].text,
              "De DXF-tekening kan niet worden ingelezen: de tekening is afgebroken (het einde, "
              "EOF, ontbreekt)");
    EXPECT_EQ(w.platform.messages[1].title, "DXF-tekening");
    EXPECT_FALSE(tab.Model().HasFigure());
}

}  // namespace
}  // namespace murvex::test
