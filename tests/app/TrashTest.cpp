// The replaced file goes to the home trash, made when missing, and never anywhere else.
#include <gtest/gtest.h>
#include <QDir>
#include <QFileInfo>

#include "AppTestSupport.h"
#include "QtPlatform.h"
#include "TempDir.h"

namespace murvex::test {
namespace {

namespace fs = std::filesystem;

QString Q(const fs::path& path) {
    return QString::fromStdString(path.string());
}

// A home folder with nothing in it, not even ~/.local/share.
struct EmptyHome {
    TempDir home;
    ScopedEnv homeVar{"HOME", home.Path().c_str()};
    ScopedEnv dataHome{"XDG_DATA_HOME", nullptr};
    fs::path trash = home.Path() / ".local/share/Trash";
};

TEST(Trash, MadeInAnEmptyHomeWithFilesAndInfoForTheOwnerOnly) {
    EmptyHome h;
    fs::create_directory(h.home.Path() / "work");
    const std::string file = (h.home.Path() / "work" / "gevel.pat").string();
    WriteText(file, "oude inhoud");

    app::QtPlatform platform;
    ASSERT_TRUE(platform.MoveToRecycleBin(file));
    EXPECT_FALSE(fs::exists(file));
    EXPECT_EQ(ReadText((h.trash / "files" / "gevel.pat").string()), "oude inhoud");
    EXPECT_TRUE(fs::exists(h.trash / "info" / "gevel.pat.trashinfo"));
    for (const fs::path& folder : {h.trash, h.trash / "files", h.trash / "info"}) {
        SCOPED_TRACE(folder.string());
        EXPECT_EQ(fs::status(folder).permissions() & fs::perms::all, fs::perms::owner_all);
    }
    // Nothing beside the file in the work folder.
    EXPECT_TRUE(fs::is_empty(h.home.Path() / "work"));
}

TEST(Trash, XdgDataHomeChoosesWhereTheTrashIs) {
    EmptyHome h;
    const fs::path data = h.home.Path() / "data";
    ScopedEnv dataHome("XDG_DATA_HOME", data.c_str());
    EXPECT_EQ(app::HomeTrashFolder(), Q(data / "Trash"));
    const std::string file = h.home.File("a.pat");
    WriteText(file, "x");
    ASSERT_TRUE(app::QtPlatform().MoveToRecycleBin(file));
    EXPECT_TRUE(fs::exists(data / "Trash" / "files" / "a.pat"));
    EXPECT_FALSE(fs::exists(h.trash));
}

TEST(Trash, NoTrashToBeMadeLeavesTheFileAndWritesNothing) {
    EmptyHome h;
    WriteText(h.home.File(".local"), "a file where the folder should be");
    const std::string file = h.home.File("a.pat");
    WriteText(file, "oud");
    EXPECT_FALSE(app::QtPlatform().MoveToRecycleBin(file));
    EXPECT_EQ(ReadText(file), "oud");
    EXPECT_EQ(h.home.Entries(), (std::vector<std::string>{".local", "a.pat"}));
}

TEST(Trash, OnlyTheFilesFolderOfATrashCounts) {
    const QString home = QStringLiteral("/home/ans/.local/share/Trash");
    struct Row {
        const char* name;
        const char* path;
        bool trashed;
    } const rows[] = {
        {"home trash", "/home/ans/.local/share/Trash/files/a.pat", true},
        {"home trash, renamed copy", "/home/ans/.local/share/Trash/files/a.2.pat", true},
        {"top folder .Trash-uid", "/media/usb/.Trash-1000/files/a.pat", true},
        {"top folder .Trash/uid", "/media/usb/.Trash/1000/files/a.pat", true},
        {"working folder fallback", "/home/ans/project/files/a.pat", false},
        {"info folder", "/home/ans/.local/share/Trash/info/a.pat", false},
        {"another user's trash", "/home/bob/.local/share/Trash/files/a.pat", false},
        {"nothing", "", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(app::IsTrashedPath(QString::fromLatin1(row.path), home), row.trashed);
    }
}

}  // namespace
}  // namespace murvex::test
