// The save flow through a scripted platform, on real files.
#include "SaveHatch.h"

#include <gtest/gtest.h>

#include "FakePlatform.h"
#include "Msg.h"
#include "TempDir.h"

namespace murvex {
namespace {

constexpr WindowHandle kMain = 42;

class SaveHatch : public ::testing::Test {
  protected:
    const LineList lines{";%UNITS=MM",
                         ";",
                         "*Tegels, wall",
                         ";%TYPE=MODEL",
                         "0.000, 0, 0, 0, 62.500, 210.000, -10.000",
                         ";"};
    const std::string bytes =
        ";%UNITS=MM\r\n;\r\n*Tegels, wall\r\n;%TYPE=MODEL\r\n"
        "0.000, 0, 0, 0, 62.500, 210.000, -10.000\r\n;\r\n";
    test::TempDir dir;
    test::FakePlatform platform;
    FileDialog dialog = MakeSaveHatchDialog();

    void Save() { SaveHatchFile(lines, platform, dialog, kMain); }
};

TEST_F(SaveHatch, WritesANewFileWithCrLfAndNoByteOrderMark) {
    const std::string file = dir.File("new.pat");
    platform.dialogAnswers = {file};
    Save();
    EXPECT_EQ(test::ReadText(file), bytes);
    EXPECT_TRUE(platform.messages.empty());
    ASSERT_EQ(platform.dialogs.size(), 1u);
    const FileDialog& shown = platform.dialogs[0].dialog;
    EXPECT_EQ(shown.title, "Save");
    EXPECT_EQ(shown.filterName, "hatchfiles");
    EXPECT_EQ(shown.filterMask, "*.pat");
    EXPECT_EQ(shown.defaultExt, "pat");
    EXPECT_EQ(platform.dialogs[0].owner, kMain);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"new.pat"});
}

TEST_F(SaveHatch, CancelledDialogWritesNothing) {
    platform.dialogAnswers = {std::nullopt};
    Save();
    EXPECT_TRUE(dir.Entries().empty());
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(SaveHatch, ExistingFileAnsweredCancelStaysUnchanged) {
    const std::string file = dir.File("old.pat");
    test::WriteText(file, "old");
    platform.dialogAnswers = {file};
    platform.messageAnswers = {Answer::Cancel};
    Save();
    EXPECT_EQ(test::ReadText(file), "old");
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "Hach bestaat al. Deze wissen?");
    EXPECT_EQ(platform.messages[0].title, "Error");
    EXPECT_EQ(platform.messages[0].style, style::kQuestionCancelDefault);
    EXPECT_EQ(platform.messages[0].owner, kMain);
    EXPECT_TRUE(platform.recycled.empty());
}

TEST_F(SaveHatch, ExistingFileAnsweredOkGoesToTheRecycleBin) {
    const std::string file = dir.File("old.pat");
    test::WriteText(file, "old");
    platform.dialogAnswers = {file};
    platform.messageAnswers = {Answer::Ok};
    Save();
    EXPECT_EQ(test::ReadText(file), bytes);
    EXPECT_EQ(platform.recycled, std::vector<std::string>{file});
    EXPECT_EQ(platform.recycledContents, std::vector<std::string>{"old"});
    EXPECT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"old.pat"});
}

TEST_F(SaveHatch, FailedDeletionShowsTheErrorAndWritesNothing) {
    const std::string file = dir.File("locked.pat");
    test::WriteText(file, "old");
    platform.dialogAnswers = {file};
    platform.recycleSucceeds = false;
    Save();
    EXPECT_EQ(test::ReadText(file), "old");
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[1].text,
              "Er is een fout opgetreden bij het wissen van de hatchfile");
    EXPECT_EQ(platform.messages[1].title, "Error");
    EXPECT_EQ(platform.messages[1].style, style::kError);
    EXPECT_EQ(platform.messages[1].owner, kMain);
}

TEST_F(SaveHatch, UncreatableFileEndsTheCommandWithTheErrorBox) {
    const std::string file = dir.File("no-such-folder/x.pat");
    platform.dialogAnswers = {file};
    EXPECT_FALSE(RunCommand(platform, [&] { Save(); }));
    EXPECT_EQ(platform.applicationErrors, std::vector<std::string>{"Cannot create file " + file});
    EXPECT_TRUE(dir.Entries().empty());
}

TEST_F(SaveHatch, NameWithoutExtensionGetsPatAndIsRemembered) {
    platform.dialogAnswers = {dir.File("wall"), dir.File("wall.txt")};
    Save();
    EXPECT_EQ(test::ReadText(dir.File("wall.pat")), bytes);
    EXPECT_EQ(dialog.fileName, dir.File("wall.pat"));
    Save();
    EXPECT_EQ(platform.dialogs[1].dialog.fileName, dir.File("wall.pat"));  // offered again
    EXPECT_EQ(test::ReadText(dir.File("wall.txt")), bytes);                // an extension is kept
}

TEST(WithDefaultExtension, LooksAtTheLastPathElementOnly) {
    EXPECT_EQ(WithDefaultExtension("/a.b/wall", "pat"), "/a.b/wall.pat");
    EXPECT_EQ(WithDefaultExtension("/a/wall.PAT", "pat"), "/a/wall.PAT");
    EXPECT_EQ(WithDefaultExtension("/a/.hidden", "pat"), "/a/.hidden.pat");
    EXPECT_EQ(WithDefaultExtension("/a/", "pat"), "/a/");
}

TEST(RunCommand, CatchesEveryExceptionAtTheBoundary) {
    test::FakePlatform platform;
    EXPECT_TRUE(RunCommand(platform, [] {}));
    EXPECT_FALSE(RunCommand(platform, [] { throw CommandError("boom"); }));
    EXPECT_FALSE(RunCommand(platform, [] { throw 5; }));
    EXPECT_EQ(platform.applicationErrors, (std::vector<std::string>{"boom", "Unknown error"}));
}

TEST(ShellDeleteFile, MovesToTheRecycleBinAndRestoresTheCursor) {
    test::TempDir dir;
    const std::string file = dir.File("old.pat");
    test::WriteText(file, "x");
    test::FakePlatform platform;
    EXPECT_TRUE(ShellDeleteFile(platform, file, true));
    EXPECT_EQ(platform.recycled, std::vector<std::string>{file});
    EXPECT_TRUE(dir.Entries().empty());
    EXPECT_EQ(platform.CurrentCursor(), Cursor::Default);
    EXPECT_EQ(platform.cursorChanges, (std::vector<Cursor>{Cursor::Busy, Cursor::Default}));
    EXPECT_EQ(platform.processMessagesCalls, 2);
}

TEST(ShellDeleteFile, FailsCleanly) {
    test::TempDir dir;
    test::FakePlatform platform;
    EXPECT_FALSE(ShellDeleteFile(platform, dir.File("missing.pat"), true));
    EXPECT_EQ(platform.CurrentCursor(), Cursor::Default);

    // Too long for the shell's name buffer: refused before the shell is asked.
    const std::string longPath = "/" + std::string(kShellPathLimit, 'a');
    platform.fakeFiles.insert(longPath);
    EXPECT_FALSE(ShellDeleteFile(platform, longPath, true));
    EXPECT_TRUE(platform.recycled.empty());
    const std::string fits = "/" + std::string(kShellPathLimit - 1, 'a');
    platform.fakeFiles.insert(fits);
    EXPECT_TRUE(ShellDeleteFile(platform, fits, true));

    const std::string file = dir.File("kept.pat");
    test::WriteText(file, "x");
    EXPECT_TRUE(ShellDeleteFile(platform, file, false));
    EXPECT_EQ(platform.deleted, std::vector<std::string>{file});
    EXPECT_EQ(platform.CurrentCursor(), Cursor::Default);
}

// Open dialogs only accept a file that is there; save dialogs ask for one only where the writer
// wants an existing folder.
TEST(FileDialogFactories, OpenDemandsAnExistingFileSaveDoesNot) {
    struct Row {
        const char* name;
        FileDialog dialog;
        FileDialog::Kind kind;
        const char* title;
        bool pathMustExist, fileMustExist;
    };
    const Row rows[] = {
        {"open", OpenFileDialog("tekst", "*.txt"), FileDialog::Open, "Open", true, true},
        {"save", SaveFileDialog("Save", "tekst", "*.txt", "txt", false), FileDialog::Save, "Save",
         false, false},
        {"save in a folder", SaveFileDialog("Export", "tekst", "*.txt", "txt", true),
         FileDialog::Save, "Export", true, false},
        {"open hatch", MakeOpenHatchDialog(), FileDialog::Open, "Open", true, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.dialog.kind, row.kind);
        EXPECT_EQ(row.dialog.title, row.title);
        EXPECT_EQ(row.dialog.pathMustExist, row.pathMustExist);
        EXPECT_EQ(row.dialog.fileMustExist, row.fileMustExist);
        EXPECT_TRUE(row.dialog.fileName.empty());
    }
}

// The shared flow in the order a user meets it: name, question, content, recycle bin, write.
TEST(SaveThroughDialog, AsksBeforeMakingTheContentAndStopsWhereTheUserOrTheBinSaysSo) {
    struct Row {
        const char* name;
        bool exists, confirm, recycles;
        SaveOutcome outcome;
        std::string events, bytes;
    };
    const Row rows[] = {
        {"new file", false, true, true, SaveOutcome::Written, "content ", "new"},
        {"replace", true, true, true, SaveOutcome::Written, "ask content ", "new"},
        {"refused", true, false, true, SaveOutcome::Stopped, "ask ", "old"},
        {"bin fails", true, true, false, SaveOutcome::Stopped, "ask content bin-failed ", "old"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        test::TempDir dir;
        test::FakePlatform platform;
        platform.recycleSucceeds = row.recycles;
        const std::string file = dir.File("f.txt");
        if (row.exists) test::WriteText(file, "old");
        platform.dialogAnswers = {dir.File("f")};
        FileDialog dialog = SaveFileDialog("Save", "tekst", "*.txt", "txt", true);
        std::string events;
        const SavePrompts prompts{[&](const std::string& name) {
                                      EXPECT_EQ(name, file);
                                      events += "ask ";
                                      return row.confirm;
                                  },
                                  [&] { events += "bin-failed "; }};
        const SaveOutcome outcome = SaveThroughDialog(
            platform, dialog, kMain, [&] { return events += "content ", std::string("new"); },
            prompts);
        EXPECT_EQ(outcome, row.outcome);
        EXPECT_EQ(events, row.events);
        EXPECT_EQ(dialog.fileName, file);
        EXPECT_EQ(test::ReadText(file), row.bytes);
    }
}

}  // namespace
}  // namespace murvex
