// The about box, the hyperlink label, the small forms, the font substitution and the cursors.
#include <gtest/gtest.h>
#include <QApplication>
#include <QBitmap>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "AboutForm.h"
#include "AppTestSupport.h"
#include "Cursors.h"
#include "DesignFonts.h"
#include "ErrorForm.h"
#include "HyperLabel.h"
#include "InputRubberForm.h"
#include "Msg.h"
#include "NewVrijHatch.h"
#include "OpenPage.h"
#include "WindowFrame.h"

namespace murvex::test {
namespace {

TEST(About, OpensModallyWithItsTextsAndReturnsToTheSameState) {
    ShownMainForm w;
    app::TMainForm& form = *w.form;
    form.PageControl1->setCurrentIndex(1);
    Control<QLineEdit>(*form.MetselverbandenTab, "SteenlengteEdit")->setText("215");
    const int aboutFormsBefore = static_cast<int>(form.findChildren<app::TAboutForm*>().size());

    bool seen = false;
    WhenModalOpens([&](QWidget* modal) {
        seen = true;
        auto* about = qobject_cast<app::TAboutForm*>(modal);
        ASSERT_NE(about, nullptr);
        EXPECT_TRUE(about->isModal());
        EXPECT_EQ(about->windowTitle(), "About");
        EXPECT_EQ(about->size(), QSize(260, 227));
        EXPECT_EQ(about->TitleLabel->text(), "Murvex Beta");
        EXPECT_EQ(about->Label2->text(), "Version 1.1.0.1  (5 April 2011)");
        EXPECT_EQ(about->BitBtn1->text(), "Sluiten");
        EXPECT_EQ(about->BitBtn1->geometry(), QRect(88, 182, 75, 25));
        // The title has the form's new face where that face has its size, and always its
        // own size and style on screen.
        const QFontInfo title(about->TitleLabel->font());
        QFont inFormFace = about->TitleLabel->font();
        inFormFace.setFamily(about->font().family());
        const bool faceHasTheSize = QFontInfo(inFormFace).pixelSize() == 19;
        EXPECT_EQ(title.family(), faceHasTheSize ? about->font().family() : "Tahoma");
        EXPECT_EQ(title.pixelSize(), 19);
        EXPECT_TRUE(title.bold());
        EXPECT_TRUE(title.italic());
        QTest::mouseClick(about->BitBtn1, Qt::LeftButton);
    });
    QTest::mouseClick(form.AboutButton, Qt::LeftButton);

    EXPECT_TRUE(seen);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(form.PageControl1->currentIndex(), 1);
    EXPECT_EQ(Control<QLineEdit>(*form.MetselverbandenTab, "SteenlengteEdit")->text(), "215");
    EXPECT_EQ(static_cast<int>(form.findChildren<app::TAboutForm*>().size()), aboutFormsBefore);
}

TEST(HyperLabel, TurnsBlueAndUnderlinedUnderTheMouseAndOpensItsAddress) {
    FakePlatform platform;
    QWidget host;
    auto* label = new app::THyperLabel(platform, &host);
    EXPECT_EQ(label->Hyperlink(), "http://");
    EXPECT_EQ(label->cursor().shape(), Qt::PointingHandCursor);
    label->setText("site");
    label->SetHyperlink("http://www.murvex.nl");
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, QColor(10, 20, 30));
    label->setPalette(p);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    host.show();

    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(label, &enter);
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_TRUE(label->font().underline());
    EXPECT_FALSE(label->font().bold());

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(label, &leave);
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(10, 20, 30));
    EXPECT_FALSE(label->font().underline());
    EXPECT_FALSE(label->font().bold());

    QTest::mouseClick(label, Qt::RightButton);
    EXPECT_TRUE(platform.openedUrls.empty());
    QTest::mouseClick(label, Qt::LeftButton);
    EXPECT_EQ(platform.openedUrls, std::vector<std::string>{"http://www.murvex.nl"});
}

TEST(OpenPageOrTell, WithoutABrowserTheBoxGivesThePathOrTheAddress) {
    struct Row {
        const char* name;
        bool opens;
        const char* address;
        const char* shown;  // last line of the box; nullptr: no box
    } const rows[] = {
        {"browser takes it", true, "http://www.murvex.nl", nullptr},
        {"web address", false, "http://www.murvex.nl", "http://www.murvex.nl"},
        {"local file as its path", false, "file:///tmp/help/patroon%20bestand.html",
         "/tmp/help/patroon bestand.html"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FakePlatform platform;
        platform.urlOpens = row.opens;
        EXPECT_EQ(app::OpenPageOrTell(platform, QString::fromLatin1(row.address), 7), row.opens);
        EXPECT_EQ(platform.openedUrls, std::vector<std::string>{row.address});
        if (!row.shown) {
            EXPECT_TRUE(platform.messages.empty());
            continue;
        }
        ASSERT_EQ(platform.messages.size(), 1u);
        const MessageCall& box = platform.messages[0];
        EXPECT_EQ(box.text.substr(box.text.rfind('\n') + 1), row.shown);
        EXPECT_EQ(box.title, "Murvex");
        EXPECT_EQ(box.style, style::kInformation);
        EXPECT_EQ(box.owner, 7);
    }
}

TEST(SubstituteFormFont, TahomaEightBecomesMsSansSerifNine) {
    QWidget form;
    form.setFont(app::DesignFont("Tahoma", 8));
    app::SubstituteFormFont(&form);
    EXPECT_EQ(form.font().family(), "MS Sans Serif");
    EXPECT_EQ(app::DesignPoints(form.font()), 9);
    EXPECT_EQ(QFontInfo(form.font()).family(), "MS Sans Serif");
}

TEST(SubstituteFormFont, AFormAlreadyInMsSansSerifKeepsItsFont) {
    QWidget form;
    form.setFont(app::DesignFont("ms sans serif", 10));
    app::SubstituteFormFont(&form);
    EXPECT_EQ(form.font().family(), "ms sans serif");
    EXPECT_EQ(app::DesignPoints(form.font()), 10);
}

TEST(SubstituteFormFont, ControlsWithTheirOwnFontKeepIt) {
    ShownMainForm w;
    EXPECT_EQ(w.form->font().family(), "MS Sans Serif");
    EXPECT_EQ(w.form->Label2->font().family(), "Tahoma");
    EXPECT_EQ(Control<QLineEdit>(*w.form->MetselverbandenTab, "SteenlengteEdit")->font().family(),
              "MS Sans Serif");
}

TEST(WindowFrame, NoCompositionOffWindows) {
    EXPECT_FALSE(app::IsWindows6OrLater());
    EXPECT_FALSE(app::CompositionEnabled());
}

TEST(SmallForms, ErrorFormAsLaidOut) {
    app::TErrorForm form;
    EXPECT_EQ(form.windowTitle(), "Murvex");
    EXPECT_EQ(form.size(), QSize(438, 312));
    EXPECT_EQ(form.ErrorMemo->geometry(), QRect(10, 8, 417, 243));
    EXPECT_EQ(form.ErrorMemo->toPlainText(), "");
    EXPECT_EQ(form.OkButton->text(), "Ok");
    EXPECT_TRUE(form.OkButton->isDefault());
    form.show();
    QTest::mouseClick(form.OkButton, Qt::LeftButton);
    EXPECT_EQ(form.result(), QDialog::Accepted);
}

TEST(SmallForms, NewVrijHatchAsLaidOut) {
    app::TNewVrijHatch form;
    EXPECT_EQ(form.windowTitle(), "Nieuwe Hatch gaan maken");
    EXPECT_EQ(form.size(), QSize(340, 106));
    QFont title = QApplication::font();  // a window system's bold title, its icon and buttons
    title.setBold(true);
    title.setPixelSize(15);
    EXPECT_GE(form.width(), QFontMetrics(title).horizontalAdvance(form.windowTitle()) + 96);
    EXPECT_EQ(form.Label1->text(), "Afmeting:");
    EXPECT_EQ(form.Label2->text(), "Breedte:");
    EXPECT_EQ(form.Label3->text(), "Hoogte:");
    EXPECT_TRUE(form.Label2->alignment() & Qt::AlignRight);
    EXPECT_EQ(form.BreedteEdit->text(), "0");
    EXPECT_EQ(form.HoogteEdit->text(), "0");
    EXPECT_EQ(form.BreedteEdit->geometry().topLeft(), QPoint(62, 22));
    EXPECT_EQ(form.HoogteEdit->geometry().topLeft(), QPoint(62, 46));
    EXPECT_EQ(form.ButtonOk->text(), "Ok");
    EXPECT_TRUE(form.ButtonOk->isDefault());
    EXPECT_EQ(form.ButtonCancel->text(), "Annuleren");
    form.show();
    QTest::mouseClick(form.ButtonCancel, Qt::LeftButton);
    EXPECT_EQ(form.result(), QDialog::Rejected);
    form.show();
    QTest::mouseClick(form.ButtonOk, Qt::LeftButton);
    EXPECT_EQ(form.result(), QDialog::Accepted);
}

TEST(SmallForms, NewVrijHatchEnterPressesTheFocusedButtonAndEachOpeningStartsInBreedte) {
    app::TNewVrijHatch form;
    for (const int tabs : {2, 0, 3}) {  // to Annuleren, none, to Ok
        WhenModalOpens([&](QWidget* modal) {
            QApplication::setActiveWindow(modal);
            ASSERT_EQ(QApplication::focusWidget(), form.BreedteEdit);
            EXPECT_EQ(form.BreedteEdit->selectedText(), form.BreedteEdit->text());
            for (int i = 0; i < tabs; ++i)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        });
        EXPECT_EQ(form.exec(), tabs == 2 ? QDialog::Rejected : QDialog::Accepted);
    }
}

TEST(SmallForms, InputRubberFormIsABorderlessYellowEdit) {
    app::TInputRubberForm form;
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(form.InPutRubberEdit->geometry(), QRect(0, 0, 120, 21));
    EXPECT_EQ(form.InPutRubberEdit->palette().color(QPalette::Base), QColor(255, 255, 0));
}

// Pixels of a 32 x 32 cursor picture: true where it draws.
bool Drawn(const QImage& image, int x, int y) {
    return qGray(image.pixel(x, y)) < 128;
}

TEST(DrawingCursors, RegisteredWithTheirShapesAndHotSpot) {
    ASSERT_TRUE(app::RegisterDrawingCursors());
    for (int number : {app::kTekenCursor, app::kKruisCursor}) {
        const QCursor cursor = app::ScreenCursor(number);
        EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
        EXPECT_EQ(cursor.hotSpot(), QPoint(16, 16));
        EXPECT_EQ(cursor.bitmap().size(), QSize(32, 32));
    }
    EXPECT_EQ(app::ScreenCursor(103).shape(), Qt::ArrowCursor);

    const QImage teken = app::ScreenCursor(app::kTekenCursor).bitmap().toImage();
    EXPECT_TRUE(Drawn(teken, 10, 10));  // frame corners
    EXPECT_TRUE(Drawn(teken, 22, 22));
    EXPECT_TRUE(Drawn(teken, 16, 16));  // the small cross
    EXPECT_TRUE(Drawn(teken, 14, 16));
    EXPECT_FALSE(Drawn(teken, 13, 16));  // between the small cross and the frame
    EXPECT_TRUE(Drawn(teken, 0, 16));    // arms
    EXPECT_TRUE(Drawn(teken, 16, 31));
    EXPECT_FALSE(Drawn(teken, 9, 16));  // arms stop short of the frame
    EXPECT_FALSE(Drawn(teken, 16, 24));
    EXPECT_FALSE(Drawn(teken, 3, 3));

    const QImage kruis = app::ScreenCursor(app::kKruisCursor).bitmap().toImage();
    EXPECT_TRUE(Drawn(kruis, 16, 16));   // centre dot
    EXPECT_FALSE(Drawn(kruis, 15, 16));  // gap around it
    EXPECT_FALSE(Drawn(kruis, 16, 18));
    EXPECT_TRUE(Drawn(kruis, 13, 16));
    EXPECT_TRUE(Drawn(kruis, 16, 19));
    EXPECT_TRUE(Drawn(kruis, 31, 16));
    EXPECT_FALSE(Drawn(kruis, 10, 10));
}

}  // namespace
}  // namespace murvex::test
