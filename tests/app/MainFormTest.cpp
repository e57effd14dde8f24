// The main window at start-up, its tabs, the bond pictures and closing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>

#include "AboutForm.h"
#include "AppTestSupport.h"
#include "ErrorForm.h"
#include "InputRubberForm.h"
#include "NewVrijHatch.h"
#include "StartUp.h"

namespace murvex::test {
namespace {

const char* const kBonds[] = {
    "Halfsteensverband", "Tegelverband",   "Kruisverband",  "Engelsverband", "Kettingverband",
    "Koppenverband",     "Klezoorverband", "Staandverband", "Vlaamsverband", "Wildverband"};

// The one explanation image that is not hidden.
QLabel* ShownImage(const app::TMainForm& form) {
    QLabel* shown = nullptr;
    for (QLabel* image : form.MetselverbandenTab->findChildren<QLabel*>(
             QRegularExpression(QStringLiteral("^UitlegImage")))) {
        if (!image->isHidden()) {
            EXPECT_EQ(shown, nullptr) << "two pictures at once";
            shown = image;
        }
    }
    return shown;
}

TEST(MainForm, StartsOnTheBondTabWithTheHalfsteensverbandPictureAndName) {
    ShownMainForm w;
    app::TMainForm& form = *w.form;
    EXPECT_EQ(form.windowTitle(), "Murvex");
    EXPECT_EQ(form.size(), QSize(652, 552));
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);

    EXPECT_EQ(form.Label2->text(), "Murvex Beta");
    const QFontInfo title(form.Label2->font());
    EXPECT_EQ(title.family(), "Tahoma");
    EXPECT_EQ(title.pixelSize(), 27);
    EXPECT_TRUE(title.bold());
    EXPECT_TRUE(title.italic());

    ASSERT_EQ(form.PageControl1->count(), 3);
    EXPECT_EQ(form.PageControl1->tabText(0), "Metselverbanden");
    EXPECT_EQ(form.PageControl1->tabText(1), "Vrije lijnarceringen");
    EXPECT_EQ(form.PageControl1->tabText(2), "Vrij figuur");
    EXPECT_EQ(form.PageControl1->widget(1)->objectName(), "TabSheetVrijeLijn");
    EXPECT_EQ(form.PageControl1->widget(2)->objectName(), "VrijFiguurTabSheet");
    EXPECT_EQ(form.PageControl1->currentWidget(), form.MetselverbandenTab);

    QLabel* image = ShownImage(form);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->objectName(), "UitlegImageHalfsteensverband");
    EXPECT_TRUE(image->isVisible());
    EXPECT_EQ(image->pixmap().size(), QSize(320, 200));
    EXPECT_EQ(Control<QLineEdit>(*form.MetselverbandenTab, "NaamEdit")->text(),
              "Halfsteensverband");
}

TEST(MainForm, TheKeyboardStartsInTheFirstFieldOfTheTab) {
    ShownMainForm w;
    EXPECT_EQ(QApplication::focusWidget(),
              Control<QComboBox>(*w.form->MetselverbandenTab, "ComboBoxMetselverbanden"));
}

// Dark pixels of "Murvex Beta" drawn in font.
int Ink(const QFont& font) {
    QImage image(400, 60, QImage::Format_Grayscale8);
    image.fill(255);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(4, 45, QStringLiteral("Murvex Beta"));
    painter.end();
    int ink = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            ink += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
    }
    return ink;
}

// A face may call itself bold and still draw thin strokes: the title must show more ink than
// the same text in the regular face.
TEST(MainForm, MurvexBetaIsDrawnBoldItalicOnTheWindowAndInTheAboutBox) {
    ShownMainForm w;
    app::TAboutForm about(w.platform, w.form.get());
    for (const QLabel* title : {w.form->Label2, about.TitleLabel}) {
        SCOPED_TRACE(title->objectName().toStdString());
        EXPECT_EQ(title->text(), "Murvex Beta");
        EXPECT_TRUE(QFontInfo(title->font()).italic());
        QFont regular = title->font();
        regular.setBold(false);
        regular.setStyleName(QString());
        EXPECT_GT(Ink(title->font()), Ink(regular) * 5 / 4);
    }
}

TEST(MainForm, BondTabDefaults) {
    ShownMainForm w;
    const app::TMainForm& form = *w.form;
    EXPECT_EQ(Control<QLineEdit>(*form.MetselverbandenTab, "SteenlengteEdit")->text(), "210");
    EXPECT_EQ(Control<QLineEdit>(*form.MetselverbandenTab, "SteenLengteVoegEdit")->text(), "220");
    EXPECT_EQ(Control<QLineEdit>(*form.MetselverbandenTab, "SteenhoogteEdit")->text(), "50");
    EXPECT_EQ(Control<QLineEdit>(*form.MetselverbandenTab, "SteenhoogteVoegEdit")->text(), "62.5");
    EXPECT_EQ(Control<QLineEdit>(*form.MetselverbandenTab, "HoekverdraaiingEdit")->text(), "0");
    EXPECT_EQ(Control<QLineEdit>(*form.MetselverbandenTab, "HoekverdraaiingEdit")->toolTip(),
              "-360 tot 360");
    EXPECT_EQ(Control<QPushButton>(*form.MetselverbandenTab, "CreateHatchButton")->text(),
              "Maak Hatch");
    ASSERT_EQ(Control<QComboBox>(*form.MetselverbandenTab, "ComboBoxMetselverbanden")->count(), 10);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(
            Control<QComboBox>(*form.MetselverbandenTab, "ComboBoxMetselverbanden")->itemText(i),
            kBonds[i]);
    }
    EXPECT_TRUE(
        Control<QComboBox>(*form.MetselverbandenTab, "ComboBoxMetselverbanden")->isEditable());
}

TEST(MainForm, ShowingAgainReturnsToTheBondTab) {
    ShownMainForm w;
    app::TMainForm& form = *w.form;
    form.PageControl1->setCurrentIndex(2);
    Control<QLineEdit>(*form.MetselverbandenTab, "NaamEdit")->setText("muur");
    form.hide();
    form.show();
    EXPECT_EQ(form.PageControl1->currentWidget(), form.MetselverbandenTab);
    EXPECT_EQ(Control<QLineEdit>(*form.MetselverbandenTab, "NaamEdit")->text(),
              "Halfsteensverband");
}

TEST(MainForm, MinimisingAndRestoringKeepsWhatTheUserTyped) {
    ShownMainForm w;
    app::TMainForm& form = *w.form;
    EXPECT_TRUE(form.windowFlags() & Qt::Window);  // its own taskbar button
    form.PageControl1->setCurrentIndex(1);
    Control<QLineEdit>(*form.MetselverbandenTab, "NaamEdit")->setText("muur");
    form.showMinimized();
    form.showNormal();
    EXPECT_EQ(form.PageControl1->currentIndex(), 1);
    EXPECT_EQ(Control<QLineEdit>(*form.MetselverbandenTab, "NaamEdit")->text(), "muur");
}

class BondChoice : public ::testing::TestWithParam<int> {};

TEST_P(BondChoice, ShowsTheBondsPictureAndPutsItsNameInTheNameField) {
    ShownMainForm w;
    app::TMainForm& form = *w.form;
    const int bond = GetParam();
    Control<QLineEdit>(*form.MetselverbandenTab, "NaamEdit")->setText("eigen naam");
    // What a choice in the drop-down list does, also of the item already shown.
    Control<QComboBox>(*form.MetselverbandenTab, "ComboBoxMetselverbanden")->setCurrentIndex(bond);
    emit Control<QComboBox>(*form.MetselverbandenTab, "ComboBoxMetselverbanden")->activated(bond);

    EXPECT_EQ(Control<QLineEdit>(*form.MetselverbandenTab, "NaamEdit")->text(), kBonds[bond]);
    QLabel* image = ShownImage(form);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->objectName(), QStringLiteral("UitlegImage") + kBonds[bond]);
    EXPECT_EQ(
        image->geometry(),
        Control<QLabel>(*form.MetselverbandenTab, "UitlegImageHalfsteensverband")->geometry());
    if (bond == 9) {
        EXPECT_TRUE(image->pixmap().isNull()) << "Wildverband has no picture";
    } else {
        EXPECT_EQ(image->pixmap().size(), QSize(320, 200));
    }
}

INSTANTIATE_TEST_SUITE_P(AllBonds, BondChoice, ::testing::Range(0, 10),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(kBonds[info.param]);
                         });

TEST(MainForm, EveryBondHasItsOwnPicture) {
    ShownMainForm w;
    for (int a = 0; a < 9; ++a) {
        for (int b = a + 1; b < 9; ++b) {
            const std::string first = std::string("UitlegImage") + kBonds[a];
            const std::string second = std::string("UitlegImage") + kBonds[b];
            EXPECT_NE(Control<QLabel>(*w.form, first.c_str())->pixmap().toImage(),
                      Control<QLabel>(*w.form, second.c_str())->pixmap().toImage())
                << kBonds[a] << " and " << kBonds[b];
        }
    }
}

TEST(MainForm, TypingIntoTheComboFieldMeansNoItemAndShowsHalfsteensverband) {
    ShownMainForm w;
    app::TMainForm& form = *w.form;
    Control<QComboBox>(*form.MetselverbandenTab, "ComboBoxMetselverbanden")->setCurrentIndex(2);
    ASSERT_EQ(form.MetselverbandenTab->BondItemIndex(), 2);
    Control<QComboBox>(*form.MetselverbandenTab, "ComboBoxMetselverbanden")
        ->lineEdit()
        ->selectAll();
    // The field has the focus, so the completer offers "Kruisverband" until the text differs.
    QTest::keyClicks(
        Control<QComboBox>(*form.MetselverbandenTab, "ComboBoxMetselverbanden")->lineEdit(),
        "Kruiswerk");
    EXPECT_EQ(form.MetselverbandenTab->BondItemIndex(), -1);
    EXPECT_EQ(ShownImage(form)->objectName(), "UitlegImageHalfsteensverband");
    EXPECT_EQ(Control<QLineEdit>(*form.MetselverbandenTab, "NaamEdit")->text(),
              "Halfsteensverband");
}

TEST(MainForm, SluitenClosesTheWindowAtOnceWithoutAQuestion) {
    ShownMainForm w;
    Control<QLineEdit>(*w.form->MetselverbandenTab, "NaamEdit")->setText("niet bewaard");
    QTest::mouseClick(w.form->CloseButton, Qt::LeftButton);
    EXPECT_FALSE(w.form->isVisible());
    EXPECT_TRUE(w.platform.messages.empty());
    EXPECT_TRUE(w.platform.dialogs.empty());
}

TEST(MainForm, GlassStripHasTheWindowColourWithoutComposition) {
    ShownMainForm w;
    const QWidget* strip = w.form->BottomPanel;
    EXPECT_EQ(strip->geometry(), QRect(0, 550, 652, 2));
    EXPECT_EQ(strip->palette().color(QPalette::Window), w.form->palette().color(QPalette::Window));
}

TEST(StartUp, CreatesTheMainWindowAndFourHiddenForms) {
    FakePlatform platform;
    app::Forms forms = app::StartUp(platform);
    ASSERT_TRUE(forms.mainForm);
    EXPECT_FALSE(forms.mainForm->isVisible());
    const QWidget* hidden[] = {forms.aboutForm, forms.newVrijHatch, forms.errorForm,
                               forms.inputRubberForm};
    for (const QWidget* form : hidden) {
        ASSERT_NE(form, nullptr);
        EXPECT_FALSE(form->isVisible()) << form->objectName().toStdString();
        EXPECT_EQ(form->parentWidget(), forms.mainForm.get());
    }
    EXPECT_EQ(forms.mainForm->NewVrijHatch, forms.newVrijHatch);
    EXPECT_EQ(forms.mainForm->ErrorForm, forms.errorForm);
    EXPECT_EQ(forms.mainForm->InputRubberForm, forms.inputRubberForm);
}

}  // namespace
}  // namespace murvex::test
