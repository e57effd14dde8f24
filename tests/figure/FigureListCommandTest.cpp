// The figure list commands through the scripted platform: questions, dialogs and message boxes.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "FakePlatform.h"
#include "FigureList.h"
#include "Msg.h"
#include "RecordingCanvas.h"
#include "TempDir.h"

namespace murvex::figure {
namespace {

constexpr WindowHandle kApp = 7;

struct FigureListCommand : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(InitFiguur(model, canvas, 600, 300));
        model.grid.SetCell(kColXStart, 1, "1");
    }
    test::TempDir dir;
    test::FakePlatform platform;
    test::RecordingCanvas canvas;
    FigureModel model;
    PatternHeader texts;
    FileDialog saveDialog = MakeSaveFigureListDialog();
    FileDialog openDialog = MakeOpenFigureListDialog();

    // As the tab's open command: the question and the dialog, then the file named there.
    std::optional<ListReadResult> Open() {
        if (!ChooseFigureList(platform, openDialog, kApp)) return std::nullopt;
        return OpenFigureListFile(platform, openDialog.fileName, kApp, model, canvas, texts);
    }
};

TEST_F(FigureListCommand, SaveAddsTheExtensionAndWrites) {
    platform.dialogAnswers = {dir.File("figuur")};
    SaveFigureList(platform, saveDialog, kApp, model, texts);
    ASSERT_EQ(platform.dialogs.size(), 1u);
    EXPECT_EQ(platform.dialogs[0].dialog.title, "Save");
    EXPECT_EQ(platform.dialogs[0].dialog.filterName, "Tekstbestanden");
    EXPECT_EQ(platform.dialogs[0].dialog.filterMask, "*.txt");
    EXPECT_EQ(test::ReadText(dir.File("figuur.txt")),
              ";%SIZE=600,300\r\n;%UNITS=MM\r\n*naam arcering\r\n;%TYPE=MODEL\r\n1,,,\r\n");
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(FigureListCommand, SaveOverAnExistingFileAsksFirst) {
    const std::string file = dir.File("oud.txt");
    for (const Answer answer : {Answer::Cancel, Answer::Ok}) {
        SCOPED_TRACE(static_cast<int>(answer));
        test::WriteText(file, "oud");
        platform.messages.clear();
        platform.dialogAnswers = {file};
        platform.messageAnswers = {answer};
        SaveFigureList(platform, saveDialog, kApp, model, texts);
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].text, "Bestand bestaat al. Overschrijven?\r" + file);
        EXPECT_EQ(platform.messages[0].title, "Vraag");
        EXPECT_EQ(platform.messages[0].style, style::kQuestion);
        EXPECT_EQ(platform.messages[0].owner, kApp);
        EXPECT_EQ(test::ReadText(file) == "oud", answer == Answer::Cancel);
    }
    EXPECT_EQ(platform.recycledContents, std::vector<std::string>{"oud"});
}

TEST_F(FigureListCommand, SaveFailuresAreWarningsWithoutATitle) {
    const std::string file = dir.File("oud.txt");
    test::WriteText(file, "oud");
    platform.recycleSucceeds = false;
    platform.dialogAnswers = {file, dir.File("geen/map.txt")};
    SaveFigureList(platform, saveDialog, kApp, model, texts);
    SaveFigureList(platform, saveDialog, kApp, model, texts);
    ASSERT_EQ(platform.messages.size(), 3u);
    EXPECT_EQ(platform.messages[1].text, "Bestand kan niet gewist worden");
    EXPECT_EQ(platform.messages[2].text, "Cannot create file " + dir.File("geen/map.txt"));
    for (int i : {1, 2}) {
        EXPECT_EQ(platform.messages[i].title, "");
        EXPECT_EQ(platform.messages[i].style, style::kWarning);
    }
    EXPECT_EQ(test::ReadText(file), "oud");
}

TEST_F(FigureListCommand, OpenCancelledAtTheQuestionChangesNothing) {
    platform.messageAnswers = {Answer::Cancel};
    EXPECT_FALSE(Open());
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "Lijst openen en huidige figuur laten vervallen?");
    EXPECT_EQ(platform.messages[0].title, "Openen");
    EXPECT_TRUE(platform.dialogs.empty());
    EXPECT_EQ(model.grid.Cell(kColXStart, 1), "1");
}

TEST_F(FigureListCommand, OpenShowsTheSecondFigureWarningAndSizeErrors) {
    const std::string two = dir.File("twee.txt");
    const std::string bad = dir.File("fout.txt");
    const std::string zero = dir.File("nulmaat.txt");  // "nul.txt" is a device on Windows
    test::WriteText(two, ";%SIZE=10,10\r\n1,1,2,2\r\n*tweede\r\n");
    test::WriteText(bad, ";%SIZE=abc,10\r\n");
    test::WriteText(zero, ";%SIZE=-1,10\r\n");
    platform.dialogAnswers = {two, bad, zero};
    const auto first = Open();
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->tileSet);
    // Figure lists and DXF drawings are listed together at once.
    EXPECT_EQ(platform.dialogs[0].dialog.filterMask, "*.txt *.dxf");
    Open();
    Open();
    // Each open asks first (answered OK), then its own box.
    ASSERT_EQ(platform.messages.size(), 6u);
    EXPECT_EQ(platform.messages[1].title, "Pas op!");
    EXPECT_EQ(platform.messages[1].style, style::kError);
    EXPECT_EQ(platform.messages[3].text, "Onjuiste X-SIZE in bestand");
    EXPECT_EQ(platform.messages[3].title, "");
    EXPECT_EQ(platform.messages[3].style, style::kWarning);
    EXPECT_EQ(platform.messages[5].text, "Er is een ongeldige waarde ingevoerd");
    EXPECT_EQ(platform.messages[5].title, "Error");
    EXPECT_EQ(platform.messages[5].style, style::kError);
    EXPECT_EQ(model.TileWidth(), 10);
}

}  // namespace
}  // namespace murvex::figure
