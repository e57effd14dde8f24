// "Als figuur openen" on the free line tab: the grid's pattern as a tile in the figure tab, or
// why not.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "AppTestSupport.h"
#include "FigureTab.h"
#include "FreeLineTab.h"
#include "TextGridModel.h"

namespace murvex::test {
namespace {

// The grid's one row, then the button.
void OpenAsFigure(app::TFreeLineTab& tab, const std::vector<QString>& row) {
    auto* model = GridModelOf(tab, "LijnGrid");
    for (std::size_t c = 0; c < row.size(); ++c)
        model->setData(model->index(0, static_cast<int>(c)), row[c]);
    Control<QLineEdit>(tab, "NaamVrijeLijnArcering")->setText("Lat");
    QTest::mouseClick(Control<QPushButton>(tab, "VrijeLijnAlsFiguur"), Qt::LeftButton);
}

// Dashes of 30 every 40 on lines 20 apart: a tile of 40 x 20 with one row, named after them;
// over that figure, not saved, the question comes first and Cancel keeps it.
TEST(AsFigure, TheGridsPatternBecomesTheFigure) {
    ShownMainForm w;
    app::TFigureTab& figure = *w.form->VrijFiguurTabSheet;
    OpenAsFigure(*w.form->TabSheetVrijeLijn, {"0", "0", "0", "0", "20", "30", "-10"});
    EXPECT_TRUE(w.platform.messages.empty());
    EXPECT_EQ(w.form->PageControl1->currentWidget(), &figure);
    EXPECT_EQ(figure.Model().TileWidth(), 40);
    EXPECT_EQ(figure.Model().TileHeight(), 20);
    ASSERT_EQ(figure.Model().grid.RowCount(), 2);
    EXPECT_EQ(figure.Model().grid.Row(1), (std::vector<std::string>{"1", "0", "0", "30", "0"}));
    EXPECT_EQ(Control<QLineEdit>(figure, "NaamEditVrij")->text(), "Lat");

    w.platform.messageAnswers = {Answer::Cancel};
    OpenAsFigure(*w.form->TabSheetVrijeLijn, {"0", "0", "0", "0", "25", "30", "-10"});
    EXPECT_EQ(w.platform.messages.size(), 1u);
    EXPECT_EQ(figure.Model().TileHeight(), 20);
}

TEST(AsFigure, NoRepeatIsAnErrorBoxAndChangesNothing) {
    ShownMainForm w;
    OpenAsFigure(*w.form->TabSheetVrijeLijn, {"30", "0", "0", "0", "10", "5", "-5"});
    ASSERT_EQ(w.platform.messages.size(), 1u);
    EXPECT_EQ(w.platform.messages[0].title, "Als figuur openen");
    EXPECT_FALSE(w.form->VrijFiguurTabSheet->Model().HasFigure());
}

}  // namespace
}  // namespace murvex::test
