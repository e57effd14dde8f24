// Undo and redo on the free line and figure tabs: the keys reach the tab's history, each command
// is one step, and an open cell editor keeps the keys for its own text.
#include <gtest/gtest.h>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include "AppTestSupport.h"
#include "FigureCanvas.h"
#include "FigureTab.h"
#include "GridHistory.h"
#include "GridUndo.h"
#include "MainForm.h"
#include "NewVrijHatch.h"
#include "PatternFile.h"
#include "TempDir.h"
#include "TextGridModel.h"

namespace murvex::test {
namespace {

class FreeLineUndo : public ::testing::Test {
  protected:
    ShownMainForm w;
    TempDir dir;
    app::TFreeLineTab& tab = *w.form->TabSheetVrijeLijn;
    TextGrid& grid = GridModelOf(tab, "LijnGrid")->Grid();

    void SetUp() override { w.form->PageControl1->setCurrentWidget(&tab); }
    void TypeIntoCell(int row, int col, const char* keys) {
        Control<QTableView>(tab, "LijnGrid")
            ->setCurrentIndex(GridModelOf(tab, "LijnGrid")->index(row - 1, col - 1));
        Control<QTableView>(tab, "LijnGrid")->setFocus();
        for (const char* k = keys; *k; ++k)
            QTest::keyClick(QApplication::focusWidget(), *k);
    }
    void Keys(Qt::KeyboardModifiers modifiers, Qt::Key key) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        QCoreApplication::processEvents();
    }
    void ExpectShown(const TextGrid& expected) {
        EXPECT_TRUE(SameCells(grid, expected));
        EXPECT_EQ(grid.CurrentRow(), expected.CurrentRow());
        EXPECT_EQ(grid.CurrentCol(), expected.CurrentCol());
        EXPECT_EQ(Control<QTableView>(tab, "LijnGrid")->currentIndex(),
                  GridModelOf(tab, "LijnGrid")
                      ->index(expected.CurrentRow() - 1, expected.CurrentCol() - 1));
        ASSERT_EQ(GridModelOf(tab, "LijnGrid")->rowCount(), expected.RowCount() - 1);
        for (int row = 1; row < expected.RowCount(); ++row) {
            for (int col = 1; col < expected.ColCount(); ++col) {
                EXPECT_EQ(GridModelOf(tab, "LijnGrid")
                              ->index(row - 1, col - 1)
                              .data()
                              .toString()
                              .toStdString(),
                          expected.Cell(col, row));
            }
        }
    }
};

TEST_F(FreeLineUndo, UndoAndRedoStepThroughATypedCellAnAddedRowAndAnOpenedFile) {
    // A step holds the grid as the command found it, current cell included.
    Control<QTableView>(tab, "LijnGrid")
        ->setCurrentIndex(GridModelOf(tab, "LijnGrid")->index(0, 1));
    std::vector<TextGrid> states = {grid};
    TypeIntoCell(1, 2, "45");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCoreApplication::processEvents();
    ASSERT_EQ(grid.Cell(2, 1), "45");
    states.push_back(grid);

    QTest::mouseClick(Control<QToolButton>(tab, "VrijLijnPlus"), Qt::LeftButton);
    ASSERT_EQ(grid.RowCount(), 3);
    states.push_back(grid);

    const std::string file = dir.File("twee.pat");
    WriteText(file, JoinCrLf(LineList{"*Twee", "0, 0, 0, 0, 6.35", "90, 1, 2, 0, 3, 1, -1"}));
    w.platform.dialogAnswers = {file};
    w.platform.messageAnswers = {Answer::No};
    QTest::mouseClick(Control<QToolButton>(tab, "VrijeLijnOpenHatch"), Qt::LeftButton);
    ASSERT_EQ(grid.Cell(1, 2), "90");
    states.push_back(grid);
    ASSERT_EQ(tab.UndoHistory().UndoCount(), 3u);

    Control<QTableView>(tab, "LijnGrid")->setFocus();
    for (std::size_t i = states.size() - 1; i > 0; --i) {
        SCOPED_TRACE(i);
        Keys(Qt::ControlModifier, Qt::Key_Z);
        ExpectShown(states[i - 1]);
    }
    Keys(Qt::ControlModifier, Qt::Key_Z);  // nothing left to take back
    ExpectShown(states[0]);
    Keys(Qt::ControlModifier, Qt::Key_Y);
    ExpectShown(states[1]);
    Keys(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z);
    ExpectShown(states[2]);
    Keys(Qt::ControlModifier, Qt::Key_Y);
    ExpectShown(states[3]);
}

TEST_F(FreeLineUndo, AnOpenCellEditorKeepsTheKeysForItsOwnText) {
    TypeIntoCell(1, 1, "7");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCoreApplication::processEvents();
    const TextGrid typed = grid;
    TypeIntoCell(1, 2, "12");
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    Keys(Qt::ControlModifier, Qt::Key_Z);
    EXPECT_NE(editor->text(), "12");  // the editor took its own typing back
    EXPECT_TRUE(SameCells(grid, typed));
    EXPECT_EQ(tab.UndoHistory().UndoCount(), 1u);
    // The description field, as the name field, takes its own typing back.
    Control<QLineEdit>(tab, "BeschrijvingVrijeLijn")->setFocus();
    QTest::keyClicks(QApplication::focusWidget(), "punt");
    Keys(Qt::ControlModifier, Qt::Key_Z);
    EXPECT_EQ(Control<QLineEdit>(tab, "BeschrijvingVrijeLijn")->text(), "");
}

// The figure tab owns the same keys over its own grid: only the page shown answers them.
TEST_F(FreeLineUndo, EachPageAnswersTheKeysForItsOwnGridOnly) {
    app::TFigureTab& figure = *w.form->VrijFiguurTabSheet;
    TextGrid& figureGrid = figure.Model().grid;
    const TextGrid empty = figureGrid;
    app::TextGridModel* figureCells = GridModelOf(figure, "FiguurGrid");
    figureCells->setData(figureCells->index(0, 0), QStringLiteral("figuur"));  // a typed cell
    TypeIntoCell(1, 1, "5");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCoreApplication::processEvents();

    Keys(Qt::ControlModifier, Qt::Key_Z);
    EXPECT_EQ(grid.Cell(1, 1), "");
    EXPECT_EQ(figureGrid.Cell(1, 1), "figuur");

    w.form->PageControl1->setCurrentWidget(&figure);
    Control<QTableView>(figure, "FiguurGrid")->setFocus();
    Keys(Qt::ControlModifier, Qt::Key_Z);
    EXPECT_TRUE(SameCells(figureGrid, empty));
    EXPECT_EQ(tab.UndoHistory().RedoCount(), 1u);
}

class FigureUndo : public ::testing::Test {
  protected:
    ShownMainForm w;
    TempDir dir;
    app::TFigureTab& tab = *w.form->VrijFiguurTabSheet;
    TextGrid& grid = tab.Model().grid;

    struct State {
        TextGrid grid;
        int width;
        int height;
    };
    State Now() const { return {grid, tab.Model().TileWidth(), tab.Model().TileHeight()}; }
    void ExpectState(const State& expected) {
        EXPECT_TRUE(SameCells(grid, expected.grid));
        EXPECT_EQ(tab.Model().TileWidth(), expected.width);
        EXPECT_EQ(tab.Model().TileHeight(), expected.height);
        EXPECT_EQ(GridModelOf(tab, "FiguurGrid")->rowCount(), expected.grid.RowCount() - 1);
    }

    void SetUp() override { w.form->PageControl1->setCurrentWidget(&tab); }
    void NewFigure(const QString& width, const QString& height) {
        WhenModalOpens([&](QWidget* modal) {
            auto* dialog = qobject_cast<app::TNewVrijHatch*>(modal);
            ASSERT_NE(dialog, nullptr);
            dialog->BreedteEdit->setText(width);
            dialog->HoogteEdit->setText(height);
            dialog->accept();
        });
        QTest::mouseClick(Control<QPushButton>(tab, "NieuwFiguur"), Qt::LeftButton);
        QApplication::setActiveWindow(w.form.get());
    }
    void MoveAndClick(QPoint p) {
        QTest::mouseMove(Control<app::FigureCanvas>(tab, "HatchImage"), p);
        QTest::mouseClick(Control<app::FigureCanvas>(tab, "HatchImage"), Qt::LeftButton, {}, p);
    }
    void Type(int row, int col, const char* text) {
        GridModelOf(tab, "FiguurGrid")
            ->setData(GridModelOf(tab, "FiguurGrid")->index(row - 1, col - 1),
                      QString::fromLatin1(text));
    }
    void Keys(Qt::KeyboardModifiers modifiers, Qt::Key key) {
        Control<QTableView>(tab, "FiguurGrid")->setFocus();
        QTest::keyClick(Control<QTableView>(tab, "FiguurGrid"), key, modifiers);
        QCoreApplication::processEvents();
    }
    QColor Pixel(int x, int y) const {
        return Control<app::FigureCanvas>(tab, "HatchImage")->Canvas().Image().pixelColor(x, y);
    }
};

TEST_F(FigureUndo, EachKindOfStepComesBackExactlyAndGoesAgain) {
    NewFigure("300", "300");  // the first figure: nothing before it to go back to
    ASSERT_EQ(tab.UndoHistory().UndoCount(), 0u);
    std::vector<State> states = {Now()};
    std::vector<const char*> names = {"new figure"};
    const auto step = [&](const char* name) {
        states.push_back(Now());
        names.push_back(name);
        ASSERT_EQ(tab.UndoHistory().UndoCount(), states.size() - 1) << name;
    };

    // Which events make a step, an open or abandoned segment none, is the figure session's table.
    MoveAndClick({50, 250});
    MoveAndClick({200, 250});
    step("segment");
    MoveAndClick({200, 250});
    MoveAndClick({200, 100});
    step("second segment");

    Type(1, 1, "5");
    step("typed cell");
    Control<QTableView>(tab, "FiguurGrid")
        ->setCurrentIndex(GridModelOf(tab, "FiguurGrid")->index(1, 3));
    Type(2, 4, "400");
    step("typed cell outside the tile");
    Keys({}, Qt::Key_Return);
    ASSERT_EQ(grid.Cell(4, 2), "300.000");
    step("clip on Enter");

    Control<QTableView>(tab, "FiguurGrid")
        ->setCurrentIndex(GridModelOf(tab, "FiguurGrid")->index(0, 0));
    QTest::mouseClick(Control<QToolButton>(tab, "DeleteFiguurLijnSpeedButton"), Qt::LeftButton);
    ASSERT_EQ(grid.RowCount(), 2);
    step("deleted segment");

    const std::string list = dir.File("ander.txt");
    WriteText(list, ";%SIZE=600,300\r\n;%UNITS=MM\r\n*ander\r\n1,2,3,4\r\n5,6,7,8\r\n");
    w.platform.dialogAnswers.push_back(list);
    w.platform.messageAnswers = {Answer::No, Answer::Ok};
    QTest::mouseClick(Control<QToolButton>(tab, "SpeedButtonOpenCoordinaten"), Qt::LeftButton);
    ASSERT_EQ(tab.Model().TileWidth(), 600);
    step("opened list");

    NewFigure("100", "50");
    step("new figure");

    for (std::size_t i = states.size() - 1; i > 0; --i) {
        SCOPED_TRACE(names[i]);
        Keys(Qt::ControlModifier, Qt::Key_Z);
        ExpectState(states[i - 1]);
    }
    Keys(Qt::ControlModifier, Qt::Key_Z);  // the first figure stays
    ExpectState(states[0]);
    EXPECT_EQ(tab.UndoHistory().RedoCount(), states.size() - 1);

    // The canvas shows the grid of the state it went back to.
    Keys(Qt::ControlModifier, Qt::Key_Y);
    ExpectState(states[1]);
    EXPECT_EQ(Pixel(120, 251), QColor(Qt::black));
    EXPECT_EQ(Pixel(200, 150), QColor(Qt::white));
    for (std::size_t i = 2; i < states.size(); ++i) {
        SCOPED_TRACE(names[i]);
        Keys(i % 2 ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier,
             i % 2 ? Qt::Key_Y : Qt::Key_Z);
        ExpectState(states[i]);
    }
    EXPECT_EQ(tab.UndoHistory().RedoCount(), 0u);
}

}  // namespace
}  // namespace murvex::test
