// The recycle bin under wine, which keeps it in the freedesktop trash of XDG_DATA_HOME
// (scripts/wine-run gives it one of its own).
#include "WindowsRecycleBin.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "TempDir.h"

namespace murvex {
namespace {

TEST(WindowsRecycleBin, MovesAFileThereAndNothingElse) {
    const test::TempDir dir;
    const std::string name = "weg-" + dir.Path().filename().string() + ".pat";
    test::WriteText(dir.File(name), "oud");
    std::filesystem::create_directory(dir.Path() / "map");
    EXPECT_FALSE(MoveFileToRecycleBin(dir.File("map")));
    EXPECT_FALSE(MoveFileToRecycleBin(dir.File("ontbreekt.pat")));
    EXPECT_FALSE(MoveFileToRecycleBin(""));
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"map", name}));

    ASSERT_TRUE(MoveFileToRecycleBin(dir.File(name)));
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"map"});
    // Where the trash is known, the file is in it, whole, to be restored.
    if (const char* xdg = std::getenv("XDG_DATA_HOME")) {
        const std::string trashed = std::string("Z:") + xdg + "/Trash/files/" + name;
        EXPECT_EQ(test::ReadText(trashed), "oud");
    }
}

}  // namespace
}  // namespace murvex
