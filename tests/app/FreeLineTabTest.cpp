// The tab "Vrije lijnarceringen": controls, the grid and its editing, writing, reading and help.
#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <QUrl>

#include "AppTestSupport.h"
#include "HatchReader.h"
#include "Msg.h"
#include "PatternFile.h"
#include "TempDir.h"
#include "TextGridModel.h"
#include "WindowHandles.h"
#include "help/HelpPage.h"

namespace murvex::test {
namespace {

class FreeLineTab : public ::testing::Test {
  protected:
    ShownMainForm w;
    TempDir dir;
    app::TMainForm& form = *w.form;
    TextGrid& grid = GridModelOf(*form.TabSheetVrijeLijn, "LijnGrid")->Grid();

    void SetUp() override { form.PageControl1->setCurrentWidget(form.TabSheetVrijeLijn); }

    QString Shown(int row, int col) const {
        return GridModelOf(*form.TabSheetVrijeLijn, "LijnGrid")
            ->index(row - 1, col - 1)
            .data()
            .toString();
    }
    QString NumberShown(int row) const {
        return GridModelOf(*form.TabSheetVrijeLijn, "LijnGrid")
            ->headerData(row - 1, Qt::Vertical)
            .toString();
    }
    void Click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    void MakeCurrent(int row, int col) {
        Control<QTableView>(*form.TabSheetVrijeLijn, "LijnGrid")
            ->setCurrentIndex(
                GridModelOf(*form.TabSheetVrijeLijn, "LijnGrid")->index(row - 1, col - 1));
    }
    // Types the keys one by one into whatever holds the focus, as a user does.
    void Type(const QString& keys) {
        for (const QChar c : keys) {
            QWidget* target = QApplication::focusWidget();
            ASSERT_NE(target, nullptr);
            QTest::keyClick(target, c.toLatin1());
        }
    }
    // The editor writes its text once the event loop runs again.
    void PressEnter() {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    // Fills data rows through the buttons and typing, the way a user would.
    void Fill(const std::vector<std::vector<QString>>& rows) {
        for (std::size_t r = 0; r < rows.size(); ++r) {
            if (r > 0) {
                MakeCurrent(static_cast<int>(r), 1);
                Click(Control<QToolButton>(*form.TabSheetVrijeLijn, "VrijLijnPlus"));
            }
            for (std::size_t c = 0; c < rows[r].size(); ++c) {
                GridModelOf(*form.TabSheetVrijeLijn, "LijnGrid")
                    ->setData(GridModelOf(*form.TabSheetVrijeLijn, "LijnGrid")
                                  ->index(static_cast<int>(r), static_cast<int>(c)),
                              rows[r][c]);
            }
        }
    }
};

TEST_F(FreeLineTab, ControlsAreInPlaceWithTheirTextsAndHints) {
    EXPECT_EQ(form.PageControl1->tabText(1), "Vrije lijnarceringen");
    struct Place {
        QWidget* widget;
        QRect rect;
        const char* hint;
    };
    const Place places[] = {
        {Control<QToolButton>(*form.TabSheetVrijeLijn, "VrijLijnPlus"), QRect(10, 12, 23, 22),
         "Regel toevoegen"},
        {Control<QToolButton>(*form.TabSheetVrijeLijn, "VrijLijnMin"), QRect(34, 12, 23, 22),
         "Regel wissen"},
        {Control<QToolButton>(*form.TabSheetVrijeLijn, "VrijeLijnHelp"), QRect(62, 12, 23, 22),
         "Hoe zit een PAT bestand inelkaar?"},
        {Control<QToolButton>(*form.TabSheetVrijeLijn, "VrijeLijnOpenHatch"), QRect(90, 12, 23, 22),
         "Hatch openen"},
        {Control<QTableView>(*form.TabSheetVrijeLijn, "LijnGrid"), QRect(8, 34, 620, 337), ""},
        {Control<QLineEdit>(*form.TabSheetVrijeLijn, "BeschrijvingVrijeLijn"),
         QRect(285, 378, 343, 21),
         "Beschrijving van de arcering, na de naam geschreven: *NAAM, beschrijving"},
        {Control<QComboBox>(*form.TabSheetVrijeLijn, "VrijeLijnType"), QRect(8, 410, 100, 21),
         "Type arcering"},
        {Control<QComboBox>(*form.TabSheetVrijeLijn, "VrijeLijnUnits"), QRect(110, 410, 100, 21),
         "Type Units"},
        {Control<QLineEdit>(*form.TabSheetVrijeLijn, "NaamVrijeLijnArcering"),
         QRect(285, 410, 100, 21), "Naam van de arcering"},
        {Control<QPushButton>(*form.TabSheetVrijeLijn, "VrijeLijnMaakHatch"),
         QRect(560, 408, 70, 25), ""},
    };
    for (const Place& p : places) {
        ASSERT_NE(p.widget, nullptr);
        SCOPED_TRACE(p.widget->objectName().toStdString());
        EXPECT_EQ(p.widget->parentWidget(), form.TabSheetVrijeLijn);
        EXPECT_EQ(p.widget->geometry(), p.rect);
        EXPECT_EQ(p.widget->toolTip(), p.hint);
        EXPECT_EQ(form.findChild<QWidget*>(p.widget->objectName()), p.widget);
    }
    for (QToolButton* b : {Control<QToolButton>(*form.TabSheetVrijeLijn, "VrijLijnPlus"),
                           Control<QToolButton>(*form.TabSheetVrijeLijn, "VrijLijnMin"),
                           Control<QToolButton>(*form.TabSheetVrijeLijn, "VrijeLijnHelp"),
                           Control<QToolButton>(*form.TabSheetVrijeLijn, "VrijeLijnOpenHatch")}) {
        EXPECT_TRUE(b->autoRaise());
        EXPECT_FALSE(b->icon().isNull());
    }
    EXPECT_EQ(Control<QLabel>(*form.TabSheetVrijeLijn, "LabelNameHatchLine")->text(),
              "Naam Hatch:");
    EXPECT_EQ(Control<QLabel>(*form.TabSheetVrijeLijn, "LabelNameHatchLine")->pos(),
              QPoint(220, 412));
    // The labels end before their edits start.
    EXPECT_LE(Control<QLabel>(*form.TabSheetVrijeLijn, "LabelNameHatchLine")->geometry().right(),
              284);
    EXPECT_LE(
        Control<QLabel>(*form.TabSheetVrijeLijn, "LabelBeschrijvingVrijeLijn")->geometry().right(),
        284);
    EXPECT_EQ(Control<QLineEdit>(*form.TabSheetVrijeLijn, "NaamVrijeLijnArcering")->text(),
              "naam arcering");
    EXPECT_EQ(Control<QPushButton>(*form.TabSheetVrijeLijn, "VrijeLijnMaakHatch")->text(),
              "Maak Hatch");
    EXPECT_EQ(Control<QAction>(*form.TabSheetVrijeLijn, "OpenHatchAction")->toolTip(),
              "Hatchfile openen");
    EXPECT_TRUE(Control<QAction>(*form.TabSheetVrijeLijn, "OpenHatchAction")->isEnabled());
}

TEST_F(FreeLineTab, CombosOfferTheirItemsAndAcceptTypedText) {
    const std::pair<QComboBox*, QStringList> combos[] = {
        {Control<QComboBox>(*form.TabSheetVrijeLijn, "VrijeLijnType"), {"MODEL", "DRAFTING"}},
        {Control<QComboBox>(*form.TabSheetVrijeLijn, "VrijeLijnUnits"), {"MM", "INCH"}},
    };
    for (const auto& [combo, items] : combos) {
        SCOPED_TRACE(combo->objectName().toStdString());
        ASSERT_EQ(combo->count(), items.size());
        for (int i = 0; i < items.size(); ++i)
            EXPECT_EQ(combo->itemText(i), items[i]);
        EXPECT_EQ(combo->currentText(), items[0]);
        EXPECT_TRUE(combo->isEditable());
    }
}

TEST_F(FreeLineTab, GridStartsWithHeadersAndOneNumberedRow) {
    const QStringList headers{"Hoek",    "X start",  "Y start", "X shift",
                              "Y shift", "Pen Down", "Pen Up"};
    ASSERT_EQ(GridModelOf(*form.TabSheetVrijeLijn, "LijnGrid")->columnCount(), 7);
    for (int c = 0; c < 7; ++c) {
        EXPECT_EQ(GridModelOf(*form.TabSheetVrijeLijn, "LijnGrid")
                      ->headerData(c, Qt::Horizontal)
                      .toString(),
                  headers[c]);
    }
    EXPECT_EQ(grid.Cell(0, 0), "Nr.");
    EXPECT_EQ(GridModelOf(*form.TabSheetVrijeLijn, "LijnGrid")->rowCount(), 1);
    EXPECT_EQ(NumberShown(1), "1");
    EXPECT_EQ(Control<QTableView>(*form.TabSheetVrijeLijn, "LijnGrid")->verticalHeader()->width(),
              30);
    EXPECT_EQ(Control<QTableView>(*form.TabSheetVrijeLijn, "LijnGrid")->rowHeight(0), 20);
    EXPECT_EQ(Control<QTableView>(*form.TabSheetVrijeLijn, "LijnGrid")
                  ->horizontalHeader()
                  ->sectionResizeMode(0),
              QHeaderView::Interactive);
    EXPECT_EQ(Control<QTableView>(*form.TabSheetVrijeLijn, "LijnGrid")->selectionMode(),
              QAbstractItemView::SingleSelection);
    EXPECT_TRUE(GridModelOf(*form.TabSheetVrijeLijn, "LijnGrid")
                    ->flags(GridModelOf(*form.TabSheetVrijeLijn, "LijnGrid")->index(0, 6)) &
                Qt::ItemIsEditable);
}

TEST_F(FreeLineTab, ResizingAColumnSurvivesAddingAndDeletingRows) {
    Control<QTableView>(*form.TabSheetVrijeLijn, "LijnGrid")
        ->horizontalHeader()
        ->resizeSection(2, 120);
    Click(Control<QToolButton>(*form.TabSheetVrijeLijn, "VrijLijnPlus"));
    Click(Control<QToolButton>(*form.TabSheetVrijeLijn, "VrijLijnMin"));
    EXPECT_EQ(Control<QTableView>(*form.TabSheetVrijeLijn, "LijnGrid")->columnWidth(2), 120);
}

TEST_F(FreeLineTab, AddInsertsAboveTheCurrentRowOrAppendsBelowTheLast) {
    Fill({{"a"}, {"b"}, {"c"}, {"d"}});
    MakeCurrent(2, 3);
    Click(Control<QToolButton>(*form.TabSheetVrijeLijn, "VrijLijnPlus"));
    ASSERT_EQ(GridModelOf(*form.TabSheetVrijeLijn, "LijnGrid")->rowCount(), 5);
    const QStringList hoek{"a", "", "b", "c", "d"};
    for (int r = 1; r <= 5; ++r) {
        EXPECT_EQ(Shown(r, 1), hoek[r - 1]);
        EXPECT_EQ(NumberShown(r), QString::number(r));
    }
    EXPECT_EQ(Control<QTableView>(*form.TabSheetVrijeLijn, "LijnGrid")->currentIndex(),
              GridModelOf(*form.TabSheetVrijeLijn, "LijnGrid")->index(1, 2));

    MakeCurrent(5, 1);
    Click(Control<QToolButton>(*form.TabSheetVrijeLijn, "VrijLijnPlus"));
    EXPECT_EQ(GridModelOf(*form.TabSheetVrijeLijn, "LijnGrid")->rowCount(), 6);
    EXPECT_EQ(Shown(6, 1), "");
    EXPECT_EQ(Shown(5, 1), "d");
    EXPECT_EQ(Control<QTableView>(*form.TabSheetVrijeLijn, "LijnGrid")->currentIndex().row(), 4);
}

TEST_F(FreeLineTab, DeleteRemovesTheCurrentRowButNeverTheLast) {
    Fill({{"a"}, {"b"}, {"c"}});
    MakeCurrent(2, 1);
    Click(Control<QToolButton>(*form.TabSheetVrijeLijn, "VrijLijnMin"));
    ASSERT_EQ(GridModelOf(*form.TabSheetVrijeLijn, "LijnGrid")->rowCount(), 2);
    EXPECT_EQ(Shown(1, 1), "a");
    EXPECT_EQ(Shown(2, 1), "c");
    EXPECT_EQ(NumberShown(2), "2");
    Click(Control<QToolButton>(*form.TabSheetVrijeLijn, "VrijLijnMin"));
    Click(Control<QToolButton>(*form.TabSheetVrijeLijn, "VrijLijnMin"));
    EXPECT_EQ(GridModelOf(*form.TabSheetVrijeLijn, "LijnGrid")->rowCount(), 1);
    EXPECT_EQ(grid.RowCount(), 2);
}

TEST_F(FreeLineTab, TypingInACellKeepsACommaOnlyAfterTheFirstKey) {
    MakeCurrent(1, 1);
    Control<QTableView>(*form.TabSheetVrijeLijn, "LijnGrid")->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), Control<QTableView>(*form.TabSheetVrijeLijn, "LijnGrid"))
        << (QApplication::focusWidget() ? QApplication::focusWidget()->metaObject()->className()
                                        : "none");
    Type("6,5");
    PressEnter();
    EXPECT_EQ(grid.Cell(1, 1), "6,5");

    MakeCurrent(1, 2);
    Control<QTableView>(*form.TabSheetVrijeLijn, "LijnGrid")->setFocus();
    Type(",5");
    PressEnter();
    EXPECT_EQ(grid.Cell(2, 1), ".5");
}

// A speed button leaves the cell editor open; its text must reach the grid before the rows move,
// and must not land in the row that moved under the editor.
TEST_F(FreeLineTab, AnOpenCellIsWrittenBeforeARowIsDeleted) {
    Fill({{"a"}, {"b"}});
    MakeCurrent(1, 2);
    Control<QTableView>(*form.TabSheetVrijeLijn, "LijnGrid")->setFocus();
    Type("7");
    ASSERT_NE(QApplication::focusWidget(),
              Control<QTableView>(*form.TabSheetVrijeLijn, "LijnGrid"));  // the editor is open
    Click(Control<QToolButton>(*form.TabSheetVrijeLijn, "VrijLijnMin"));
    EXPECT_EQ(GridModelOf(*form.TabSheetVrijeLijn, "LijnGrid")->rowCount(), 1);
    EXPECT_EQ(grid.Cell(1, 1), "b");
    EXPECT_EQ(grid.Cell(2, 1), "");
    QTest::qWait(10);
    EXPECT_EQ(grid.Cell(2, 1), "");
}

TEST_F(FreeLineTab, MaakHatchWritesTheRowsAsTheyStand) {
    Fill({{"45", "0", "0", "0", "3.175"}, {"90", "", "5", "", "10"}, {"", "1"}});
    Control<QComboBox>(*form.TabSheetVrijeLijn, "VrijeLijnUnits")->setEditText("cm");
    Control<QLineEdit>(*form.TabSheetVrijeLijn, "NaamVrijeLijnArcering")->setText("Caf\u00e9");
    Control<QLineEdit>(*form.TabSheetVrijeLijn, "BeschrijvingVrijeLijn")->setText("tegels");
    const std::string file = dir.File("vrij.pat");
    w.platform.dialogAnswers = {file};
    Click(Control<QPushButton>(*form.TabSheetVrijeLijn, "VrijeLijnMaakHatch"));
    EXPECT_EQ(ReadText(file),
              JoinCrLf(LineList{";%UNITS=cm", ";", "*Caf\xe9, tegels", ";%TYPE=MODEL",
                                "45, 0, 0, 0, 3.175", "90, 5, 10", "", ";"}));
    ASSERT_EQ(w.platform.dialogs.size(), 1u);
    EXPECT_EQ(w.platform.dialogs[0].dialog.title, "Save");
    EXPECT_EQ(w.platform.dialogs[0].owner, form.Handle());
    EXPECT_TRUE(w.platform.messages.empty());
}

TEST_F(FreeLineTab, MaakHatchIntoAMissingFolderShowsTheApplicationError) {
    w.platform.dialogAnswers = {dir.File("nergens/vrij.pat")};
    Click(Control<QPushButton>(*form.TabSheetVrijeLijn, "VrijeLijnMaakHatch"));
    ASSERT_EQ(w.platform.applicationErrors.size(), 1u);
    EXPECT_EQ(w.platform.applicationErrors[0].rfind("Cannot ", 0), 0u);
}

TEST_F(FreeLineTab, OpenReadsTheFileIntoGridAndControls) {
    Fill({{"x1"}, {"x2"}, {"x3"}, {"x4"}});
    const std::string file = dir.File("ten.pat");
    WriteText(file, JoinCrLf(LineList{";%UNITS=inch", ";", "*Tegels, wall tiles", ";;drawn by hand",
                                      ";%TYPE=DRAFTING", "0, 0, 0, 0, 6.35",
                                      "90,0,0 , 0,6.35, 6.35, -6.35, 1, -1", ";", "*Second",
                                      "45, 0, 0, 0, 1"}));
    w.platform.dialogAnswers = {file};
    w.platform.messageAnswers = {Answer::No};  // Nee: the typed rows need not be saved
    Click(Control<QToolButton>(*form.TabSheetVrijeLijn, "VrijeLijnOpenHatch"));
    w.platform.messages.erase(w.platform.messages.begin());

    ASSERT_EQ(w.platform.dialogs.size(), 1u);
    const FileDialog& shown = w.platform.dialogs[0].dialog;
    EXPECT_EQ(shown.title, "Open");
    EXPECT_EQ(shown.filterName, "hatchfiles");
    EXPECT_EQ(shown.filterMask, "*.pat");
    EXPECT_TRUE(shown.pathMustExist);
    EXPECT_TRUE(shown.fileMustExist);

    ASSERT_EQ(GridModelOf(*form.TabSheetVrijeLijn, "LijnGrid")->rowCount(), 2);
    const QStringList row2{"90", "0", "0", "0", "6.35", "6.35", "-6.35"};
    for (int c = 1; c <= 7; ++c)
        EXPECT_EQ(Shown(2, c), row2[c - 1]);
    // The dash values past "Pen Up" in columns of their own.
    const QAbstractItemModel* model = GridModelOf(*form.TabSheetVrijeLijn, "LijnGrid");
    ASSERT_EQ(model->columnCount(), 9);
    EXPECT_EQ(model->headerData(7, Qt::Horizontal).toString(), "Pen Down 2");
    EXPECT_EQ(Shown(2, 8), "1");
    EXPECT_EQ(Shown(2, 9), "-1");
    EXPECT_EQ(Shown(1, 5), "6.35");
    EXPECT_EQ(Shown(1, 6), "");
    EXPECT_EQ(NumberShown(2), "2");
    EXPECT_EQ(Control<QComboBox>(*form.TabSheetVrijeLijn, "VrijeLijnUnits")->currentText(), "INCH");
    EXPECT_EQ(Control<QComboBox>(*form.TabSheetVrijeLijn, "VrijeLijnUnits")->currentIndex(), 1);
    EXPECT_EQ(Control<QComboBox>(*form.TabSheetVrijeLijn, "VrijeLijnType")->currentText(),
              "DRAFTING");
    EXPECT_EQ(Control<QLineEdit>(*form.TabSheetVrijeLijn, "NaamVrijeLijnArcering")->text(),
              "Tegels");
    EXPECT_EQ(Control<QLineEdit>(*form.TabSheetVrijeLijn, "BeschrijvingVrijeLijn")->text(),
              "wall tiles");

    ASSERT_EQ(w.platform.messages.size(), 1u);
    EXPECT_EQ(w.platform.messages[0].title, "Pas op!");
    EXPECT_EQ(w.platform.messages[0].text, freelines::kMultipleText);
    EXPECT_EQ(w.platform.messages[0].style, style::kError);
    EXPECT_EQ(w.platform.messages[0].owner, app::ApplicationHandle());
}

TEST_F(FreeLineTab, AVanishedFileLeavesTheTabAlone) {
    Fill({{"x1"}, {"x2"}});
    Control<QComboBox>(*form.TabSheetVrijeLijn, "VrijeLijnUnits")->setEditText("cm");
    w.platform.dialogAnswers = {dir.File("weg.pat")};
    w.platform.messageAnswers = {Answer::No};
    Click(Control<QToolButton>(*form.TabSheetVrijeLijn, "VrijeLijnOpenHatch"));
    w.platform.messages.erase(w.platform.messages.begin());
    ASSERT_EQ(w.platform.messages.size(), 1u);
    EXPECT_EQ(w.platform.messages[0].text, "Fout bij lezen van hatchbestand");
    EXPECT_EQ(w.platform.messages[0].title, "Error");
    EXPECT_EQ(GridModelOf(*form.TabSheetVrijeLijn, "LijnGrid")->rowCount(), 2);
    EXPECT_EQ(Shown(2, 1), "x2");
    EXPECT_EQ(Control<QComboBox>(*form.TabSheetVrijeLijn, "VrijeLijnUnits")->currentText(), "cm");
}

TEST_F(FreeLineTab, WrittenAndOpenedAgainGivesTheSameCells) {
    Fill({{"0", "0", "0", "0", "6.35", "6.35", "-6.35"}, {"90", "1", "2", "0", "3"}});
    Control<QComboBox>(*form.TabSheetVrijeLijn, "VrijeLijnType")->setCurrentIndex(1);
    const std::string file = dir.File("terug.pat");
    w.platform.dialogAnswers = {file, file};
    Click(Control<QPushButton>(*form.TabSheetVrijeLijn, "VrijeLijnMaakHatch"));
    Click(Control<QToolButton>(*form.TabSheetVrijeLijn,
                               "VrijLijnPlus"));  // a third, empty row that the file does not hold
    Control<QComboBox>(*form.TabSheetVrijeLijn, "VrijeLijnType")->setCurrentIndex(0);
    w.platform.messageAnswers = {Answer::No};  // Nee: the added row is a change since the save
    Click(Control<QToolButton>(*form.TabSheetVrijeLijn, "VrijeLijnOpenHatch"));
    w.platform.messages.erase(w.platform.messages.begin());
    ASSERT_EQ(GridModelOf(*form.TabSheetVrijeLijn, "LijnGrid")->rowCount(), 2);
    EXPECT_EQ(Shown(1, 7), "-6.35");
    EXPECT_EQ(Shown(2, 5), "3");
    EXPECT_EQ(Control<QComboBox>(*form.TabSheetVrijeLijn, "VrijeLijnType")->currentText(),
              "DRAFTING");
    EXPECT_TRUE(w.platform.messages.empty());
}

TEST_F(FreeLineTab, HelpOpensTheLocalPage) {
    Click(Control<QToolButton>(*form.TabSheetVrijeLijn, "VrijeLijnHelp"));
    ASSERT_EQ(w.platform.openedUrls.size(), 1u);
    const QUrl url(QString::fromStdString(w.platform.openedUrls[0]));
    ASSERT_TRUE(url.isLocalFile()) << w.platform.openedUrls[0];
    QFile page(url.toLocalFile());
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(page.readAll());
    EXPECT_TRUE(text.contains("Hoe zit een PAT bestand in elkaar?"));
    EXPECT_TRUE(text.contains("<svg"));
    EXPECT_TRUE(w.platform.messages.empty());
}

TEST_F(FreeLineTab, HelpWithoutABrowserTellsWhereThePageIs) {
    w.platform.urlOpens = false;
    Click(Control<QToolButton>(*form.TabSheetVrijeLijn, "VrijeLijnHelp"));
    ASSERT_EQ(w.platform.openedUrls.size(), 1u);
    ASSERT_EQ(w.platform.messages.size(), 1u);
    const QString path = QUrl(QString::fromStdString(w.platform.openedUrls[0])).toLocalFile();
    EXPECT_TRUE(QString::fromStdString(w.platform.messages[0].text).endsWith("\n" + path));
    EXPECT_EQ(w.platform.messages[0].owner, form.Handle());
}

// Ctrl+Tab leaves the grid (from a cell or its open editor, which keeps its text); Tab moves
// between the cells.
TEST_F(FreeLineTab, CtrlTabLeavesTheGridAndTabMovesBetweenCells) {
    QTableView* gridView = Control<QTableView>(*form.TabSheetVrijeLijn, "LijnGrid");
    MakeCurrent(1, 1);
    gridView->setFocus();
    QTest::keyClick(gridView, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), gridView);
    EXPECT_EQ(gridView->currentIndex().column(), 1);

    QTest::keyClick(gridView, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(),
              Control<QComboBox>(*form.TabSheetVrijeLijn, "VrijeLijnType"));

    gridView->setFocus();
    MakeCurrent(1, 1);
    Type("5");
    ASSERT_TRUE(gridView->isAncestorOf(QApplication::focusWidget()));  // the open editor
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab,
                    Qt::ControlModifier | Qt::ShiftModifier);
    QWidget* left = QApplication::focusWidget();
    ASSERT_NE(left, nullptr);
    EXPECT_NE(left, gridView);
    EXPECT_FALSE(gridView->isAncestorOf(left));
    EXPECT_NE(left, Control<QComboBox>(*form.TabSheetVrijeLijn,
                                       "VrijeLijnType"));  // backwards: before the grid
    EXPECT_EQ(Shown(1, 1), "5");

    QTest::keyClick(Control<QComboBox>(*form.TabSheetVrijeLijn, "VrijeLijnType"), Qt::Key_Backtab,
                    Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(form.PageControl1->currentWidget(), form.MetselverbandenTab)
        << "Ctrl+Shift+Tab outside the grid stays the tab control's";
}

TEST(HelpPage, PrefersTheCopyBesideTheProgram) {
    TempDir dir;
    std::filesystem::create_directories(dir.Path() / "bin" / "help");
    WriteText((dir.Path() / "bin" / "help" / "patroonbestand.html").string(), "beside");
    const QString programDir = QString::fromStdString((dir.Path() / "bin").string());
    EXPECT_EQ(
        QUrl(app::PatternFileHelpUrl(programDir)).toLocalFile(),
        QString::fromStdString((dir.Path() / "bin" / "help" / "patroonbestand.html").string()));

    std::filesystem::remove_all(dir.Path() / "bin" / "help");
    std::filesystem::create_directories(dir.Path() / "share" / "murvex" / "help");
    WriteText((dir.Path() / "share" / "murvex" / "help" / "patroonbestand.html").string(), "x");
    EXPECT_EQ(QUrl(app::PatternFileHelpUrl(programDir)).toLocalFile(),
              QString::fromStdString(
                  (dir.Path() / "share" / "murvex" / "help" / "patroonbestand.html").string()));
}

}  // namespace
}  // namespace murvex::test
