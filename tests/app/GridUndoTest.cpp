// Undo and redo on the free line tab: the keys reach the tab's history, each command is one step,
// and an open cell editor keeps the keys for its own text.
#include <gtest/gtest.h>
#include <QApplication>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include "AppTestSupport.h"
#include "FigureTab.h"
#include "GridHistory.h"
#include "GridUndo.h"
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
    TextGrid& grid = tab.LijnGridModel->Grid();

    void SetUp() override { w.form->PageControl1->setCurrentWidget(&tab); }
    void TypeIntoCell(int row, int col, const char* keys) {
        tab.LijnGrid->setCurrentIndex(tab.LijnGridModel->index(row - 1, col - 1));
        tab.LijnGrid->setFocus();
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
        EXPECT_EQ(tab.LijnGrid->currentIndex(),
                  tab.LijnGridModel->index(expected.CurrentRow() - 1, expected.CurrentCol() - 1));
        ASSERT_EQ(tab.LijnGridModel->rowCount(), expected.RowCount() - 1);
        for (int row = 1; row < expected.RowCount(); ++row) {
            for (int col = 1; col < expected.ColCount(); ++col) {
                EXPECT_EQ(
                    tab.LijnGridModel->index(row - 1, col - 1).data().toString().toStdString(),
                    expected.Cell(col, row));
            }
        }
    }
};

TEST_F(FreeLineUndo, UndoAndRedoStepThroughATypedCellAnAddedRowAndAnOpenedFile) {
    // A step holds the grid as the command found it, current cell included.
    tab.LijnGrid->setCurrentIndex(tab.LijnGridModel->index(0, 1));
    std::vector<TextGrid> states = {grid};
    TypeIntoCell(1, 2, "45");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCoreApplication::processEvents();
    ASSERT_EQ(grid.Cell(2, 1), "45");
    states.push_back(grid);

    QTest::mouseClick(tab.VrijLijnPlus, Qt::LeftButton);
    ASSERT_EQ(grid.RowCount(), 3);
    states.push_back(grid);

    const std::string file = dir.File("twee.pat");
    WriteText(file, JoinCrLf(LineList{"*Twee", "0, 0, 0, 0, 6.35", "90, 1, 2, 0, 3, 1, -1"}));
    w.platform.dialogAnswers = {file};
    QTest::mouseClick(tab.VrijeLijnOpenHatch, Qt::LeftButton);
    ASSERT_EQ(grid.Cell(1, 2), "90");
    states.push_back(grid);
    ASSERT_EQ(tab.LijnGridUndo->History().UndoCount(), 3u);

    tab.LijnGrid->setFocus();
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
    EXPECT_EQ(tab.LijnGridUndo->History().UndoCount(), 1u);
}

// The figure tab owns the same keys over its own grid: only the page shown answers them.
TEST_F(FreeLineUndo, EachPageAnswersTheKeysForItsOwnGridOnly) {
    QWidget* page = w.form->VrijFiguurTabSheet;
    auto* view = new QTableView(page);
    auto* model = new app::TextGridModel(TextGrid(5, 2), view);
    view->setModel(model);
    auto* other = new app::GridUndo(page, view, model);
    const TextGrid empty = model->Grid();
    other->Run([&] { model->Grid().SetCell(1, 1, "figuur"); });
    TypeIntoCell(1, 1, "5");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCoreApplication::processEvents();

    Keys(Qt::ControlModifier, Qt::Key_Z);
    EXPECT_EQ(grid.Cell(1, 1), "");
    EXPECT_EQ(model->Grid().Cell(1, 1), "figuur");

    w.form->PageControl1->setCurrentWidget(page);
    view->setFocus();
    Keys(Qt::ControlModifier, Qt::Key_Z);
    EXPECT_TRUE(SameCells(model->Grid(), empty));
    EXPECT_EQ(tab.LijnGridUndo->History().RedoCount(), 1u);
}

}  // namespace
}  // namespace murvex::test
