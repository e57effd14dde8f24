// Reading inputs of every kind on Linux: files, folders, devices and pipes, with a size limit.
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "PatternFile.h"
#include "TempDir.h"

namespace murvex {
namespace {

struct LimitedRead {
    const char* name;
    std::string path;  // relative to the test folder, or absolute
    std::uintmax_t limit;
    ReadFileStatus status;
    std::string bytes;
};

TEST(PatternFile, ReadsAnyInputUpToALimitAndSaysWhyNot) {
    test::TempDir dir;
    test::WriteText(dir.File("ten"), "0123456789");
    std::filesystem::create_directory(dir.File("folder"));
    const LimitedRead rows[] = {
        {"AtTheLimit", "ten", 10, ReadFileStatus::Ok, "0123456789"},
        {"OneByteOver", "ten", 9, ReadFileStatus::TooLarge, ""},
        {"Missing", "none", 10, ReadFileStatus::Missing, ""},
        {"MissingFolder", "none/x", 10, ReadFileStatus::Missing, ""},
        {"Folder", "folder", 10, ReadFileStatus::IsFolder, ""},
        {"EndlessDevice", "/dev/zero", 1 << 20, ReadFileStatus::TooLarge, ""},
        {"EmptyDevice", "/dev/null", 10, ReadFileStatus::Ok, ""},
    };
    for (const LimitedRead& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string path = row.path.front() == '/' ? row.path : dir.File(row.path);
        const ReadFileResult r = ReadFileLimited(path, row.limit);
        EXPECT_EQ(r.status, row.status);
        EXPECT_EQ(r.bytes, row.bytes);
    }
}

TEST(PatternFile, ReadsAPipeUpToTheLimit) {
    for (const std::uintmax_t limit : {6u, 5u}) {
        SCOPED_TRACE(limit);
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        ASSERT_EQ(::write(fds[1], "abcdef", 6), 6);
        ::close(fds[1]);
        const ReadFileResult r = ReadLimited(fds[0], limit);
        ::close(fds[0]);
        EXPECT_EQ(r.status, limit == 6 ? ReadFileStatus::Ok : ReadFileStatus::TooLarge);
        EXPECT_EQ(r.bytes, limit == 6 ? "abcdef" : "");
    }
}

}  // namespace
}  // namespace murvex
