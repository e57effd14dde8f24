// The open command through a scripted platform: dialog, file reading, warning and read error.
#include <gtest/gtest.h>

#include <filesystem>

#include "FakePlatform.h"
#include "GridRows.h"
#include "HatchReader.h"
#include "Msg.h"
#include "SaveHatch.h"
#include "TempDir.h"

namespace murvex::freelines {
namespace {

using murvex::test::FakePlatform;
using murvex::test::TempDir;
using murvex::test::WriteText;
using test::DataRows;
using test::GridWith;
using test::Row7;
using test::Rows;

constexpr WindowHandle kApp = 5;
const Rows kOld{Row7({"a", "1"}), Row7({"b", "2"}), Row7({"c", "3"})};

class OpenHatch : public ::testing::Test {
  protected:
    TempDir dir;
    FakePlatform platform;
    FileDialog dialog = MakeOpenHatchDialog();
    TextGrid grid = GridWith(kOld);
    PatternHeader texts{"MM", "MODEL", "vorige"};

    void Open(const std::optional<std::string>& answer) {
        platform.dialogAnswers = {answer};
        // As the tab's open command: the dialog, then the file named there.
        if (platform.RunFileDialog(dialog, kApp))
            OpenHatchFile(platform, dialog.fileName, grid, texts, kApp);
    }
    std::string Write(const std::string& name, const std::string& bytes) {
        const std::string file = dir.File(name);
        WriteText(file, bytes);
        return file;
    }
    void ExpectUnchanged() {
        EXPECT_EQ(DataRows(grid), kOld);
        EXPECT_EQ(texts.units, "MM");
        EXPECT_EQ(texts.type, "MODEL");
        EXPECT_EQ(texts.name, "vorige");
    }
    void ExpectOneMessage(const std::string& text, const std::string& title) {
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].text, text);
        EXPECT_EQ(platform.messages[0].title, title);
        EXPECT_EQ(platform.messages[0].style, style::kError);
        EXPECT_EQ(platform.messages[0].owner, kApp);
    }
};

TEST_F(OpenHatch, CancelledDialogChangesNothing) {
    Open(std::nullopt);
    ExpectUnchanged();
    EXPECT_TRUE(platform.messages.empty());
    ASSERT_EQ(platform.dialogs.size(), 1u);
    const FileDialog& shown = platform.dialogs[0].dialog;
    EXPECT_EQ(shown.kind, FileDialog::Open);
    EXPECT_EQ(shown.title, "Open");
    EXPECT_EQ(shown.filterName, "hatchfiles");
    EXPECT_EQ(shown.filterMask, "*.pat");
    EXPECT_EQ(shown.defaultExt, "pat");
    EXPECT_TRUE(shown.pathMustExist);
    EXPECT_TRUE(shown.fileMustExist);
}

TEST_F(OpenHatch, ReadsAFileWithMixedLineEnds) {
    const std::string file =
        Write("mixed.pat", ";%UNITS=INCH\r\n;\n*Mixed\r;%TYPE=DRAFTING\r\n0,0,0,0,1\n45,1,1\r");
    Open(file);
    EXPECT_EQ(DataRows(grid), (Rows{Row7({"0", "0", "0", "0", "1"}), Row7({"45", "1", "1"})}));
    EXPECT_EQ(texts.units, "INCH");
    EXPECT_EQ(texts.type, "DRAFTING");
    EXPECT_EQ(texts.name, "Mixed");
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(dialog.fileName, file);  // offered again next time
}

TEST_F(OpenHatch, ALastLineWithoutLineEndIsRead) {
    Open(Write("last.pat", "*n\r\n1,2"));
    EXPECT_EQ(DataRows(grid), Rows{Row7({"1", "2"})});
}

TEST_F(OpenHatch, ASecondPatternShowsTheWarningOnce) {
    Open(Write("two.pat", "*a\r\n1\r\n;\r\n*b\r\n2\r\n*c\r\n3\r\n"));
    EXPECT_EQ(DataRows(grid), Rows{Row7({"1"})});
    EXPECT_EQ(texts.name, "a");
    ExpectOneMessage(kMultipleText, "Pas op!");
    EXPECT_EQ(std::string(kMultipleText),
              "Dit bestand bevat meerdere arceringen, alleen de eerste wordt gelezen de rest gaat "
              "verloren!");
}

TEST_F(OpenHatch, AVanishedFileIsAReadErrorAndChangesNothing) {
    const std::string file = Write("gone.pat", "*n\r\n1\r\n");
    std::filesystem::remove(file);
    Open(file);
    ExpectOneMessage("Fout bij lezen van hatchbestand", "Error");
    ExpectUnchanged();
    EXPECT_TRUE(platform.applicationErrors.empty());
}

TEST_F(OpenHatch, AFolderIsAReadError) {
    Open(dir.Path().string());
    ExpectOneMessage("Fout bij lezen van hatchbestand", "Error");
    ExpectUnchanged();
}

TEST_F(OpenHatch, AnUnreadableFileIsAReadError) {
    const std::string file = Write("locked.pat", "*n\r\n1\r\n");
    std::filesystem::permissions(file, std::filesystem::perms::none);
    if (std::FILE* probe = std::fopen(file.c_str(), "rb")) {
        std::fclose(probe);
        GTEST_SKIP() << "running with rights that ignore file permissions";
    }
    Open(file);
    ExpectOneMessage("Fout bij lezen van hatchbestand", "Error");
    ExpectUnchanged();
}

TEST_F(OpenHatch, ANulByteEndsTheText) {
    // Not "nul.pat": that is the device NUL on Windows.
    Open(Write("nulbyte.pat", std::string("*n\r\n1,2\r\n3\0,4\r\n5\r\n", 17)));
    EXPECT_EQ(DataRows(grid), (Rows{Row7({"1", "2"}), Row7({"3"})}));
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(OpenHatch, ABinaryFileGivesBoundedCellsAndNoMessage) {
    std::string bytes;
    unsigned state = 12345;
    for (int i = 0; i < 200000; ++i) {
        state = state * 1103515245u + 12345u;
        const char c = static_cast<char>((state >> 16) & 0xff);
        bytes += c == '\0' ? 'x' : c;
    }
    Open(Write("binary.pat", bytes));
    EXPECT_TRUE(platform.messages.empty() || platform.messages[0].text == kMultipleText);
    ASSERT_GE(grid.RowCount(), 2);
    for (int r = 1; r < grid.RowCount(); ++r) {
        for (int c = 1; c <= 7; ++c)
            ASSERT_LE(grid.Cell(c, r).size(), kLineLimit);
    }
    EXPECT_LE(texts.name.size(), kLineLimit - 1);
}

TEST_F(OpenHatch, AFileOverTheLimitIsRefusedBeforeTheGridChanges) {
    const std::string file = Write("huge.pat", "");
    std::filesystem::resize_file(file, kMaxFileBytes + 1);  // sparse: no real disk use
    Open(file);
    ExpectOneMessage("Fout bij lezen van hatchbestand", "Error");
    ExpectUnchanged();
}

TEST_F(OpenHatch, AFileAtTheLimitIsRead) {
    const std::string file = Write("big.pat", "*groot\r\n1,2\r\n");
    std::filesystem::resize_file(file, kMaxFileBytes);  // zeros after the text: a NUL ends it
    Open(file);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(DataRows(grid), Rows{Row7({"1", "2"})});
    EXPECT_EQ(texts.name, "groot");
}

TEST_F(OpenHatch, AFirstPatternOverTheRowLimitIsRefused) {
    std::string bytes = "*lang\r\n";
    for (std::size_t i = 0; i <= kMaxPatternRows; ++i)
        bytes += "1\r\n";
    Open(Write("long.pat", bytes));
    ExpectOneMessage("Fout bij lezen van hatchbestand", "Error");
    ExpectUnchanged();
}

TEST_F(OpenHatch, AFirstPatternAtTheRowLimitIsRead) {
    std::string bytes = "*lang\r\n";
    for (std::size_t i = 0; i < kMaxPatternRows; ++i)
        bytes += "1\r\n";
    bytes += "*tweede\r\n";
    for (int i = 0; i < 10; ++i)
        bytes += "2\r\n";
    Open(Write("limit.pat", bytes));
    ExpectOneMessage(kMultipleText, "Pas op!");
    EXPECT_EQ(grid.RowCount(), static_cast<int>(kMaxPatternRows) + 1);
    EXPECT_EQ(grid.Cell(0, grid.RowCount() - 1), std::to_string(kMaxPatternRows));
}

// A large library of many patterns: only the first is read, the rest is never split up.
TEST_F(OpenHatch, ALargeLibraryGivesItsFirstPattern) {
    std::string bytes = ";%UNITS=MM\r\n*eerste, first\r\n0, 0, 0, 0, 3.175, 3.175, -3.175\r\n";
    const std::string other = "*ander\r\n45, 0, 0, 0, 3.175, 3.175, -3.175\r\n";
    while (bytes.size() < 50u * 1000u * 1000u)
        bytes += other;
    Open(Write("library.pat", bytes));
    ExpectOneMessage(kMultipleText, "Pas op!");
    EXPECT_EQ(DataRows(grid), Rows{Row7({"0", "0", "0", "0", "3.175", "3.175", "-3.175"})});
    EXPECT_EQ(texts.name, "eerste");
    EXPECT_EQ(texts.description, "first");
}

}  // namespace
}  // namespace murvex::freelines
