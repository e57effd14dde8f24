// The Qt side of the platform: message box set-up, the file dialog set-up and window handles.
#include <gtest/gtest.h>
#include <QTest>

#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include "AppTestSupport.h"

#include "Msg.h"
#include "QtPlatform.h"
#include "SaveHatch.h"
#include "StartUp.h"
#include "TempDir.h"
#include "WindowHandles.h"

namespace murvex::test {
namespace {

struct BoxCase {
    const char* name;
    MessageStyle style;
    QMessageBox::StandardButtons buttons;
    QMessageBox::Icon icon;
    QMessageBox::StandardButton defaultButton;
    Answer escapeCode;  // what Escape or the close box answers
};

class MessageBoxStyle : public ::testing::TestWithParam<BoxCase> {};

TEST_P(MessageBoxStyle, ButtonsIconDefaultAndEscape) {
    const BoxCase& c = GetParam();
    QMessageBox box;
    app::ConfigureMessageBox(box, c.style);
    EXPECT_EQ(box.standardButtons(), c.buttons);
    EXPECT_EQ(box.icon(), c.icon);
    ASSERT_NE(box.defaultButton(), nullptr);
    EXPECT_EQ(box.standardButton(box.defaultButton()), c.defaultButton);
    EXPECT_EQ(app::ButtonCode(box, nullptr), c.escapeCode);
    for (QAbstractButton* b : box.buttons()) {
        const Answer code = app::ButtonCode(box, b);
        EXPECT_EQ(code, box.standardButton(b) == QMessageBox::Ok ? Answer::Ok : Answer::Cancel);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Styles, MessageBoxStyle,
    ::testing::Values(BoxCase{"Warning", style::kWarning, QMessageBox::Ok, QMessageBox::Warning,
                              QMessageBox::Ok, Answer::Ok},
                      BoxCase{"Error", style::kError, QMessageBox::Ok, QMessageBox::Critical,
                              QMessageBox::Ok, Answer::Ok},
                      BoxCase{"Question", style::kQuestion, QMessageBox::Ok | QMessageBox::Cancel,
                              QMessageBox::Question, QMessageBox::Ok, Answer::Cancel},
                      BoxCase{"QuestionCancelDefault", style::kQuestionCancelDefault,
                              QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Question,
                              QMessageBox::Cancel, Answer::Cancel}),
    [](const ::testing::TestParamInfo<BoxCase>& info) { return std::string(info.param.name); });

TEST(FileDialogSetUp, SaveDialogForPatternFiles) {
    TempDir dir;
    FileDialog settings = MakeSaveHatchDialog();
    settings.fileName = dir.File("laatste.pat");
    QFileDialog qd;
    qd.setOption(QFileDialog::DontUseNativeDialog, true);
    app::ConfigureFileDialog(qd, settings);
    EXPECT_EQ(qd.windowTitle(), "Save");
    EXPECT_EQ(qd.nameFilters(), QStringList{"hatchfiles (*.pat)"});
    EXPECT_EQ(qd.defaultSuffix(), "pat");
    EXPECT_TRUE(qd.testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(qd.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(qd.directory().absolutePath(), QString::fromStdString(dir.Path().string()));
}

TEST(FileDialogSetUp, OpenDialogWantsAnExistingFile) {
    QFileDialog qd;
    qd.setOption(QFileDialog::DontUseNativeDialog, true);
    app::ConfigureFileDialog(qd, MakeOpenHatchDialog());
    EXPECT_EQ(qd.acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(qd.fileMode(), QFileDialog::ExistingFile);
}

TEST(QtPlatformFiles, OnlyFilesExistAndGoToTheTrashOrAway) {
    TempDir dir;
    app::QtPlatform platform;
    const std::string file = dir.File("a.pat");
    WriteText(file, "x");
    EXPECT_TRUE(platform.FileExists(file));
    EXPECT_FALSE(platform.FileExists(dir.Path().string()));  // a folder is not a file
    EXPECT_FALSE(platform.FileExists(dir.File("b.pat")));
    EXPECT_TRUE(platform.DeleteFileForGood(file));
    EXPECT_FALSE(platform.FileExists(file));
    EXPECT_FALSE(platform.DeleteFileForGood(file));
    EXPECT_FALSE(platform.MoveToRecycleBin(dir.File("missing.pat")));
}

TEST(QtPlatformCursor, BusyAndBackToTheOldCursor) {
    app::QtPlatform platform;
    EXPECT_EQ(platform.CurrentCursor(), Cursor::Default);
    platform.SetCursor(Cursor::Busy);
    platform.SetCursor(Cursor::Busy);
    EXPECT_EQ(platform.CurrentCursor(), Cursor::Busy);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    platform.SetCursor(Cursor::Default);
    EXPECT_EQ(platform.CurrentCursor(), Cursor::Default);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(WindowHandles, StableWhileTheWindowLivesAndGoneAfterwards) {
    EXPECT_EQ(app::HandleOf(nullptr), 0);
    EXPECT_EQ(app::WindowOf(0), nullptr);
    EXPECT_EQ(app::WindowOf(-5), nullptr);
    WindowHandle handle = 0;
    {
        QWidget window;
        handle = app::HandleOf(&window);
        EXPECT_GT(handle, 0);
        EXPECT_EQ(app::HandleOf(&window), handle);
        EXPECT_EQ(app::WindowOf(handle), &window);
        EXPECT_NE(handle, app::ApplicationHandle());
    }
    EXPECT_EQ(app::WindowOf(handle), nullptr);
}

TEST(QtPlatformModal, SavingThroughTheRealDialogLeavesNoQtSettingsFile) {
    TempDir home;
    ScopedEnv homeVar("HOME", home.Path().c_str());
    ScopedEnv configHome("XDG_CONFIG_HOME", (home.Path() / "config").c_str());
    app::KeepNoSettings();
    app::QtPlatform platform;
    FileDialog settings = MakeSaveHatchDialog();
    WhenModalOpens([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->setDirectory(QString::fromStdString(home.Path().string()));
        dialog->selectFile("gevel");
        QMetaObject::invokeMethod(dialog, "accept");
    });
    ASSERT_TRUE(platform.RunFileDialog(settings, 0));
    EXPECT_EQ(home.Entries(), std::vector<std::string>{}) << "no settings file, no folder";
}

TEST(QtTranslations, DutchGivesQtsOwnButtonsInDutchAndEnglishTakesThemAway) {
    ASSERT_TRUE(app::InstallQtTranslations(QLocale(QLocale::Dutch, QLocale::Netherlands)));
    {
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), "Annuleren");
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog, true);
        QStringList labels;
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            labels << label->text();
        EXPECT_TRUE(labels.join('|').contains("Bestands")) << labels.join('|').toStdString();
    }
    EXPECT_FALSE(app::InstallQtTranslations(QLocale(QLocale::English, QLocale::UnitedStates)));
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), "Cancel");
}

}  // namespace
}  // namespace murvex::test

namespace murvex::test {
namespace {

// The real boxes and dialogs, answered from inside their own modal loop.
TEST(QtPlatformModal, EnterInTheReplaceQuestionChoosesCancel) {
    app::QtPlatform platform;
    bool seen = false;
    WhenModalOpens([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        seen = true;
        EXPECT_EQ(box->windowTitle(), "Error");
        EXPECT_EQ(box->text(), "Hach bestaat al. Deze wissen?");
        QTest::keyClick(box, Qt::Key_Return);
    });
    EXPECT_FALSE(AskQuestion(platform, "Hach bestaat al. Deze wissen?", "Error", 2, 0));
    EXPECT_TRUE(seen);
}

TEST(QtPlatformModal, AnsweredInDutchAndWithoutATitleTheBoxCarriesTheProgramsName) {
    app::QtPlatform platform;
    WhenModalOpens([](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowTitle(), "Murvex");
        QStringList answers;
        for (const auto b : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
            answers << box->button(b)->text();
        EXPECT_EQ(answers, (QStringList{"&Ja", "&Nee", "Annuleren"}));
        EXPECT_EQ(box->standardButton(box->defaultButton()), QMessageBox::Yes);
    });
    EXPECT_EQ(ShowMessageBox(platform, "?", "", style::kYesNoCancel, 0), Answer::Cancel);
}

TEST(QtPlatformModal, SaveDialogAddsTheExtensionAndOffersTheLastNameAgain) {
    TempDir dir;
    app::QtPlatform platform;
    FileDialog settings = MakeSaveHatchDialog();
    WhenModalOpens([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->setDirectory(QString::fromStdString(dir.Path().string()));
        dialog->selectFile("gevel");
        QMetaObject::invokeMethod(dialog, "accept");
    });
    ASSERT_TRUE(platform.RunFileDialog(settings, 0));
    EXPECT_EQ(settings.fileName, dir.File("gevel.pat"));

    WhenModalOpens([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->directory().absolutePath(), QString::fromStdString(dir.Path().string()));
        dialog->reject();
    });
    EXPECT_FALSE(platform.RunFileDialog(settings, 0));
    EXPECT_EQ(settings.fileName, dir.File("gevel.pat"));
}

}  // namespace
}  // namespace murvex::test
