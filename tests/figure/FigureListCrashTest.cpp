// Saving the figure list under failure: the file it would replace stays until the new one is
// written in full, and the failure reaches the user as a warning.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "FakePlatform.h"
#include "FigureList.h"
#include "Msg.h"
#include "PatternFile.h"
#include "RecordingCanvas.h"
#include "SmallFs.h"
#include "TempDir.h"

namespace murvex::figure {
namespace {

constexpr WindowHandle kApp = 7;
WriteStep g_failing = WriteStep::Create;

int FailOneStep(WriteStep step) {
    return step == g_failing ? ENOSPC : 0;
}

struct FigureListCrash : ::testing::Test {
    void SetUp() override { ASSERT_TRUE(InitFiguur(model, canvas, 600, 300)); }
    void TearDown() override { SetWriteFaultHook(nullptr); }
    // Saves over an existing file, answering the question with OK.
    void SaveOver(const std::string& file) {
        platform.messages.clear();
        platform.dialogAnswers = {file};
        platform.messageAnswers = {Answer::Ok};
        SaveFigureList(platform, saveDialog, kApp, model, texts);
    }
    test::TempDir dir;
    test::FakePlatform platform;
    test::RecordingCanvas canvas;
    FigureModel model;
    PatternHeader texts;
    FileDialog saveDialog = MakeSaveFigureListDialog();
};

TEST_F(FigureListCrash, FailedWriteKeepsTheFileItWouldReplace) {
    const std::string file = dir.File("oud.txt");
    struct Row {
        WriteStep step;
        const char* warning;
    };
    for (const Row& row : {Row{WriteStep::Create, "Cannot create file "},
                           Row{WriteStep::Write, "Cannot write file "},
                           Row{WriteStep::SyncFile, "Cannot write file "}}) {
        SCOPED_TRACE(row.warning);
        g_failing = row.step;
        SetWriteFaultHook(&FailOneStep);
        test::WriteText(file, "oud");
        SaveOver(file);
        ASSERT_EQ(platform.messages.size(), 2u);  // the question, then the warning
        EXPECT_EQ(platform.messages[1].text, row.warning + file);
        EXPECT_EQ(platform.messages[1].style, style::kWarning);
        EXPECT_EQ(test::ReadText(file), "oud");
        EXPECT_TRUE(platform.recycled.empty());
        EXPECT_EQ(dir.Entries(), std::vector<std::string>{"oud.txt"});
    }
}

TEST_F(FigureListCrash, FullFileSystemKeepsTheFileItWouldReplace) {
    test::SmallFs fs("64k");
    if (!fs.Mounted()) GTEST_SKIP() << fs.Why();
    const std::string file = fs.File("figuur.txt");
    test::WriteText(file, "oud");
    ASSERT_TRUE(fs.Fill());
    SaveOver(file);
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[1].text.rfind("Cannot ", 0), 0u);
    EXPECT_EQ(test::ReadText(file), "oud");
    EXPECT_EQ(fs.Entries(), (std::vector<std::string>{"figuur.txt", "filler"}));
}

}  // namespace
}  // namespace murvex::figure
