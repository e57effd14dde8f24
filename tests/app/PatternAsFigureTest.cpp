// "Als figuur openen" on the free line tab: the grid's pattern as a tile in the figure tab, or
// why not.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include "AppTestSupport.h"
#include "FigureTab.h"
#include "FreeLineTab.h"
#include "TextGridModel.h"

namespace murvex::test {
namespace {

class AsFigure : public ::testing::Test {
  protected:
    ShownMainForm w;
    app::TMainForm& form = *w.form;

    void Fill(const std::vector<QString>& row) {
        auto* model = GridModelOf(*form.TabSheetVrijeLijn, "LijnGrid");
        for (std::size_t c = 0; c < row.size(); ++c)
            model->setData(model->index(0, static_cast<int>(c)), row[c]);
        Control<QLineEdit>(*form.TabSheetVrijeLijn, "NaamVrijeLijnArcering")->setText("Lat");
    }
    void Open() {
        QTest::mouseClick(Control<QPushButton>(*form.TabSheetVrijeLijn, "VrijeLijnAlsFiguur"),
                          Qt::LeftButton);
    }
};

// Horizontal dashes 30 long every 40, lines 20 apart: one tile of 40 x 20.
TEST_F(AsFigure, TheGridsPatternBecomesTheFigure) {
    Fill({"0", "0", "0", "0", "20", "30", "-10"});
    Open();
    EXPECT_TRUE(w.platform.messages.empty());
    app::TFigureTab& tab = *form.VrijFiguurTabSheet;
    EXPECT_EQ(form.PageControl1->currentWidget(), &tab);
    EXPECT_EQ(tab.Model().TileWidth(), 40);
    EXPECT_EQ(tab.Model().TileHeight(), 20);
    ASSERT_EQ(tab.Model().grid.RowCount(), 2);
    EXPECT_EQ(tab.Model().grid.Row(1), (std::vector<std::string>{"1", "0", "0", "30", "0"}));
    EXPECT_EQ(Control<QLineEdit>(tab, "NaamEditVrij")->text(), "Lat");

    // Over a figure of its own the question comes first; Cancel keeps that figure.
    Fill({"0", "0", "0", "0", "25", "30", "-10"});
    w.platform.messageAnswers = {Answer::Cancel};
    tab.Model().grid.SetCell(1, 1, "5");
    Open();
    EXPECT_EQ(w.platform.messages.size(), 1u);
    EXPECT_EQ(tab.Model().TileHeight(), 20);
}

TEST_F(AsFigure, TheButtonFitsBetweenTheNameAndVoorbeeld) {
    const QRect button =
        Control<QPushButton>(*form.TabSheetVrijeLijn, "VrijeLijnAlsFiguur")->geometry();
    EXPECT_GT(
        button.left(),
        Control<QLineEdit>(*form.TabSheetVrijeLijn, "NaamVrijeLijnArcering")->geometry().right());
    EXPECT_LT(
        button.right(),
        Control<QPushButton>(*form.TabSheetVrijeLijn, "VoorbeeldVrijeLijn")->geometry().left());
}

TEST_F(AsFigure, NoRepeatIsAnErrorBoxAndChangesNothing) {
    Fill({"30", "0", "0", "0", "10", "5", "-5"});
    Open();
    ASSERT_EQ(w.platform.messages.size(), 1u);
    EXPECT_EQ(w.platform.messages[0].title, "Als figuur openen");
    EXPECT_FALSE(form.VrijFiguurTabSheet->Model().HasFigure());
}

}  // namespace
}  // namespace murvex::test
