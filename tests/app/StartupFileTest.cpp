// A file named on the command line: which kind it is, and that a pattern file reaches the free
// line tab through its open command while other files are refused.
#include <gtest/gtest.h>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <string>
#include <utility>

#include "AppTestSupport.h"
#include "BondTab.h"
#include "FakePlatform.h"
#include "FigureTab.h"
#include "FreeLineTab.h"
#include "MainForm.h"
#include "Msg.h"
#include "PatternFile.h"
#include "StartupFile.h"
#include "TempDir.h"
#include "TextGridModel.h"

namespace murvex::test {
namespace {

using app::StartupFileKind;

TEST(StartupFileKind, ByExtensionOrFirstLine) {
    TempDir dir;
    struct Row {
        const char* name;
        const char* content;  // nullptr: the file does not exist
        StartupFileKind kind;
    };
    const Row rows[] = {
        {"kruis.pat", ";%UNITS=MM\r\n", StartupFileKind::Pattern},
        {"LOUD.PAT", "", StartupFileKind::Pattern},
        // Named as a pattern file: the open command reports that it cannot be read.
        {"missing.pat", nullptr, StartupFileKind::Pattern},
        {"figuur.txt", ";%SIZE=600,300\r\n;%UNITS=MM\r\n", StartupFileKind::FigureList},
        {"no-extension", ";%size=1,1\r\n", StartupFileKind::FigureList},
        {"notes.txt", "hello\r\n", StartupFileKind::Other},
        {"cut-short.txt", ";%SIZE", StartupFileKind::Other},
        {"missing.txt", nullptr, StartupFileKind::Other},
        {"pattern.pat.txt", ";%UNITS=MM\r\n", StartupFileKind::Other},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string path = dir.File(row.name);
        if (row.content) WriteText(path, row.content);
        EXPECT_EQ(app::ClassifyStartupFile(QString::fromStdString(path)), row.kind);
    }
}

class StartupFile : public ::testing::Test {
  protected:
    FakePlatform fake;
    app::TMainForm form{fake};
    TempDir dir;

    void SetUp() override {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        form.PageControl1->setCurrentWidget(form.MetselverbandenTab);
    }
    TextGrid& Grid() { return GridModelOf(*form.TabSheetVrijeLijn, "LijnGrid")->Grid(); }
};

TEST_F(StartupFile, PatternFileOpensInFreeLineTabAsIfChosenInItsDialog) {
    const std::string path = dir.File("tegels.pat");
    WriteText(path, JoinCrLf(LineList{";%UNITS=INCH", ";", "*Tegels", ";%TYPE=DRAFTING",
                                      "0, 0,0, 0,6.35", "90, 0,0, 0,6.35, 6.35,-6.35", ";"}));

    app::OpenStartupFile(form, QString::fromStdString(path));

    EXPECT_TRUE(fake.dialogs.empty());
    EXPECT_TRUE(fake.messages.empty());
    EXPECT_EQ(form.PageControl1->currentWidget(), form.TabSheetVrijeLijn);
    EXPECT_EQ(Control<QLineEdit>(*form.TabSheetVrijeLijn, "NaamVrijeLijnArcering")->text(),
              "Tegels");
    ASSERT_EQ(GridModelOf(*form.TabSheetVrijeLijn, "LijnGrid")->rowCount(), 2);
    EXPECT_EQ(Grid().Cell(1, 2), "90");
    EXPECT_EQ(Control<QComboBox>(*form.TabSheetVrijeLijn, "VrijeLijnUnits")->currentText(), "INCH");

    // The dialog offers the file next time, and shows itself again.
    QTest::mouseClick(Control<QToolButton>(*form.TabSheetVrijeLijn, "VrijeLijnOpenHatch"),
                      Qt::LeftButton);
    ASSERT_EQ(fake.dialogs.size(), 1u);
    EXPECT_EQ(fake.dialogs[0].dialog.fileName, path);
}

TEST_F(StartupFile, FigureListOpensInTheFigureTabAsIfChosenInItsDialog) {
    const std::string path = dir.File("figuur.txt");
    WriteText(path, ";%SIZE=600,300\r\n;%UNITS=INCH\r\n*Figuur\r\n1,2,3,4\r\n5,6,7,8\r\n");

    app::OpenStartupFile(form, QString::fromStdString(path));

    EXPECT_TRUE(fake.dialogs.empty());
    EXPECT_TRUE(fake.messages.empty());  // no question: there is no figure to lose
    app::TFigureTab& tab = *form.VrijFiguurTabSheet;
    EXPECT_EQ(form.PageControl1->currentWidget(), &tab);
    EXPECT_EQ(tab.Model().TileWidth(), 600);
    EXPECT_EQ(Control<QLineEdit>(tab, "NaamEditVrij")->text(), "Figuur");
    EXPECT_EQ(Control<QComboBox>(tab, "VrijeFiguurUnits")->currentText(), "INCH");
    ASSERT_EQ(GridModelOf(tab, "FiguurGrid")->rowCount(), 2);
    EXPECT_EQ(tab.Model().grid.Cell(3, 2), "7");
    EXPECT_TRUE(Control<QAction>(tab, "SafeVrijFiguurlist")->isEnabled());

    // Next time the command asks again and shows its dialog, offering the file.
    QTest::mouseClick(Control<QToolButton>(tab, "SpeedButtonOpenCoordinaten"), Qt::LeftButton);
    EXPECT_EQ(fake.messages.size(), 1u);
    ASSERT_EQ(fake.dialogs.size(), 1u);
    EXPECT_EQ(fake.dialogs[0].dialog.fileName, path);
}

TEST_F(StartupFile, AFileItsTabCannotReadGetsThatTabsMessage) {
    WriteText(dir.File("fout.txt"), ";%SIZE=abc,10\r\n");
    for (const auto& [name, text] : {std::pair{"missing.pat", "Fout bij lezen van hatchbestand"},
                                     std::pair{"fout.txt", "Onjuiste X-SIZE in bestand"}}) {
        fake.messages.clear();
        app::OpenStartupFile(form, QString::fromStdString(dir.File(name)));
        ASSERT_EQ(fake.messages.size(), 1u) << name;
        EXPECT_EQ(fake.messages[0].text, text);
    }
}

TEST_F(StartupFile, OtherFilesAreRefusedWithAWarningAndChangeNothing) {
    struct Row {
        const char* name;
        const char* content;
        const char* textStart;
    };
    const Row rows[] = {
        {"notes.txt", "hello\r\n", "Murvex opent alleen arceringsbestanden (.pat)"},
        {"leeg", "", "Murvex opent alleen arceringsbestanden (.pat)"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        fake.messages.clear();
        const std::string path = dir.File(row.name);
        WriteText(path, row.content);

        app::OpenStartupFile(form, QString::fromStdString(path));

        ASSERT_EQ(fake.messages.size(), 1u);
        EXPECT_EQ(fake.messages[0].text.rfind(row.textStart, 0), 0u) << fake.messages[0].text;
        EXPECT_NE(fake.messages[0].text.find(path), std::string::npos);
        EXPECT_EQ(fake.messages[0].title, "Murvex");
        EXPECT_EQ(fake.messages[0].style, style::kWarning);
        EXPECT_TRUE(fake.dialogs.empty());
        EXPECT_EQ(form.PageControl1->currentWidget(), form.MetselverbandenTab);
        EXPECT_EQ(GridModelOf(*form.TabSheetVrijeLijn, "LijnGrid")->rowCount(), 1);
    }
}

}  // namespace
}  // namespace murvex::test
