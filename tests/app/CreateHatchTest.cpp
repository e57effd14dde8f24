// "Maak Hatch" on the bond tab, from the edits to the bytes of the file.
#include <gtest/gtest.h>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "AppTestSupport.h"
#include "Msg.h"
#include "PatternFile.h"
#include "TempDir.h"

namespace murvex::test {
namespace {

class CreateHatch : public ::testing::Test {
  protected:
    ShownMainForm w;
    TempDir dir;
    app::TMainForm& form = *w.form;

    void Press() {
        QTest::mouseClick(Control<QPushButton>(*form.MetselverbandenTab, "CreateHatchButton"),
                          Qt::LeftButton);
    }
};

TEST_F(CreateHatch, DefaultsWriteTheHalfsteensverbandFile) {
    const std::string file = dir.File("half.pat");
    w.platform.dialogAnswers = {file};
    Press();
    EXPECT_EQ(ReadText(file),
              JoinCrLf(LineList{";%UNITS=MM", ";", "*Halfsteensverband", ";%TYPE=MODEL",
                                "0.000, 0, 0, 0, 125.000, 210.000, -10.000",
                                "0.000, 0.000, 50.000, 0, 125.000, 210.000, -10.000",
                                "0.000, 110.000, 62.500, 0, 125.000, 210.000, -10.000",
                                "0.000, 110.000, 112.500, 0, 125.000, 210.000, -10.000",
                                "90.000, 0, 0, 0, 220.000, 50.000, -75.000",
                                "90.000, 210.000, 0.000, 0, 220.000, 50.000, -75.000",
                                "90.000, 110.000, 62.500, 0, 220.000, 50.000, -75.000",
                                "90.000, 320.000, 62.500, 0, 220.000, 50.000, -75.000", ";"}));
    ASSERT_EQ(w.platform.dialogs.size(), 1u);
    const FileDialog& shown = w.platform.dialogs[0].dialog;
    EXPECT_EQ(shown.title, "Save");
    EXPECT_EQ(shown.filterName, "hatchfiles");
    EXPECT_EQ(shown.filterMask, "*.pat");
    EXPECT_EQ(shown.defaultExt, "pat");
    EXPECT_EQ(w.platform.dialogs[0].owner, form.Handle());
    EXPECT_TRUE(w.platform.messages.empty());
}

TEST_F(CreateHatch, KruisverbandRotatedThirtyDegrees) {
    const std::string file = dir.File("kruis.pat");
    Control<QComboBox>(*form.MetselverbandenTab, "ComboBoxMetselverbanden")->setCurrentIndex(2);
    Control<QLineEdit>(*form.MetselverbandenTab, "HoekverdraaiingEdit")->setText("30");
    w.platform.dialogAnswers = {file};
    Press();
    EXPECT_EQ(ReadText(file),
              JoinCrLf(LineList{";%UNITS=MM",
                                ";",
                                "*Kruisverband",
                                ";%TYPE=MODEL",
                                "30.000, 0, 0, 0, 125.000, 100.000, -10.000",
                                "30.000, -25.000, 43.301, 0, 125.000, 100.000, -10.000",
                                "120.000, 0, 0, 0, 110.000, 50.000, -75.000",
                                "120.000, 86.603, 50.000, 0, 110.000, 50.000, -75.000",
                                "30.000, 111.644, 136.627, 0, 250.000, 210.000, -10.000",
                                "30.000, 86.644, 179.928, 0, 250.000, 210.000, -10.000",
                                "120.000, 111.644, 136.627, 0, 220.000, 50.000, -200.000",
                                "120.000, 293.510, 241.627, 0, 220.000, 50.000, -200.000",
                                "30.000, 49.144, 244.880, 0, 250.000, 100.000, -1110.000",
                                "30.000, 24.144, 288.181, 0, 250.000, 100.000, -1110.000",
                                "120.000, 49.144, 244.880, 0, 1210.000, 50.000, -200.000",
                                "120.000, 135.747, 294.880, 0, 1210.000, 50.000, -200.000",
                                "30.000, 144.407, 299.880, 0, 250.000, 210.000, -1000.000",
                                "30.000, 119.407, 343.181, 0, 250.000, 210.000, -1000.000",
                                "120.000, 144.407, 299.880, 0, 1210.000, 50.000, -200.000",
                                "120.000, 326.272, 404.880, 0, 1210.000, 50.000, -200.000",
                                "30.000, 334.933, 409.880, 0, 250.000, 210.000, -1000.000",
                                "30.000, 309.933, 453.181, 0, 250.000, 210.000, -1000.000",
                                "120.000, 334.933, 409.880, 0, 1210.000, 50.000, -200.000",
                                "120.000, 516.798, 514.880, 0, 1210.000, 50.000, -200.000",
                                "30.000, 525.458, 519.880, 0, 250.000, 210.000, -1000.000",
                                "30.000, 500.458, 563.181, 0, 250.000, 210.000, -1000.000",
                                "120.000, 525.458, 519.880, 0, 1210.000, 50.000, -200.000",
                                "120.000, 707.323, 624.880, 0, 1210.000, 50.000, -200.000",
                                "30.000, 715.984, 629.880, 0, 250.000, 210.000, -1000.000",
                                "30.000, 690.984, 673.181, 0, 250.000, 210.000, -1000.000",
                                "120.000, 715.984, 629.880, 0, 1210.000, 50.000, -200.000",
                                "120.000, 897.849, 734.880, 0, 1210.000, 50.000, -200.000",
                                "30.000, 906.509, 739.880, 0, 250.000, 210.000, -1000.000",
                                "30.000, 881.509, 783.181, 0, 250.000, 210.000, -1000.000",
                                "120.000, 906.509, 739.880, 0, 1210.000, 50.000, -200.000",
                                "120.000, 1088.375, 844.880, 0, 1210.000, 50.000, -200.000",
                                ";"}));
}

TEST_F(CreateHatch, LettersInADimensionGiveOneErrorBoxNoDialogAndNormalisedEdits) {
    w.platform.decimalSeparator = ',';
    Control<QLineEdit>(*form.MetselverbandenTab, "SteenlengteEdit")->setText("210.5");
    Control<QLineEdit>(*form.MetselverbandenTab, "SteenhoogteEdit")->setText("vijftig");
    Control<QLineEdit>(*form.MetselverbandenTab, "SteenhoogteVoegEdit")->setText("62.5");
    Control<QLineEdit>(*form.MetselverbandenTab, "HoekverdraaiingEdit")->setText("1.5");
    Press();
    ASSERT_EQ(w.platform.messages.size(), 1u);
    EXPECT_EQ(w.platform.messages[0].text, "Er is een ongeldige waarde ingevoerd");
    EXPECT_EQ(w.platform.messages[0].title, "Error");
    EXPECT_EQ(w.platform.messages[0].style, style::kError);
    EXPECT_EQ(w.platform.messages[0].owner, form.Handle());
    EXPECT_TRUE(w.platform.dialogs.empty());
    EXPECT_TRUE(dir.Entries().empty());
    // The dimensions show their normalised texts; the rotation text is left alone.
    EXPECT_EQ(Control<QLineEdit>(*form.MetselverbandenTab, "SteenlengteEdit")->text(), "210,5");
    EXPECT_EQ(Control<QLineEdit>(*form.MetselverbandenTab, "SteenLengteVoegEdit")->text(), "220");
    EXPECT_EQ(Control<QLineEdit>(*form.MetselverbandenTab, "SteenhoogteEdit")->text(), "vijftig");
    EXPECT_EQ(Control<QLineEdit>(*form.MetselverbandenTab, "SteenhoogteVoegEdit")->text(), "62,5");
    EXPECT_EQ(Control<QLineEdit>(*form.MetselverbandenTab, "HoekverdraaiingEdit")->text(), "1.5");
}

TEST_F(CreateHatch, CommaTextIsAcceptedAndShownWithThePointOfThisSystem) {
    const std::string file = dir.File("tegel.pat");
    Control<QComboBox>(*form.MetselverbandenTab, "ComboBoxMetselverbanden")->setCurrentIndex(1);
    Control<QLineEdit>(*form.MetselverbandenTab, "SteenhoogteVoegEdit")->setText("62,5");
    w.platform.dialogAnswers = {file};
    Press();
    EXPECT_EQ(Control<QLineEdit>(*form.MetselverbandenTab, "SteenhoogteVoegEdit")->text(), "62.5");
    EXPECT_EQ(ReadText(file),
              JoinCrLf(LineList{";%UNITS=MM", ";", "*Tegelverband", ";%TYPE=MODEL",
                                "0.000, 0, 0, 0, 62.500, 210.000, -10.000",
                                "0.000, 0.000, 50.000, 0, 62.500, 210.000, -10.000",
                                "90.000, 0, 0, 0, 220.000, 50.000, -12.500",
                                "90.000, 210.000, 0.000, 0, 220.000, 50.000, -12.500", ";"}));
}

TEST_F(CreateHatch, RotationThatIsNotANumberCountsAsZeroSilently) {
    const std::string file = dir.File("tegel.pat");
    Control<QComboBox>(*form.MetselverbandenTab, "ComboBoxMetselverbanden")->setCurrentIndex(1);
    Control<QLineEdit>(*form.MetselverbandenTab, "HoekverdraaiingEdit")->setText("dertig");
    w.platform.dialogAnswers = {file};
    Press();
    EXPECT_TRUE(w.platform.messages.empty());
    const std::string bytes = ReadText(file);
    EXPECT_NE(bytes.find("\r\n0.000, 0, 0, 0, 62.500, 210.000, -10.000\r\n"), std::string::npos);
    EXPECT_EQ(Control<QLineEdit>(*form.MetselverbandenTab, "HoekverdraaiingEdit")->text(),
              "dertig");
}

TEST_F(CreateHatch, NameLineTakesTheNameFieldAsTypedAfterTypingIntoTheCombo) {
    const std::string file = dir.File("eigen.pat");
    Control<QComboBox>(*form.MetselverbandenTab, "ComboBoxMetselverbanden")
        ->setEditText("mijn verband");
    Control<QLineEdit>(*form.MetselverbandenTab, "NaamEdit")->setText("Gevel, noord ");
    w.platform.dialogAnswers = {file};
    Press();
    const std::string bytes = ReadText(file);
    EXPECT_EQ(bytes.substr(0, 31), ";%UNITS=MM\r\n;\r\n*Gevel, noord \r\n");
    // Nothing chosen in the combo: the Halfsteensverband lines.
    EXPECT_NE(bytes.find("90.000, 320.000, 62.500, 0, 220.000, 50.000, -75.000"),
              std::string::npos);
}

TEST_F(CreateHatch, CancelInTheDialogWritesNothing) {
    w.platform.dialogAnswers = {std::nullopt};
    Press();
    EXPECT_EQ(w.platform.dialogs.size(), 1u);
    EXPECT_TRUE(dir.Entries().empty());
    EXPECT_TRUE(w.platform.messages.empty());
}

TEST_F(CreateHatch, ExistingFileAnsweredCancelStaysUntouched) {
    const std::string file = dir.File("oud.pat");
    WriteText(file, "oude inhoud");
    w.platform.dialogAnswers = {file};
    w.platform.messageAnswers = {Answer::Cancel};
    Press();
    ASSERT_EQ(w.platform.messages.size(), 1u);
    EXPECT_EQ(w.platform.messages[0].text, "Hach bestaat al. Deze wissen?");
    EXPECT_EQ(w.platform.messages[0].style, style::kQuestionCancelDefault);
    EXPECT_EQ(ReadText(file), "oude inhoud");
    EXPECT_TRUE(w.platform.recycled.empty());
}

TEST_F(CreateHatch, ExistingFileAnsweredOkGoesToTheRecycleBinAndIsReplaced) {
    const std::string file = dir.File("oud.pat");
    WriteText(file, "oude inhoud");
    w.platform.dialogAnswers = {file};
    w.platform.messageAnswers = {Answer::Ok};
    Press();
    EXPECT_EQ(w.platform.recycledContents, std::vector<std::string>{"oude inhoud"});
    EXPECT_EQ(ReadText(file).substr(0, 12), ";%UNITS=MM\r\n");
}

TEST_F(CreateHatch, TheDialogOffersTheNameChosenLastAndAddsTheExtension) {
    const std::string file = dir.File("gevel");
    w.platform.dialogAnswers = {file, std::nullopt};
    Press();
    Press();
    ASSERT_EQ(w.platform.dialogs.size(), 2u);
    EXPECT_EQ(w.platform.dialogs[1].dialog.fileName, file + ".pat");
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"gevel.pat"});
}

TEST_F(CreateHatch, AFileThatCannotBeCreatedEndsTheCommandInTheErrorBox) {
    const std::string file = dir.File("geen-map/muur.pat");
    w.platform.dialogAnswers = {file};
    Press();
    EXPECT_EQ(w.platform.applicationErrors, std::vector<std::string>{"Cannot create file " + file});
    // The window stays usable: the next press writes.
    const std::string good = dir.File("muur.pat");
    w.platform.dialogAnswers = {good};
    Press();
    EXPECT_EQ(ReadText(good).substr(0, 12), ";%UNITS=MM\r\n");
}

}  // namespace
}  // namespace murvex::test
