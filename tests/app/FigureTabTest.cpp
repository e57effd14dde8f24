// The tab "Vrij figuur" at window level: its controls, and the wiring of its handlers to the
// figure library (the rules themselves are tested in tests/figure).
#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QWheelEvent>
#include <filesystem>

#include "AppTestSupport.h"
#include "Choices.h"
#include "Cursors.h"
#include "ErrorForm.h"
#include "FigureCanvas.h"
#include "FigureTab.h"
#include "InputRubberForm.h"
#include "NewVrijHatch.h"
#include "PreviewForm.h"
#include "ReaderNotice.h"
#include "TempDir.h"
#include "TextGridModel.h"
#include "TypedInput.h"

namespace murvex::test {
namespace {

class FigureTab : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { app::RegisterDrawingCursors(); }

    ShownMainForm w;
    TempDir dir;
    app::TMainForm& form = *w.form;
    app::TFigureTab& tab = *form.VrijFiguurTabSheet;

    void SetUp() override { form.PageControl1->setCurrentWidget(&tab); }

    QString Shown(int row, int col) const {
        return GridModelOf(tab, "FiguurGrid")->index(row - 1, col - 1).data().toString();
    }
    QStringList ShownRow(int row) const {
        return {Shown(row, 1), Shown(row, 2), Shown(row, 3), Shown(row, 4)};
    }
    // "Nieuw", answering the dialog with these sizes and OK.
    void NewFigure(const QString& width, const QString& height) {
        WhenModalOpens([&](QWidget* modal) {
            auto* dialog = qobject_cast<app::TNewVrijHatch*>(modal);
            ASSERT_NE(dialog, nullptr);
            dialog->BreedteEdit->setText(width);
            dialog->HoogteEdit->setText(height);
            dialog->accept();
        });
        QTest::mouseClick(Control<QPushButton>(tab, "NieuwFiguur"), Qt::LeftButton);
        // The main window is the active one again, as after any dialog.
        QApplication::setActiveWindow(&form);
    }
    void MoveAndClick(QPoint p) {
        QTest::mouseMove(Control<app::FigureCanvas>(tab, "HatchImage"), p);
        QTest::mouseClick(Control<app::FigureCanvas>(tab, "HatchImage"), Qt::LeftButton, {}, p);
    }
    // The commands a figure enables.
    std::vector<bool> FigureCommandsEnabled() const {
        return {Control<QAction>(tab, "AddfiguurLijn")->isEnabled(),
                Control<QAction>(tab, "DeleteFiguurLijnAction")->isEnabled(),
                Control<QAction>(tab, "SafeVrijFiguurlist")->isEnabled(),
                Control<app::FigureCanvas>(tab, "HatchImage")->isEnabled(),
                Control<QPushButton>(tab, "RefreschButton")->isEnabled(),
                Control<QAction>(tab, "OpenPictureAction")->isEnabled()};
    }
};

TEST_F(FigureTab, ControlsAreInPlaceWithTheirTextsHintsAndStartStates) {
    EXPECT_EQ(form.PageControl1->tabText(2), "Vrij figuur");
    struct Place {
        QWidget* widget;
        QRect rect;  // an empty rect: only the top left corner is given
        const char* hint;
    };
    const Place places[] = {
        {Control<QPushButton>(tab, "NieuwFiguur"), {4, 8, 75, 22}, ""},
        {Control<QToolButton>(tab, "SpeedbuttonLoadImage"),
         {82, 8, 23, 22},
         "Achtergrondafbeelding openen"},
        {Control<QToolButton>(tab, "SpeedButton1DeleteBackgroundImage"),
         {106, 8, 23, 22},
         "Achtergrondafbeelding wissen"},
        {Control<QLabel>(tab, "XYPos"), {132, 8, 173, 22}, ""},
        {Control<QToolButton>(tab, "AddFiguurLijnSpeedButton"), {322, 8, 23, 22}, "Lijn toevoegen"},
        {Control<QToolButton>(tab, "DeleteFiguurLijnSpeedButton"), {346, 8, 23, 22}, "Lijn wissen"},
        {Control<QToolButton>(tab, "SpeedButtonSaveCoordinaten"),
         {370, 8, 23, 22},
         "Oplaan coördinatenlijst"},
        {Control<QToolButton>(tab, "SpeedButtonOpenCoordinaten"),
         {393, 8, 23, 22},
         "Coördinatenlijst openen"},
        {Control<QToolButton>(tab, "HelpVrijeFiguurSpeedButton"),
         {420, 8, 23, 22},
         "Uitleg Vrij Figuur arcering"},
        {Control<QFrame>(tab, "DP"), {4, 36, 302, 302}, ""},
        {Control<QTableView>(tab, "FiguurGrid"), {318, 34, 309, 344}, ""},
        {Control<QToolButton>(tab, "SpeedButtonSelectieMode"), {128, 344, 23, 22}, "Selectiemode"},
        {Control<QToolButton>(tab, "SpeedButtonTekenmode"), {152, 344, 23, 22}, "Tekenen"},
        {Control<QCheckBox>(tab, "CheckBoxSnap"), {QPoint(4, 346), QSize()}, ""},
        {Control<QPushButton>(tab, "RefreschButton"), {232, 342, 75, 25}, ""},
        {Control<QCheckBox>(tab, "DikkePen"), {QPoint(4, 368), QSize()}, ""},
        {Control<QComboBox>(tab, "VrijeFiguurType"), {8, 410, 100, 21}, "Type arcering"},
        {Control<QComboBox>(tab, "VrijeFiguurUnits"), {110, 410, 100, 21}, "Type Units"},
        {Control<QLabel>(tab, "LabelHatchName"), {QPoint(220, 412), QSize()}, ""},
        {Control<QLineEdit>(tab, "NaamEditVrij"), {285, 410, 100, 21}, ""},
        {Control<QComboBox>(tab, "ComboBoxNaukeurigheid"), {470, 410, 80, 21}, ""},
        {Control<QPushButton>(tab, "ButtonCreateHatch"), {560, 408, 70, 25}, ""},
    };
    for (const Place& p : places) {
        ASSERT_NE(p.widget, nullptr);
        SCOPED_TRACE(p.widget->objectName().toStdString());
        EXPECT_EQ(p.widget->parentWidget(), &tab);
        if (p.rect.isEmpty()) {
            EXPECT_EQ(p.widget->pos(), p.rect.topLeft());
        } else {
            EXPECT_EQ(p.widget->geometry(), p.rect);
        }
        EXPECT_EQ(p.widget->toolTip(), QString::fromUtf8(p.hint));
        EXPECT_EQ(form.findChild<QWidget*>(p.widget->objectName()), p.widget);
    }
    // The canvas and the picture fill the panel inside its bevel.
    EXPECT_EQ(Control<app::FigureCanvas>(tab, "HatchImage")->parentWidget(),
              Control<QFrame>(tab, "DP"));
    EXPECT_EQ(Control<app::FigureCanvas>(tab, "HatchImage")->geometry(), QRect(1, 1, 300, 300));
    EXPECT_EQ(Control<QLabel>(tab, "BackGroundImage")->geometry(), QRect(1, 1, 300, 300));

    const std::pair<QAbstractButton*, const char*> texts[] = {
        {Control<QPushButton>(tab, "NieuwFiguur"), "Nieuw"},
        {Control<QCheckBox>(tab, "CheckBoxSnap"), "Snap On"},
        {Control<QPushButton>(tab, "RefreschButton"), "Refresch"},
        {Control<QCheckBox>(tab, "DikkePen"), "Dikke schermpen"},
        {Control<QPushButton>(tab, "ButtonCreateHatch"), "Maak hatch"},
    };
    for (const auto& [button, text] : texts)
        EXPECT_EQ(button->text(), text);
    EXPECT_EQ(Control<QLabel>(tab, "LabelHatchName")->text(), "Naam Hatch:");
    EXPECT_EQ(Control<QLabel>(tab, "LabelNauwkeurigheid")->text(), "Nauwkeurigheid:");
    EXPECT_EQ(Control<QLineEdit>(tab, "NaamEditVrij")->text(), "naam arcering");
    EXPECT_EQ(Control<QLabel>(tab, "XYPos")->alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignRight);
    // The labels end before the controls they name.
    EXPECT_LT(Control<QLabel>(tab, "LabelHatchName")->geometry().right(), 285);
    // Below the grid, in this order and apart: the description and the library command's
    // whole text, at the grid's right end.
    const QWidget* const row[] = {Control<QTableView>(tab, "FiguurGrid"),
                                  Control<QLabel>(tab, "LabelBeschrijvingVrij"),
                                  Control<QLineEdit>(tab, "BeschrijvingEditVrij"),
                                  Control<QToolButton>(tab, "VrijFiguurAanBibliotheek"),
                                  Control<QPushButton>(tab, "ButtonCreateHatch")};
    for (int i = 2; i < 4; ++i)
        EXPECT_LT(row[i - 1]->geometry().right(), row[i]->x()) << i;
    for (const QWidget* w : {row[1], row[2], row[3]})
        EXPECT_TRUE(w->y() > row[0]->geometry().bottom() && w->geometry().bottom() < row[4]->y());
    EXPECT_EQ(row[3]->geometry().right(), row[0]->geometry().right());
    EXPECT_EQ(Control<QToolButton>(tab, "VrijFiguurAanBibliotheek")->text(),
              "Aan bibliotheek toevoegen...");
    EXPECT_GE(row[3]->width(), row[3]->sizeHint().width());
    // The accuracy label's text stands free of both its neighbours, descenders included.
    const QLabel& accuracy = *Control<QLabel>(tab, "LabelNauwkeurigheid");
    const QFontMetrics metrics(accuracy.font());
    const int textLeft = accuracy.geometry().right() - metrics.horizontalAdvance(accuracy.text());
    EXPECT_LE(accuracy.geometry().right(), 470 - 3);
    EXPECT_GE(textLeft, Control<QLineEdit>(tab, "NaamEditVrij")->geometry().right() + 3);
    EXPECT_GE(accuracy.height(), metrics.height());
    EXPECT_EQ(accuracy.font().pixelSize(),
              Control<QLabel>(tab, "LabelHatchName")->font().pixelSize())
        << accuracy.font().toString().toStdString();
    EXPECT_LT(Control<QCheckBox>(tab, "CheckBoxSnap")->geometry().right(), 128);
    const std::pair<QComboBox*, QStringList> combos[] = {
        {Control<QComboBox>(tab, "VrijeFiguurType"), {"MODEL", "DRAFTING"}},
        {Control<QComboBox>(tab, "VrijeFiguurUnits"), {"MM", "INCH"}},
        {Control<QComboBox>(tab, "ComboBoxNaukeurigheid"),
         {"Nauwkeurig", "Middel", "Laag", "Op maat"}},
    };
    for (const auto& [combo, items] : combos) {
        SCOPED_TRACE(combo->objectName().toStdString());
        ASSERT_EQ(combo->count(), items.size());
        for (int i = 0; i < items.size(); ++i)
            EXPECT_EQ(combo->itemText(i), items[i]);
        EXPECT_EQ(combo->currentIndex(), 0);
    }

    // At start-up: no figure, drawing mode with snapping, the thick pen, cursor 101.
    EXPECT_EQ(FigureCommandsEnabled(), std::vector<bool>(6, false));
    EXPECT_FALSE(Control<QAction>(tab, "DeleteBackGroundImageAction")->isEnabled());
    EXPECT_TRUE(Control<QAction>(tab, "OpenVrijfiguurList")->isEnabled());
    EXPECT_TRUE(Control<QAction>(tab, "HelpVrijeFiguurAction")->isEnabled());
    EXPECT_TRUE(Control<QCheckBox>(tab, "CheckBoxSnap")->isChecked());
    EXPECT_TRUE(Control<QCheckBox>(tab, "DikkePen")->isChecked());
    EXPECT_TRUE(Control<QToolButton>(tab, "SpeedButtonTekenmode")->isChecked());
    EXPECT_FALSE(Control<QToolButton>(tab, "SpeedButtonSelectieMode")->isChecked());
    EXPECT_EQ(Control<app::FigureCanvas>(tab, "HatchImage")->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(GridModelOf(tab, "FiguurGrid")->headerData(0, Qt::Horizontal).toString(), "X start");
    EXPECT_EQ(GridModelOf(tab, "FiguurGrid")->rowCount(), 1);
    EXPECT_EQ(&GridModelOf(tab, "FiguurGrid")->Grid(), &tab.Model().grid);
}

TEST_F(FigureTab, NewFigureSizesThePanelAndTheDialogKeepsItsTexts) {
    NewFigure("600", "300");
    EXPECT_EQ(Control<QFrame>(tab, "DP")->size(), QSize(304, 154));
    EXPECT_EQ(Control<app::FigureCanvas>(tab, "HatchImage")->geometry(), QRect(1, 1, 302, 152));
    EXPECT_EQ(Control<app::FigureCanvas>(tab, "HatchImage")->Canvas().Image().size(),
              QSize(302, 152));
    EXPECT_EQ(FigureCommandsEnabled(), std::vector<bool>(6, true));
    EXPECT_TRUE(w.platform.messages.empty());

    // The dialog opens with what was typed last; an invalid size keeps the commands disabled.
    WhenModalOpens([](QWidget* modal) {
        auto* dialog = qobject_cast<app::TNewVrijHatch*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->BreedteEdit->text(), "600");
        EXPECT_EQ(dialog->HoogteEdit->text(), "300");
        dialog->BreedteEdit->setText(QStringLiteral("10.5"));
        dialog->accept();
    });
    QTest::mouseClick(Control<QPushButton>(tab, "NieuwFiguur"), Qt::LeftButton);
    ASSERT_EQ(w.platform.messages.size(), 1u);
    EXPECT_EQ(w.platform.messages[0].text, "Er is een ongeldige waarde ingevoerd");
    EXPECT_EQ(w.platform.messages[0].title, "Error");
    EXPECT_EQ(w.platform.messages[0].owner, form.Handle());
    EXPECT_EQ(FigureCommandsEnabled(),
              (std::vector<bool>{false, false, false, false, false, true}));
    EXPECT_EQ(Control<QFrame>(tab, "DP")->size(), QSize(304, 154));
}

TEST_F(FigureTab, TwoSegmentsDrawnWithTheMouseAreInTheGrid) {
    NewFigure("300", "300");  // one unit per pixel; pixel (x, y) is the point (x, 300 - y)
    MoveAndClick({50, 250});
    MoveAndClick({200, 252});  // 2 pixels off the start's row: locked horizontal
    MoveAndClick({201, 249});  // snaps to the end point just drawn
    QTest::mouseMove(Control<app::FigureCanvas>(tab, "HatchImage"), {200, 100});
    EXPECT_EQ(Control<QLabel>(tab, "XYPos")->text(), "X:200.000, Y:200.000 L:150.000 <90.000");
    QTest::mouseClick(Control<app::FigureCanvas>(tab, "HatchImage"), Qt::LeftButton, {},
                      {200, 100});

    ASSERT_EQ(GridModelOf(tab, "FiguurGrid")->rowCount(), 2);
    EXPECT_EQ(ShownRow(1), (QStringList{"50.000", "50.000", "200.000", "50.000"}));
    EXPECT_EQ(ShownRow(2), (QStringList{"200.000", "50.000", "200.000", "200.000"}));
    // Drawn on the canvas the widget shows, under the mouse: the 3-pixel pen covers rows 249
    // to 251 around the clicked row 250.
    const QImage& canvas = Control<app::FigureCanvas>(tab, "HatchImage")->Canvas().Image();
    EXPECT_EQ(canvas.pixelColor(120, 251), QColor(Qt::black));
    EXPECT_EQ(canvas.pixelColor(120, 249), QColor(Qt::black));
    EXPECT_EQ(canvas.pixelColor(120, 252), QColor(Qt::white));
    EXPECT_EQ(canvas.pixelColor(200, 150), QColor(Qt::black));
    EXPECT_EQ(canvas.pixelColor(120, 200), QColor(Qt::white));
    EXPECT_EQ(Control<app::FigureCanvas>(tab, "HatchImage")->grab().toImage().pixelColor(120, 251),
              QColor(Qt::black));

    // Selection mode: the arrow, and a click on the first segment selects its row.
    QTest::mouseClick(Control<QToolButton>(tab, "SpeedButtonSelectieMode"), Qt::LeftButton);
    EXPECT_EQ(Control<app::FigureCanvas>(tab, "HatchImage")->cursor().shape(), Qt::ArrowCursor);
    QTest::mouseClick(Control<QCheckBox>(tab, "CheckBoxSnap"), Qt::LeftButton);
    EXPECT_EQ(Control<app::FigureCanvas>(tab, "HatchImage")->cursor().shape(), Qt::ArrowCursor)
        << "snapping off";
    QTest::mouseClick(Control<QCheckBox>(tab, "CheckBoxSnap"), Qt::LeftButton);
    EXPECT_EQ(Control<app::FigureCanvas>(tab, "HatchImage")->cursor().shape(), Qt::ArrowCursor)
        << "snapping on";
    MoveAndClick({120, 253});
    EXPECT_EQ(Control<QTableView>(tab, "FiguurGrid")->currentIndex().row(), 0);
    EXPECT_EQ(canvas.pixelColor(120, 251), QColor(255, 0, 0));
}

// The status text is right-aligned in a label of fixed size: a long one must still show its
// start ("X:") rather than be cut off at the left.
TEST_F(FigureTab, TheStatusTextFitsItsLabel) {
    const auto fits = [&] {
        const QFontMetrics metrics(Control<QLabel>(tab, "XYPos")->font());
        const int indent = metrics.horizontalAdvance(QLatin1Char('x')) / 2;
        return metrics.horizontalAdvance(Control<QLabel>(tab, "XYPos")->text()) + indent <=
               Control<QLabel>(tab, "XYPos")->contentsRect().width();
    };
    const int designPixels = Control<QLabel>(tab, "XYPos")->font().pixelSize();
    NewFigure("60000", "30000");
    MoveAndClick({10, 140});
    QTest::mouseMove(Control<app::FigureCanvas>(tab, "HatchImage"), {290, 20});
    EXPECT_EQ(Control<QLabel>(tab, "XYPos")->text(),
              "X:58000.000, Y:26000.000 L:60926.185 <23.199");
    EXPECT_TRUE(fits());

    // A short text is shown in the label's own face again.
    QTest::mouseClick(Control<app::FigureCanvas>(tab, "HatchImage"), Qt::LeftButton, {}, {290, 20});
    w.platform.messageAnswers = {Answer::No};
    NewFigure("600", "300");
    QTest::mouseMove(Control<app::FigureCanvas>(tab, "HatchImage"), {10, 140});
    EXPECT_EQ(Control<QLabel>(tab, "XYPos")->text(), "X:20.000, Y:20.000");
    EXPECT_EQ(Control<QLabel>(tab, "XYPos")->font().pixelSize(), designPixels);
}

TEST_F(FigureTab, ALengthTypedWhileDrawingEndsTheSegment) {
    NewFigure("300", "300");
    MoveAndClick({50, 250});
    QTest::mouseMove(Control<app::FigureCanvas>(tab, "HatchImage"), {150, 250});  // to the right
    Control<QTableView>(tab, "FiguurGrid")->setFocus();

    // A letter in the box: the warning with the accepted forms, and the segment stays open.
    WhenModalOpens([](QWidget* modal) {
        auto* box = qobject_cast<app::TInputRubberForm*>(modal);
        ASSERT_NE(box, nullptr);
        QTest::keyClick(box->InPutRubberEdit, Qt::Key_X);
        QTest::keyClick(box->InPutRubberEdit, Qt::Key_Return);
    });
    w.platform.decimalSeparator = ',';
    QTest::keyClick(Control<QTableView>(tab, "FiguurGrid"), Qt::Key_2);
    ASSERT_EQ(w.platform.messages.size(), 1u);
    EXPECT_EQ(w.platform.messages[0].text, figure::TypedInputRefusedText(','));
    EXPECT_EQ(w.platform.messages[0].title, "");
    EXPECT_EQ(ShownRow(1), (QStringList{"50.000", "50.000", "", ""}));
    ASSERT_TRUE(tab.Model().interaction.drawing);

    // The forms a decimal comma allows are the typed forms' table (figure tests); abandoned here.
    w.platform.decimalSeparator = '.';
    QApplication::setActiveWindow(&form);
    QTest::keyClick(Control<QTableView>(tab, "FiguurGrid"), Qt::Key_Escape);

    MoveAndClick({50, 250});
    QTest::mouseMove(Control<app::FigureCanvas>(tab, "HatchImage"),
                     {150, 252});  // to the right, locked to the start's row
    // Next to the mouse as locked to the start's pixel row, the clicked one.
    const QPoint expectedAt = form.pos() + QPoint(150 + 10, 250 + 120);
    WhenModalOpens([expectedAt](QWidget* modal) {
        auto* box = qobject_cast<app::TInputRubberForm*>(modal);
        ASSERT_NE(box, nullptr);
        // The caret is placed by a call queued when the edit gets the focus.
        QApplication::processEvents();
        QApplication::processEvents();
        EXPECT_EQ(box->pos(), expectedAt);
        EXPECT_EQ(box->size(), QSize(122, 22));
        EXPECT_TRUE(box->windowFlags().testFlag(Qt::FramelessWindowHint));
        EXPECT_EQ(box->InPutRubberEdit->text(), "2");
        EXPECT_EQ(box->InPutRubberEdit->cursorPosition(), 1);
        EXPECT_FALSE(box->InPutRubberEdit->hasSelectedText());
        QTest::keyClick(box->InPutRubberEdit, Qt::Key_5);
        QTest::keyClick(box->InPutRubberEdit, Qt::Key_Return);
    });
    // The click took the focus to the canvas.
    ASSERT_TRUE(Control<app::FigureCanvas>(tab, "HatchImage")->hasFocus());
    QTest::keyClick(Control<app::FigureCanvas>(tab, "HatchImage"), Qt::Key_2);
    EXPECT_EQ(ShownRow(1), (QStringList{"50.000", "50.000", "75.000", "50.000"}));
    EXPECT_EQ(form.InputRubberForm->InPutRubberEdit->text(), "");
    EXPECT_EQ(w.platform.messages.size(), 1u);
}

TEST_F(FigureTab, EscapeOnTheFigureTabAbandonsTheOpenSegment) {
    NewFigure("300", "300");
    MoveAndClick({50, 250});
    Control<QTableView>(tab, "FiguurGrid")->setFocus();
    QTest::keyClick(Control<QTableView>(tab, "FiguurGrid"), Qt::Key_Escape);
    EXPECT_EQ(ShownRow(1), (QStringList{"", "", "", ""}));
    EXPECT_FALSE(tab.Model().interaction.drawing);
}

// While a segment is open, digits typed into an edit are the edit's, and Escape on another tab
// ends the segment.
TEST_F(FigureTab, AnOpenSegmentLeavesEditsAndOtherTabsAlone) {
    NewFigure("300", "300");
    MoveAndClick({50, 250});
    Control<QLineEdit>(tab, "NaamEditVrij")->clear();
    Control<QLineEdit>(tab, "NaamEditVrij")->setFocus();
    QTest::keyClicks(Control<QLineEdit>(tab, "NaamEditVrij"), "Visgraat");
    bool boxOpened = false;  // closed again at once, should it open
    QTimer::singleShot(0, [&boxOpened] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            boxOpened = true;
            modal->close();
        }
    });
    QTest::keyClick(Control<QLineEdit>(tab, "NaamEditVrij"), Qt::Key_2);
    QApplication::processEvents();
    EXPECT_FALSE(boxOpened);
    EXPECT_EQ(Control<QLineEdit>(tab, "NaamEditVrij")->text(), "Visgraat2");
    EXPECT_TRUE(tab.Model().interaction.drawing);

    form.PageControl1->setCurrentIndex(0);
    auto* edit = form.PageControl1->currentWidget()->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_FALSE(tab.Model().interaction.drawing);
    EXPECT_EQ(ShownRow(1), (QStringList{"", "", "", ""}));
}

// "+" makes the new row current and scrolls to it; Delete in the grid acts as "-", but not in
// an edit.
TEST_F(FigureTab, PlusSelectsTheNewRowAndDeleteDeletesTheSelectedOne) {
    NewFigure("300", "300");
    for (int i = 0; i < 30; ++i)
        Control<QAction>(tab, "AddfiguurLijn")->trigger();
    const QModelIndex last = GridModelOf(tab, "FiguurGrid")->index(30, 0);
    EXPECT_EQ(Control<QTableView>(tab, "FiguurGrid")->currentIndex(), last);
    EXPECT_TRUE(Control<QTableView>(tab, "FiguurGrid")->selectionModel()->isSelected(last));
    EXPECT_TRUE(Control<QTableView>(tab, "FiguurGrid")
                    ->viewport()
                    ->rect()
                    .contains(Control<QTableView>(tab, "FiguurGrid")->visualRect(last)));

    GridModelOf(tab, "FiguurGrid")
        ->setData(GridModelOf(tab, "FiguurGrid")->index(2, 0), QStringLiteral("7"));
    Control<QTableView>(tab, "FiguurGrid")
        ->setCurrentIndex(GridModelOf(tab, "FiguurGrid")->index(1, 0));
    Control<QLineEdit>(tab, "NaamEditVrij")->setFocus();
    QTest::keyClick(Control<QLineEdit>(tab, "NaamEditVrij"), Qt::Key_Delete);
    EXPECT_EQ(GridModelOf(tab, "FiguurGrid")->rowCount(), 31);
    Control<QTableView>(tab, "FiguurGrid")->setFocus();
    QTest::keyClick(Control<QTableView>(tab, "FiguurGrid"), Qt::Key_Delete);
    EXPECT_EQ(GridModelOf(tab, "FiguurGrid")->rowCount(), 30);
    EXPECT_EQ(Shown(2, 1), "7");  // row 3 moved up into the deleted row 2
}

TEST_F(FigureTab, EnterInTheGridDrawsTheRowClippedOrEmptied) {
    NewFigure("10", "10");
    const auto set = [this](int col, const char* text) {
        GridModelOf(tab, "FiguurGrid")
            ->setData(GridModelOf(tab, "FiguurGrid")->index(0, col - 1), QString(text));
    };
    set(1, "5");
    set(2, "5");
    set(3, "-5");
    // The last cell typed into its editor, as a user does, and ended with Enter.
    Control<QTableView>(tab, "FiguurGrid")->setFocus();
    Control<QTableView>(tab, "FiguurGrid")
        ->setCurrentIndex(GridModelOf(tab, "FiguurGrid")->index(0, 3));
    QTest::keyClick(Control<QTableView>(tab, "FiguurGrid"), Qt::Key_5);
    QWidget* editor = QApplication::focusWidget();
    ASSERT_NE(editor, nullptr);
    ASSERT_EQ(editor->parentWidget(), Control<QTableView>(tab, "FiguurGrid")->viewport());
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(ShownRow(1), (QStringList{"0.000", "5.000", "5.000", "5.000"}));

    // Enter on the grid itself: a row that misses the tile is emptied (row 1 stays).
    for (int c = 1; c <= 4; ++c)
        set(c, c % 2 ? "20" : "30");
    Control<QTableView>(tab, "FiguurGrid")->setFocus();
    QTest::keyClick(Control<QTableView>(tab, "FiguurGrid"), Qt::Key_Return);
    EXPECT_EQ(ShownRow(1), (QStringList{"", "", "", ""}));
    EXPECT_EQ(GridModelOf(tab, "FiguurGrid")->rowCount(), 1);
}

TEST_F(FigureTab, MaakHatchShowsTheFailedRowsAfterACancelledSave) {
    NewFigure("100", "100");
    tab.Model().grid.SetRowCount(3);
    const char* const cells[2][4] = {{"10", "10", "60", "10"},
                                     {"58.439", "56.591", "61.394", "95.654"}};
    for (int r = 1; r <= 2; ++r) {
        for (int c = 1; c <= 4; ++c)
            tab.Model().grid.SetCell(c, r, cells[r - 1][c - 1]);
    }
    QString memo;
    QString summary;
    WhenModalOpens([&](QWidget* modal) {
        auto* errors = qobject_cast<app::TErrorForm*>(modal);
        ASSERT_NE(errors, nullptr);
        memo = errors->ErrorMemo->toPlainText();
        summary = errors->SummaryLabel->text();
    });
    QTest::mouseClick(Control<QPushButton>(tab, "ButtonCreateHatch"), Qt::LeftButton);
    ASSERT_EQ(w.platform.dialogs.size(), 1u);  // the save dialog, cancelled
    EXPECT_EQ(w.platform.dialogs[0].dialog.filterMask, "*.pat");
    EXPECT_EQ(memo, "Geen oplossing gevonden voor lijn: 2");
    EXPECT_EQ(summary, "1 lijn zonder oplossing; probeer een lagere nauwkeurigheid");
    EXPECT_NE(
        std::find(w.platform.cursorChanges.begin(), w.platform.cursorChanges.end(), Cursor::Busy),
        w.platform.cursorChanges.end());
}

// "Op maat" and "Max. afwijking": the edit is usable with that item only; "Maak hatch" refuses a
// deviation of 0, below 0, not a number, or above the tile, before the save dialog.
TEST_F(FigureTab, MaakHatchOpMaatTakesItsDeviationOrRefusesIt) {
    NewFigure("600", "300");
    const char* const cells[4] = {"112.517", "124.267", "113.233", "71.233"};
    for (int c = 1; c <= 4; ++c)
        tab.Model().grid.SetCell(c, 1, cells[c - 1]);
    auto* accuracy = tab.findChild<QComboBox*>(QStringLiteral("ComboBoxNaukeurigheid"));
    auto* deviation = tab.findChild<QLineEdit*>(QStringLiteral("MaxAfwijkingEdit"));
    ASSERT_TRUE(accuracy && deviation);
    EXPECT_FALSE(deviation->isEnabled());
    accuracy->setCurrentIndex(3);
    EXPECT_TRUE(deviation->isEnabled());
    // The texts "Op maat" takes are the session's table; here what the window does with them.
    for (const char* text : {"veel", "0,5"}) {
        SCOPED_TRACE(text);
        w.platform.messages.clear();
        w.platform.dialogs.clear();
        deviation->setText(QString::fromLatin1(text));
        QTest::mouseClick(Control<QPushButton>(tab, "ButtonCreateHatch"), Qt::LeftButton);
        const bool valid = std::string(text) == "0,5";
        ASSERT_EQ(w.platform.messages.size(), valid ? 0u : 1u);
        if (!valid) {
            EXPECT_EQ(w.platform.messages[0].text,
                      "Er is een ongeldige waarde ingevoerd bij \"Max. afwijking\"");
        }
        EXPECT_EQ(w.platform.dialogs.size(), valid ? 1u : 0u);
    }
    // Within 0,5 the hand-drawn edge converts: no row for the error window; within a millionth
    // it does not, and the hint is a larger deviation.
    EXPECT_TRUE(form.ErrorForm->ErrorMemo->toPlainText().isEmpty());
    deviation->setText(QStringLiteral("0.000001"));
    QString summary;
    WhenModalOpens([&](QWidget*) { summary = form.ErrorForm->SummaryLabel->text(); });
    QTest::mouseClick(Control<QPushButton>(tab, "ButtonCreateHatch"), Qt::LeftButton);
    EXPECT_EQ(summary, "1 lijn zonder oplossing; probeer een grotere max. afwijking");
}

TEST_F(FigureTab, FigureListSavedAndOpenedThroughTheDialogs) {
    NewFigure("300", "300");
    MoveAndClick({50, 250});
    MoveAndClick({200, 250});
    const std::string saved = dir.File("figuur.txt");
    w.platform.dialogAnswers.push_back(saved);
    Control<QLineEdit>(tab, "BeschrijvingEditVrij")->setText(QStringLiteral("grijs"));
    QTest::mouseClick(Control<QToolButton>(tab, "SpeedButtonSaveCoordinaten"), Qt::LeftButton);
    ASSERT_EQ(w.platform.dialogs.size(), 1u);
    EXPECT_EQ(w.platform.dialogs[0].dialog.title, "Save");
    EXPECT_EQ(ReadText(saved),
              ";%SIZE=300,300\r\n;%UNITS=MM\r\n*naam arcering, grijs\r\n;%TYPE=MODEL\r\n"
              "50.000,50.000,200.000,50.000\r\n");

    const std::string other = dir.File("ander.txt");
    WriteText(other, ";%SIZE=600,300\r\n;%UNITS=INCH\r\n*ander, rood\r\n1,2,3,4\r\n");
    w.platform.dialogAnswers.push_back(other);
    QTest::mouseClick(Control<QToolButton>(tab, "SpeedButtonOpenCoordinaten"), Qt::LeftButton);
    ASSERT_EQ(w.platform.dialogs.size(), 2u);
    EXPECT_EQ(w.platform.dialogs[1].dialog.title, "Open");
    EXPECT_EQ(Control<QFrame>(tab, "DP")->size(), QSize(304, 154));
    EXPECT_EQ(Control<QLineEdit>(tab, "NaamEditVrij")->text(), "ander");
    EXPECT_EQ(Control<QLineEdit>(tab, "BeschrijvingEditVrij")->text(), "rood");
    EXPECT_EQ(Control<QComboBox>(tab, "VrijeFiguurUnits")->currentText(), "INCH");
    ASSERT_EQ(GridModelOf(tab, "FiguurGrid")->rowCount(), 1);
    EXPECT_EQ(ShownRow(1), (QStringList{"1", "2", "3", "4"}));
}

TEST_F(FigureTab, AnnulerenKeepsTheFigureAndUnsavedChangesAreAskedForBeforeTheyGo) {
    NewFigure("300", "300");
    WhenModalOpens([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
    QTest::mouseClick(Control<QPushButton>(tab, "NieuwFiguur"),
                      Qt::LeftButton);  // nothing changed yet: no question
    EXPECT_EQ(FigureCommandsEnabled(), std::vector<bool>(6, true));
    EXPECT_TRUE(w.platform.messages.empty());

    MoveAndClick({50, 250});
    MoveAndClick({200, 250});
    // Annuleren stops "Nieuw" (no dialog opens); closing asks for each changed tab in turn:
    // Ja saves the pattern, Annuleren keeps the window; the second time only the figure asks.
    GridModelOf(*form.TabSheetVrijeLijn, "LijnGrid")
        ->setData(GridModelOf(*form.TabSheetVrijeLijn, "LijnGrid")->index(0, 0), "45");
    w.platform.messageAnswers = {Answer::Cancel, Answer::Yes, Answer::Cancel, Answer::No};
    w.platform.dialogAnswers = {dir.File("lijnen.pat")};
    QTest::mouseClick(Control<QPushButton>(tab, "NieuwFiguur"), Qt::LeftButton);
    QTest::mouseClick(form.CloseButton, Qt::LeftButton);
    EXPECT_TRUE(form.isVisible() && std::filesystem::exists(dir.File("lijnen.pat")));
    QTest::mouseClick(form.CloseButton, Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
    ASSERT_EQ(w.platform.messages.size(), 4u);
    EXPECT_EQ(w.platform.messages[0].text, "Wijzigingen in Vrij figuur opslaan?");
    EXPECT_EQ(w.platform.messages[1].text, "Wijzigingen in Vrije lijnarceringen opslaan?");
    EXPECT_EQ(w.platform.messages[3].text, w.platform.messages[0].text);
}

TEST_F(FigureTab, ThePreviewAtItsDefaultSizeIsFittedToTheRoomBesideTheReport) {
    NewFigure("300", "300");
    MoveAndClick({50, 250});
    MoveAndClick({200, 250});
    QTest::mouseClick(Control<QPushButton>(tab, "VoorbeeldFiguur"), Qt::LeftButton);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    app::TPreviewForm& preview = *form.findChild<app::TPreviewForm*>();
    ASSERT_TRUE(preview.SidePanel->isVisible());
    const QImage shown = preview.RenderView();
    preview.FitToContent();  // "Passend" has nothing left to do
    EXPECT_EQ(preview.RenderView(), shown);
}

TEST_F(FigureTab, BackgroundPictureLoadsOrLeavesEverythingAsItWas) {
    NewFigure("300", "300");
    const std::string text = dir.File("geen.png");
    WriteText(text, "geen afbeelding");
    w.platform.dialogAnswers.push_back(text);
    Control<QAction>(tab, "OpenPictureAction")->trigger();
    ASSERT_EQ(w.platform.applicationErrors.size(), 1u);
    EXPECT_NE(w.platform.applicationErrors[0].find("geen.png"), std::string::npos);
    EXPECT_FALSE(Control<QAction>(tab, "DeleteBackGroundImageAction")->isEnabled());
    EXPECT_FALSE(Control<app::FigureCanvas>(tab, "HatchImage")->Transparent());

    QImage picture(60, 30, QImage::Format_RGB32);
    picture.fill(Qt::green);
    const std::string png = dir.File("plan.png");
    ASSERT_TRUE(picture.save(QString::fromStdString(png), "PNG"));
    w.platform.dialogAnswers.push_back(png);
    Control<QAction>(tab, "OpenPictureAction")->trigger();
    EXPECT_TRUE(Control<QAction>(tab, "DeleteBackGroundImageAction")->isEnabled());
    EXPECT_TRUE(Control<app::FigureCanvas>(tab, "HatchImage")->Transparent());
    // Fitted to the tile, which spans canvas pixels 0 to 300 (the canvas is 302 x 302).
    EXPECT_EQ(Control<QLabel>(tab, "BackGroundImage")->pixmap().size(), QSize(300, 150));
    // The picture shows through the white canvas, centred on the tile (the panel's bevel adds
    // one pixel).
    const QImage panel = Control<QFrame>(tab, "DP")->grab().toImage();
    EXPECT_EQ(panel.pixelColor(152, 152), QColor(Qt::green));
    EXPECT_EQ(panel.pixelColor(1, 76), QColor(Qt::green));
    EXPECT_EQ(panel.pixelColor(300, 225), QColor(Qt::green));
    EXPECT_EQ(panel.pixelColor(301, 152), QColor(Qt::white));
    EXPECT_EQ(panel.pixelColor(152, 20), QColor(Qt::white));

    QTest::mouseClick(Control<QToolButton>(tab, "SpeedButton1DeleteBackgroundImage"),
                      Qt::LeftButton);
    EXPECT_FALSE(Control<QAction>(tab, "DeleteBackGroundImageAction")->isEnabled());
    EXPECT_TRUE(Control<QLabel>(tab, "BackGroundImage")->pixmap().isNull());
    EXPECT_FALSE(Control<app::FigureCanvas>(tab, "HatchImage")->Transparent());

    // A figure list with a tile of its own takes the picture away, and with it the command.
    w.platform.dialogAnswers.push_back(png);
    Control<QAction>(tab, "OpenPictureAction")->trigger();
    ASSERT_TRUE(Control<QAction>(tab, "DeleteBackGroundImageAction")->isEnabled());
    const std::string list = dir.File("tegel.txt");
    WriteText(list, ";%SIZE=600,300\r\n1,2,3,4\r\n");
    w.platform.dialogAnswers.push_back(list);
    Control<QAction>(tab, "OpenVrijfiguurList")->trigger();
    EXPECT_TRUE(Control<QLabel>(tab, "BackGroundImage")->pixmap().isNull());
    EXPECT_FALSE(Control<QAction>(tab, "DeleteBackGroundImageAction")->isEnabled());
}

// A cell of megabytes (a figure list may hold one) is shown cut short; the grid keeps it whole.
TEST_F(FigureTab, ALongCellIsShownCutShort) {
    const std::string text(1'000'000, 'a');
    tab.Model().grid.SetCell(1, 1, text);
    const QModelIndex cell = GridModelOf(tab, "FiguurGrid")->index(0, 0);
    EXPECT_EQ(cell.data(Qt::DisplayRole).toString(),
              QString(app::kShownCellChars, QLatin1Char('a')) + QChar(0x2026));
    EXPECT_EQ(cell.data(Qt::EditRole).toString().size(), 1'000'000);
    tab.Model().grid.SetCell(1, 1, "12.5");
    EXPECT_EQ(cell.data(Qt::DisplayRole).toString(), "12.5");
}

TEST_F(FigureTab, HelpOpensTheFreeFigurePage) {
    QTest::mouseClick(Control<QToolButton>(tab, "HelpVrijeFiguurSpeedButton"), Qt::LeftButton);
    ASSERT_EQ(w.platform.openedUrls.size(), 1u);
    EXPECT_TRUE(QString::fromStdString(w.platform.openedUrls[0]).endsWith("/vrijfiguur.html"));
    // Its pictures lie beside it, wherever the page was found.
    const QFileInfo page(QUrl(QString::fromStdString(w.platform.openedUrls[0])).toLocalFile());
    EXPECT_TRUE(QFileInfo(page.dir().filePath("vrijfiguur-tekenen.png")).isFile());
}

// The drawing tools through real mouse, wheel and key events: a zoom about the mouse, the grid
// snap with its spacing typed, "Passend", a typed "@dx,dy", an end point dragged and undone,
// Delete, and the canvas growing with the window.
TEST_F(FigureTab, DrawingToolsTakeTheMouseWheelDragsAndKeys) {
    NewFigure("600", "300");  // s = 2: canvas pixel (x, y) is tile point (2x, 300 - 2y)
    const QPoint at(100, 50);
    QWheelEvent wheel(at, Control<app::FigureCanvas>(tab, "HatchImage")->mapToGlobal(at), {},
                      {0, 120}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(Control<app::FigureCanvas>(tab, "HatchImage"), &wheel);
    QTest::mouseMove(Control<app::FigureCanvas>(tab, "HatchImage"), at);
    EXPECT_EQ(Control<QLabel>(tab, "XYPos")->text(),
              "X:200.000, Y:200.000");  // still under the mouse
    QTest::mouseMove(Control<app::FigureCanvas>(tab, "HatchImage"), at + QPoint(10, 0));
    EXPECT_EQ(Control<QLabel>(tab, "XYPos")->text(), "X:216.000, Y:200.000");  // 1.6 units a pixel
    // A middle-button drag and a Space drag each move the picture with the mouse.
    QTest::mousePress(Control<app::FigureCanvas>(tab, "HatchImage"), Qt::MiddleButton, {}, at);
    QTest::mouseMove(Control<app::FigureCanvas>(tab, "HatchImage"), at + QPoint(20, 0));
    QTest::mouseRelease(Control<app::FigureCanvas>(tab, "HatchImage"), Qt::MiddleButton, {},
                        at + QPoint(20, 0));
    QTest::keyPress(Control<app::FigureCanvas>(tab, "HatchImage"), Qt::Key_Space);
    QTest::mousePress(Control<app::FigureCanvas>(tab, "HatchImage"), Qt::LeftButton, {},
                      at + QPoint(20, 0));
    QTest::mouseMove(Control<app::FigureCanvas>(tab, "HatchImage"), at + QPoint(20, 10));
    QTest::mouseRelease(Control<app::FigureCanvas>(tab, "HatchImage"), Qt::LeftButton, {},
                        at + QPoint(20, 10));
    QTest::keyRelease(Control<app::FigureCanvas>(tab, "HatchImage"), Qt::Key_Space);
    QTest::mouseMove(Control<app::FigureCanvas>(tab, "HatchImage"), at + QPoint(20, 10));
    EXPECT_EQ(Control<QLabel>(tab, "XYPos")->text(), "X:200.000, Y:200.000");
    EXPECT_EQ(ShownRow(1), (QStringList{"", "", "", ""}));  // no point placed

    WhenModalOpens([](QWidget* modal) {
        auto* dialog = qobject_cast<QInputDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->setTextValue("0");
        dialog->accept();
    });
    tab.findChild<QAction*>("GridSpacingAction")->trigger();
    ASSERT_EQ(w.platform.messages.size(), 1u);
    EXPECT_EQ(w.platform.messages[0].text, "Er is een ongeldige waarde ingevoerd");
    WhenModalOpens([](QWidget* modal) {
        qobject_cast<QInputDialog*>(modal)->setTextValue("25");
        qobject_cast<QInputDialog*>(modal)->accept();
    });
    tab.findChild<QAction*>("GridSpacingAction")->trigger();
    tab.findChild<QAction*>("SnapGridAction")->trigger();
    QTest::mouseClick(tab.findChild<QToolButton*>("PassendButton"), Qt::LeftButton);

    MoveAndClick({26, 99});  // (52, 102): the grid point (50, 100)
    WhenModalOpens([](QWidget* modal) {
        auto* box = qobject_cast<app::TInputRubberForm*>(modal);
        ASSERT_NE(box, nullptr);
        box->InPutRubberEdit->setText("@215,0");
        QTest::keyClick(box->InPutRubberEdit, Qt::Key_Return);
    });
    QTest::keyClick(Control<app::FigureCanvas>(tab, "HatchImage"), '@');
    EXPECT_EQ(ShownRow(1), (QStringList{"50.000", "100.000", "265.000", "100.000"}));

    // The end point dragged to the grid point (300, 100), then taken back.
    QTest::mouseClick(Control<QToolButton>(tab, "SpeedButtonSelectieMode"), Qt::LeftButton);
    QTest::mouseMove(Control<app::FigureCanvas>(tab, "HatchImage"), {133, 100});
    QTest::mousePress(Control<app::FigureCanvas>(tab, "HatchImage"), Qt::LeftButton, {},
                      {133, 100});
    QTest::mouseMove(Control<app::FigureCanvas>(tab, "HatchImage"), {149, 101});
    QTest::mouseRelease(Control<app::FigureCanvas>(tab, "HatchImage"), Qt::LeftButton, {},
                        {149, 101});
    EXPECT_EQ(ShownRow(1), (QStringList{"50.000", "100.000", "300.000", "100.000"}));
    QApplication::setActiveWindow(&form);
    QTest::keyClick(Control<app::FigureCanvas>(tab, "HatchImage"), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(ShownRow(1), (QStringList{"50.000", "100.000", "265.000", "100.000"}));

    // A second segment; the first selected by a click and gone with Delete.
    QTest::mouseClick(Control<QToolButton>(tab, "SpeedButtonTekenmode"), Qt::LeftButton);
    MoveAndClick({25, 25});
    MoveAndClick({25, 50});
    QTest::mouseClick(Control<QToolButton>(tab, "SpeedButtonSelectieMode"), Qt::LeftButton);
    MoveAndClick({80, 100});
    QTest::keyClick(Control<app::FigureCanvas>(tab, "HatchImage"), Qt::Key_Delete);
    EXPECT_EQ(ShownRow(1), (QStringList{"50.000", "250.000", "50.000", "200.000"}));
    // Selected and moved by a typed offset from the canvas's context menu.
    MoveAndClick({25, 37});
    WhenModalOpens([](QWidget* modal) {
        modal->findChild<QLineEdit*>("SelectionEditValue")->setText("10,0");
        qobject_cast<QDialog*>(modal)->accept();
    });
    tab.findChild<QAction*>("MoveSelectionAction")->trigger();
    EXPECT_EQ(ShownRow(1), (QStringList{"60.000", "250.000", "60.000", "200.000"}));

    // A larger window: the canvas takes the room, the grid moves beside it.
    const QPoint gridAt = Control<QTableView>(tab, "FiguurGrid")->pos();
    form.resize(form.width() + 100, form.height() + 60);
    QApplication::processEvents();
    // The canvas takes the room left of the grid and above the controls below it.
    EXPECT_EQ(Control<app::FigureCanvas>(tab, "HatchImage")->size(), QSize(302 + 100, 300 + 60));
    EXPECT_EQ(Control<QTableView>(tab, "FiguurGrid")->pos(), gridAt + QPoint(100, 0));
    form.resize(652, 552);
    QApplication::processEvents();
    EXPECT_EQ(Control<app::FigureCanvas>(tab, "HatchImage")->size(), QSize(302, 152));
    EXPECT_EQ(Control<QTableView>(tab, "FiguurGrid")->pos(), gridAt);
}

// A zoom takes the background picture along: what lay under a tile point stays under it.
TEST_F(FigureTab, TheBackgroundPictureFollowsTheZoom) {
    NewFigure("300", "300");
    QImage picture(60, 30, QImage::Format_RGB32);
    picture.fill(Qt::green);
    const std::string png = dir.File("plan.png");
    ASSERT_TRUE(picture.save(QString::fromStdString(png), "PNG"));
    w.platform.dialogAnswers.push_back(png);
    Control<QAction>(tab, "OpenPictureAction")->trigger();  // tile rows 75 to 225 are green
    EXPECT_EQ(Control<QFrame>(tab, "DP")->grab().toImage().pixelColor(151, 41), QColor(Qt::white));
    const QPoint at(150, 150);
    QWheelEvent wheel(at, Control<app::FigureCanvas>(tab, "HatchImage")->mapToGlobal(at), {},
                      {0, 240}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(Control<app::FigureCanvas>(tab, "HatchImage"), &wheel);
    const QImage panel = Control<QFrame>(tab, "DP")->grab().toImage();
    EXPECT_EQ(panel.pixelColor(151, 151), QColor(Qt::green));
    // Designed row 150 + (40 - 150) / 1.5625 = 79.6, inside the picture.
    EXPECT_EQ(panel.pixelColor(151, 41), QColor(Qt::green));
    EXPECT_EQ(panel.pixelColor(151, 10), QColor(Qt::white));
    QTest::mouseClick(tab.findChild<QToolButton*>("PassendButton"), Qt::LeftButton);
    EXPECT_EQ(Control<QLabel>(tab, "BackGroundImage")->pixmap().size(), QSize(300, 150));
}

// Copy and mirror through the context menu's dialog, typed key by key: a copy onto itself is
// refused with a message, and a mirror keeps the original. Where the copies land, wrapped by
// whole tiles, is the figure library's table.
TEST_F(FigureTab, CopyAndMirrorThroughTheDialogAndACopyOntoItselfRefused) {
    NewFigure("300", "300");
    MoveAndClick({100, 50});  // (100, 250) to (150, 290): the chevron's left leg
    MoveAndClick({150, 10});
    QTest::mouseClick(Control<QToolButton>(tab, "SpeedButtonSelectieMode"), Qt::LeftButton);
    MoveAndClick({125, 30});
    const auto typeInto = [](const char* action, const char* text, bool keep) {
        WhenModalOpens([text, keep](QWidget* modal) {
            EXPECT_NE(modal->windowTitle(), "Selectie");
            auto* edit = modal->findChild<QLineEdit*>("SelectionEditValue");
            ASSERT_NE(edit, nullptr);
            if (!keep) modal->findChild<QCheckBox*>("SelectionEditKeep")->setChecked(false);
            QTest::keyClicks(edit, text);
            QTest::keyClick(edit, Qt::Key_Return);
        });
        return action;
    };
    tab.findChild<QAction*>(typeInto("CopySelectionAction", "0,300", true))->trigger();
    ASSERT_EQ(w.platform.messages.size(), 1u);
    EXPECT_EQ(w.platform.messages[0].text, figure::kCopyOntoItselfText);
    EXPECT_EQ(GridModelOf(tab, "FiguurGrid")->rowCount(), 1);

    MoveAndClick({125, 30});
    tab.findChild<QAction*>(typeInto("MirrorLeftRightAction", "150", true))->trigger();
    ASSERT_EQ(GridModelOf(tab, "FiguurGrid")->rowCount(), 2);
    EXPECT_EQ(ShownRow(1), (QStringList{"100.000", "250.000", "150.000", "290.000"}));
    EXPECT_EQ(ShownRow(2), (QStringList{"200.000", "250.000", "150.000", "290.000"}));
}

// Delete takes what is red: after an empty window nothing is, and nothing goes; the grid shows no
// selected row either. Delete of a selected row is the drawing tools' test above.
TEST_F(FigureTab, DeleteAfterAnEmptyWindowDeletesNothing) {
    NewFigure("300", "300");
    MoveAndClick({50, 250});
    MoveAndClick({200, 250});
    MoveAndClick({50, 150});
    MoveAndClick({200, 150});
    QTest::mouseClick(Control<QToolButton>(tab, "SpeedButtonSelectieMode"), Qt::LeftButton);
    MoveAndClick({120, 251});
    auto* canvas = Control<app::FigureCanvas>(tab, "HatchImage");
    EXPECT_EQ(canvas->Canvas().Image().pixelColor(120, 250), QColor(255, 0, 0));
    QTest::mouseMove(canvas, {20, 20});
    QTest::mousePress(canvas, Qt::LeftButton, {}, {20, 20});
    QTest::mouseMove(canvas, {60, 60});
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, {60, 60});
    EXPECT_EQ(canvas->Canvas().Image().pixelColor(120, 250), QColor(Qt::black));
    EXPECT_FALSE(Control<QTableView>(tab, "FiguurGrid")->selectionModel()->hasSelection());
    QTest::keyClick(canvas, Qt::Key_Delete);
    ASSERT_EQ(GridModelOf(tab, "FiguurGrid")->rowCount(), 2);
    EXPECT_EQ(ShownRow(1), (QStringList{"50.000", "50.000", "200.000", "50.000"}));
}

// After "Maak hatch" wrote a file that readers misread: told at once, until "Niet meer vragen";
// with "Compatibel opslaan" there is nothing to tell.
TEST_F(FigureTab, MaakHatchTellsWhichReadersMisreadTheFile) {
    NewFigure("300", "300");
    MoveAndClick({50, 250});
    MoveAndClick({180, 200});
    const auto make = [&](bool stopAsking) {
        w.platform.messages.clear();
        w.platform.checkAnswer = stopAsking;
        w.platform.dialogAnswers.push_back(dir.File("visgraat.pat"));
        w.platform.messageAnswers.push_back(Answer::Ok);  // replace the file of the last run
        QTest::mouseClick(Control<QPushButton>(tab, "ButtonCreateHatch"), Qt::LeftButton);
        int notices = 0;
        for (const MessageCall& m : w.platform.messages)
            notices += m.title == figure::kReaderNoticeTitle &&
                       m.text.find("AutoCAD") != std::string::npos;
        return notices;
    };
    EXPECT_EQ(make(false), 1);
    EXPECT_EQ(w.platform.checkTexts.back(), "Niet meer vragen");
    EXPECT_EQ(make(true), 1);
    EXPECT_EQ(make(false), 0) << "not asked again";
    w.platform.checkTexts.clear();
    Control<QCheckBox>(tab, "CompatibelOpslaanVrijFiguur")->setChecked(true);
    app::RememberChoice(app::kChoiceReaderNoticeOff, false);
    EXPECT_EQ(make(false), 0);
    EXPECT_TRUE(w.platform.checkTexts.empty());
}

// After "save the changes?" opening a list asks nothing more; without changes it asks its own.
TEST_F(FigureTab, OpeningAListAsksOneQuestion) {
    NewFigure("300", "300");
    MoveAndClick({50, 250});
    MoveAndClick({200, 250});
    w.platform.messages.clear();
    w.platform.messageAnswers = {Answer::No};  // do not save
    QTest::mouseClick(Control<QToolButton>(tab, "SpeedButtonOpenCoordinaten"), Qt::LeftButton);
    ASSERT_EQ(w.platform.messages.size(), 1u);
    EXPECT_EQ(w.platform.messages[0].text, "Wijzigingen in Vrij figuur opslaan?");
    EXPECT_EQ(w.platform.dialogs.size(), 1u);
}

}  // namespace
}  // namespace murvex::test
