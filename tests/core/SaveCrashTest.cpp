// Saving under failure: each step of the atomic write failing or the process dying at it, a full
// or read-only file system, a vanished folder. The target keeps the old or the new bytes, whole,
// no temporary file stays behind, and the failure reaches the caller.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "FakePlatform.h"
#include "Msg.h"
#include "PatternFile.h"
#include "SaveHatch.h"
#include "SmallFs.h"
#include "TempDir.h"

namespace murvex {
namespace {

// The hook's script: fail the given occurrence of one step with an errno value, or die there.
struct Fault {
    WriteStep step = WriteStep::Create;
    int occurrence = 0;  // 0: never
    int error = EIO;
    bool kill = false;
};
Fault g_fault;
int g_seen = 0;
std::vector<WriteStep> g_steps;

int FaultHook(WriteStep step) {
    g_steps.push_back(step);
    if (step != g_fault.step || ++g_seen != g_fault.occurrence) return 0;
    if (g_fault.kill) ::raise(SIGKILL);
    return g_fault.error;
}

const char* StepName(WriteStep step) {
    switch (step) {
        case WriteStep::Create:
            return "create";
        case WriteStep::Write:
            return "write";
        case WriteStep::SyncFile:
            return "sync file";
        case WriteStep::Close:
            return "close";
        case WriteStep::Name:
            return "name";
        case WriteStep::Rename:
            return "rename";
        case WriteStep::SyncFolder:
            return "sync folder";
    }
    return "?";
}

bool Reached(WriteStep step) {
    return std::find(g_steps.begin(), g_steps.end(), step) != g_steps.end();
}

// Whether the folder's file system has nameless files; where it has not, a named temporary file
// exists during the whole write and a kill can leave it.
bool HasNamelessFiles(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

bool IsTemporary(const std::string& name) {
    return name.rfind(".murvex-", 0) == 0;
}

// 3 MiB: several writes, so that a failure can come after a part has been written.
const std::string kNew = [] {
    std::string s;
    while (s.size() < (std::size_t{3} << 20))
        s += "0.000, 0, 0, 0, 62.500, 210.000, -10.000\r\n";
    return s;
}();
const std::string kOld = ";%UNITS=MM\r\n*oud\r\n";

class HookedWrite : public ::testing::Test {
  protected:
    void SetUp() override {
        Script({});
        SetWriteFaultHook(&FaultHook);
    }
    void TearDown() override { SetWriteFaultHook(nullptr); }
    static void Script(const Fault& fault) {
        g_fault = fault;
        g_seen = 0;
        g_steps.clear();
    }
    test::TempDir dir;
    const std::string target = dir.File("a.pat");
};

TEST_F(HookedWrite, EachFailingStepKeepsTheOldFileAndLeavesNothing) {
    struct Row {
        WriteStep step;
        int occurrence;
        WriteStatus status;
        bool newContent;  // the failure comes after the rename
    };
    const Row rows[] = {
        {WriteStep::Create, 1, WriteStatus::CannotCreate, false},
        {WriteStep::Write, 1, WriteStatus::CannotWrite, false},
        {WriteStep::Write, 2, WriteStatus::CannotWrite, false},  // after a part
        {WriteStep::SyncFile, 1, WriteStatus::CannotWrite, false},
        {WriteStep::Name, 1, WriteStatus::CannotWrite, false},
        {WriteStep::Close, 1, WriteStatus::CannotWrite, false},
        {WriteStep::Rename, 1, WriteStatus::CannotWrite, false},
        {WriteStep::SyncFolder, 1, WriteStatus::CannotWrite, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(StepName(row.step)) + " #" + std::to_string(row.occurrence));
        test::WriteText(target, kOld);
        Script({row.step, row.occurrence, ENOSPC, false});
        const WriteStatus status = WriteFileAtomic(target, kNew);
        if (!Reached(row.step)) {  // naming: only for nameless files
            EXPECT_EQ(row.step, WriteStep::Name);
            continue;
        }
        EXPECT_EQ(status, row.status);
        EXPECT_EQ(test::ReadText(target), row.newContent ? kNew : kOld);
        EXPECT_EQ(dir.Entries(), std::vector<std::string>{"a.pat"});
    }
}

TEST_F(HookedWrite, SyncsTheFileBeforeTheRenameAndTheFolderAfterIt) {
    ASSERT_EQ(WriteFileAtomic(target, kNew), WriteStatus::Ok);
    const auto at = [](WriteStep step) {
        return std::find(g_steps.begin(), g_steps.end(), step) - g_steps.begin();
    };
    const auto lastWrite =
        g_steps.rend() - std::find(g_steps.rbegin(), g_steps.rend(), WriteStep::Write) - 1;
    ASSERT_TRUE(Reached(WriteStep::SyncFile) && Reached(WriteStep::Rename));
    EXPECT_LT(lastWrite, at(WriteStep::SyncFile));
    EXPECT_LT(at(WriteStep::SyncFile), at(WriteStep::Rename));
    ASSERT_TRUE(Reached(WriteStep::SyncFolder));
    EXPECT_LT(at(WriteStep::Rename), at(WriteStep::SyncFolder));
}

TEST_F(HookedWrite, ProcessKilledAtEachStepLeavesTheOldOrTheNewFile) {
    // Policy: a kill while the bytes are written leaves nothing (the file has no name yet); a kill
    // in the short span between naming and renaming can leave one hidden ".murvex-XXXXXX", which
    // is never taken for the target and goes with a later save once it is stale.
    const bool nameless = HasNamelessFiles(dir.Path());
    struct Row {
        WriteStep step;
        int occurrence;
        bool newContent;
        bool mayLeaveTemporary;
    };
    const Row rows[] = {
        {WriteStep::Create, 1, false, false},       {WriteStep::Write, 2, false, !nameless},
        {WriteStep::SyncFile, 1, false, !nameless}, {WriteStep::Name, 1, false, false},
        {WriteStep::Close, 1, false, true},         {WriteStep::Rename, 1, false, true},
        {WriteStep::SyncFolder, 1, true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(StepName(row.step));
        test::WriteText(target, kOld);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            Script({row.step, row.occurrence, 0, true});
            WriteFileAtomic(target, kNew);
            ::_exit(3);  // the step was not reached
        }
        int wstatus = 0;
        ASSERT_EQ(::waitpid(child, &wstatus, 0), child);
        if (WIFEXITED(wstatus) && WEXITSTATUS(wstatus) == 3 && row.step == WriteStep::Name)
            continue;  // no nameless files here
        ASSERT_TRUE(WIFSIGNALED(wstatus) && WTERMSIG(wstatus) == SIGKILL);
        EXPECT_EQ(test::ReadText(target), row.newContent ? kNew : kOld);

        std::vector<std::string> entries = dir.Entries();
        const auto left = std::count_if(entries.begin(), entries.end(), IsTemporary);
        EXPECT_LE(left, row.mayLeaveTemporary ? 1 : 0);
        EXPECT_EQ(entries.size() - static_cast<std::size_t>(left), 1u);
        // A leftover does not stand in the way of the next save.
        Script({});
        EXPECT_EQ(WriteFileAtomic(target, kOld), WriteStatus::Ok);
        for (const std::string& name : entries)
            if (IsTemporary(name)) std::filesystem::remove(dir.Path() / name);
    }
}

TEST(SaveCrash, ProcessKilledAtAnyMomentOfALargeWriteLeavesTheOldOrTheNewFile) {
    test::TempDir dir;
    const std::string target = dir.File("groot.pat");
    const std::string big(std::size_t{48} << 20, 'x');
    const bool nameless = HasNamelessFiles(dir.Path());
    for (const int delayMs : {0, 2, 10, 30, 80, 200}) {
        SCOPED_TRACE(delayMs);
        test::WriteText(target, kOld);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) ::_exit(WriteFileAtomic(target, big) == WriteStatus::Ok ? 0 : 1);
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        ::kill(child, SIGKILL);
        int wstatus = 0;
        ASSERT_EQ(::waitpid(child, &wstatus, 0), child);
        const std::string now = test::ReadText(target);
        EXPECT_TRUE(now == kOld || now == big) << now.size() << " bytes";
        // A kill between naming and renaming can leave a temporary file, but only a whole one.
        for (const std::string& name : dir.Entries()) {
            if (!IsTemporary(name)) continue;
            if (nameless) {
                EXPECT_TRUE(test::ReadText(dir.File(name)) == big) << name;
            }
            std::filesystem::remove(dir.Path() / name);
        }
        EXPECT_TRUE(std::filesystem::exists(target));
    }
}

TEST(SaveCrash, ASaveRemovesOnlyStaleTemporaryFilesOfOurs) {
    test::TempDir dir;
    const auto make = [&](const std::string& name, int ageSeconds) {
        test::WriteText(dir.File(name), "rest");
        const timespec times[2] = {{::time(nullptr) - ageSeconds, 0},
                                   {::time(nullptr) - ageSeconds, 0}};
        ::utimensat(AT_FDCWD, dir.File(name).c_str(), times, 0);
    };
    make(".murvex-Ab12Cd", 7200);     // left by a killed save: goes
    make(".murvex-Ef34Gh", 60);       // maybe a save in progress: stays
    make(".murvex-notes.txt", 7200);  // not our name: stays
    make("oud.pat", 7200);
    ASSERT_EQ(WriteFileAtomic(dir.File("a.pat"), "nieuw"), WriteStatus::Ok);
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{".murvex-Ef34Gh", ".murvex-notes.txt",
                                                       "a.pat", "oud.pat"}));
}

TEST(SaveCrash, ReplacedFileKeepsItsPermissions) {
    // A read-only file is replaced only where the user agreed to replace it (the question,
    // --force); the new file stays read-only.
    test::TempDir dir;
    const std::string target = dir.File("a.pat");
    for (const mode_t mode : {0640u, 0444u}) {
        SCOPED_TRACE(mode);
        std::filesystem::remove(target);
        test::WriteText(target, kOld);
        ASSERT_EQ(::chmod(target.c_str(), mode), 0);
        ASSERT_EQ(WriteFileAtomic(target, "nieuw"), WriteStatus::Ok);
        EXPECT_EQ(test::ReadText(target), "nieuw");
        struct stat st {};
        ASSERT_EQ(::stat(target.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, mode);
    }
}

TEST(SaveCrash, FullFileSystemKeepsTheOldFile) {
    test::SmallFs fs("64k");
    if (!fs.Mounted()) GTEST_SKIP() << fs.Why();
    const std::string target = fs.File("a.pat");
    test::WriteText(target, kOld);
    EXPECT_EQ(WriteFileAtomic(target, kNew), WriteStatus::CannotWrite);  // larger than it all
    EXPECT_EQ(test::ReadText(target), kOld);
    EXPECT_EQ(fs.Entries(), std::vector<std::string>{"a.pat"});

    ASSERT_TRUE(fs.Fill());
    EXPECT_NE(WriteFileAtomic(target, "x"), WriteStatus::Ok);
    EXPECT_EQ(test::ReadText(target), kOld);
    EXPECT_EQ(fs.Entries(), (std::vector<std::string>{"a.pat", "filler"}));
}

TEST(SaveCrash, ReadOnlyFileSystemKeepsTheOldFile) {
    test::SmallFs fs("64k");
    if (!fs.Mounted()) GTEST_SKIP() << fs.Why();
    const std::string target = fs.File("a.pat");
    test::WriteText(target, kOld);
    ASSERT_TRUE(fs.MakeReadOnly());
    EXPECT_EQ(WriteFileAtomic(target, "nieuw"), WriteStatus::CannotCreate);
    EXPECT_EQ(WriteFileAtomic(fs.File("b.pat"), "nieuw"), WriteStatus::CannotCreate);
    EXPECT_EQ(test::ReadText(target), kOld);
    EXPECT_EQ(fs.Entries(), std::vector<std::string>{"a.pat"});
}

TEST(SaveCrash, FolderRemovedBeforeTheFileIsPutInPlace) {
    test::TempDir dir;
    const std::filesystem::path folder = dir.Path() / "map";
    std::filesystem::create_directory(folder);
    PendingWrite write;
    ASSERT_EQ(write.Prepare((folder / "a.pat").string(), "nieuw"), WriteStatus::Ok);
    std::filesystem::remove_all(folder);
    EXPECT_EQ(write.Commit(), WriteStatus::CannotWrite);
    EXPECT_TRUE(dir.Entries().empty());
}

// The pattern save flow: a failure before the file is in place keeps the file it replaces out of
// the recycle bin, and every failure reaches the user's error box.
class SaveHatchCrash : public HookedWrite {
  protected:
    const LineList lines{";%UNITS=MM",
                         ";",
                         "*Tegels, wall",
                         ";%TYPE=MODEL",
                         "0.000, 0, 0, 0, 62.500, 210.000, -10.000",
                         ";"};
    test::FakePlatform platform;
    FileDialog dialog = MakeSaveHatchDialog();

    // Saves over an existing file, answering the question with OK; false when it failed.
    bool SaveOver(const std::string& file) {
        platform.dialogAnswers = {file};
        platform.messageAnswers = {Answer::Ok};
        return RunCommand(platform, [&] { SaveHatchFile(lines, platform, dialog, 1); });
    }
};

TEST_F(SaveHatchCrash, FailedWriteKeepsTheFileItWouldReplace) {
    struct Row {
        WriteStep step;
        const char* error;
    };
    for (const Row& row : {Row{WriteStep::Create, "Cannot create file "},
                           Row{WriteStep::Write, "Cannot write file "},
                           Row{WriteStep::SyncFile, "Cannot write file "}}) {
        SCOPED_TRACE(StepName(row.step));
        test::WriteText(target, kOld);
        platform.applicationErrors.clear();
        Script({row.step, 1, ENOSPC, false});
        EXPECT_FALSE(SaveOver(target));
        EXPECT_EQ(platform.applicationErrors, std::vector<std::string>{row.error + target});
        EXPECT_EQ(test::ReadText(target), kOld);
        EXPECT_TRUE(platform.recycled.empty());
        EXPECT_EQ(dir.Entries(), std::vector<std::string>{"a.pat"});
    }
}

TEST_F(SaveHatchCrash, FailureAfterTheOldFileWentToTheRecycleBinIsReported) {
    // Putting the written file in place failing: the old file is in the recycle bin, the user
    // is told. Syncing the folder failing: the new file is in place but not reported as saved.
    for (const WriteStep step : {WriteStep::Rename, WriteStep::SyncFolder}) {
        SCOPED_TRACE(StepName(step));
        test::WriteText(target, kOld);
        platform.applicationErrors.clear();
        platform.recycledContents.clear();
        Script({step, 1, EIO, false});
        EXPECT_FALSE(SaveOver(target));
        EXPECT_EQ(platform.applicationErrors,
                  std::vector<std::string>{"Cannot write file " + target});
        EXPECT_EQ(platform.recycledContents, std::vector<std::string>{kOld});
        EXPECT_EQ(std::filesystem::exists(target), step == WriteStep::SyncFolder);
        EXPECT_EQ(dir.Entries().size(), step == WriteStep::SyncFolder ? 1u : 0u);
    }
}

TEST_F(SaveHatchCrash, FullFileSystemKeepsTheFileItWouldReplace) {
    test::SmallFs fs("64k");
    if (!fs.Mounted()) GTEST_SKIP() << fs.Why();
    const std::string file = fs.File("muur.pat");
    test::WriteText(file, kOld);
    ASSERT_TRUE(fs.Fill());
    EXPECT_FALSE(SaveOver(file));
    ASSERT_EQ(platform.applicationErrors.size(), 1u);
    EXPECT_EQ(platform.applicationErrors[0].rfind("Cannot ", 0), 0u);
    EXPECT_EQ(test::ReadText(file), kOld);
    EXPECT_EQ(fs.Entries(), (std::vector<std::string>{"filler", "muur.pat"}));
}

TEST_F(SaveHatchCrash, FolderRemovedAfterTheDialogIsReported) {
    platform.dialogAnswers = {dir.File("weg/muur.pat")};
    EXPECT_FALSE(RunCommand(platform, [&] { SaveHatchFile(lines, platform, dialog, 1); }));
    EXPECT_EQ(platform.applicationErrors,
              std::vector<std::string>{"Cannot create file " + dir.File("weg/muur.pat")});
    EXPECT_TRUE(dir.Entries().empty());
}

}  // namespace
}  // namespace murvex
