// The Windows save flow under wine: replacing, read-only and hidden attributes, folders and
// devices as targets, long and non-ASCII paths, failed steps, stale temporary files, Ctrl+C.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "PatternCheck.h"
#include "PatternFile.h"
#include "SaveHatch.h"
#include "TempDir.h"

namespace murvex {
namespace {

const std::string kOld = "oud\r\n";

std::wstring Wide(const std::string& utf8) {
    std::wstring out(utf8.size(), L'\0');
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                        out.data(), static_cast<int>(out.size()));
    out.resize(static_cast<std::size_t>(n));
    return out;
}

DWORD Attributes(const std::string& path) {
    return ::GetFileAttributesW(Wide(path).c_str());
}

TEST(WindowsSave, ReplacesThroughEitherSeparatorAndLeavesOnlyTheTarget) {
    const test::TempDir dir;
    const std::string backslashed = dir.Path().string() + "\\a.pat";
    const std::string slashed = dir.Path().generic_string() + "/a.pat";
    for (const std::string& path : {backslashed, slashed, backslashed}) {
        SCOPED_TRACE(path);
        ASSERT_EQ(WriteFileAtomic(path, path), WriteStatus::Ok);
        EXPECT_EQ(test::ReadText(path), path);
        EXPECT_EQ(dir.Entries(), std::vector<std::string>{"a.pat"});
        EXPECT_EQ(Attributes(path) & FILE_ATTRIBUTE_HIDDEN, 0u);
    }
}

TEST(WindowsSave, ThePreparedFileIsHiddenBesideTheTargetUntilItReplacesIt) {
    const test::TempDir dir;
    const std::string target = dir.File("a.pat");
    test::WriteText(target, kOld);
    PendingWrite write;
    ASSERT_EQ(write.Prepare(target, "nieuw"), WriteStatus::Ok);
    const std::vector<std::string> entries = dir.Entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].rfind(".murvex-", 0), 0u);
    EXPECT_NE(Attributes(dir.File(entries[0])) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(test::ReadText(target), kOld);
    ASSERT_EQ(write.Commit(), WriteStatus::Ok);
    EXPECT_EQ(test::ReadText(target), "nieuw");
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"a.pat"});
}

// Ctrl+C during a save, as a user presses it: the console's processes all get it, a process that
// does not handle it ends, and the save's temporary file goes. Needs a console: ctest runs this
// once more on a terminal of its own (core_tests_console); without one it is skipped.
BOOL WINAPI IgnoreCtrl(DWORD) {
    return TRUE;
}

// The process that saves, started by the test below with the folder in MURVEX_CTRL_C_FOLDER.
TEST(WindowsSave, CtrlCDuringASave) {
    const char* folder = std::getenv("MURVEX_CTRL_C_FOLDER");
    if (folder == nullptr) GTEST_SKIP() << "started by CtrlCRemovesTheTemporaryFile";
    RemoveTempFileOnSignals();
    test::WriteText(std::string(folder) + "\\begonnen", "");  // this process got this far
    PendingWrite write;
    ASSERT_EQ(write.Prepare(std::string(folder) + "\\a.pat", "nieuw"), WriteStatus::Ok);
    ASSERT_TRUE(::GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0));
    ::Sleep(20000);
    FAIL() << "Ctrl+C did not end the process";
}

TEST(WindowsSave, CtrlCRemovesTheTemporaryFile) {
    if (::GetConsoleWindow() == nullptr) GTEST_SKIP() << "no console";
    ASSERT_TRUE(::SetConsoleCtrlHandler(IgnoreCtrl, TRUE));
    const test::TempDir dir;
    ASSERT_TRUE(
        ::SetEnvironmentVariableW(L"MURVEX_CTRL_C_FOLDER", Wide(dir.Path().string()).c_str()));
    wchar_t self[MAX_PATH];
    ASSERT_GT(::GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
    std::wstring command =
        L"\"" + std::wstring(self) + L"\" --gtest_filter=WindowsSave.CtrlCDuringASave";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    ASSERT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 nullptr, &startup, &child));
    const DWORD waited = ::WaitForSingleObject(child.hProcess, 30000);
    DWORD exitCode = 0;
    ::GetExitCodeProcess(child.hProcess, &exitCode);
    ::CloseHandle(child.hThread);
    ::CloseHandle(child.hProcess);
    ::SetEnvironmentVariableW(L"MURVEX_CTRL_C_FOLDER", nullptr);
    ::SetConsoleCtrlHandler(IgnoreCtrl, FALSE);
    ASSERT_EQ(waited, WAIT_OBJECT_0);
    // Windows' own handler ends the process with STATUS_CONTROL_C_EXIT, wine's with 0; a save
    // that went on or failed ends with 1.
    EXPECT_TRUE(exitCode == static_cast<DWORD>(STATUS_CONTROL_C_EXIT) || exitCode == 0) << exitCode;
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"begonnen"});
}

TEST(WindowsSave, AReadOnlyFileIsReplacedAndStaysReadOnly) {
    const test::TempDir dir;
    const std::string target = dir.File("a.pat");
    test::WriteText(target, kOld);
    ASSERT_TRUE(::SetFileAttributesW(Wide(target).c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_EQ(WriteFileAtomic(target, "nieuw"), WriteStatus::Ok);
    EXPECT_EQ(test::ReadText(target), "nieuw");
    EXPECT_NE(Attributes(target) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"a.pat"});
    ::SetFileAttributesW(Wide(target).c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(WindowsSave, FoldersAndDevicesAreNeverWritten) {
    const test::TempDir dir;
    std::filesystem::create_directory(dir.Path() / "c.pat");
    EXPECT_EQ(WriteFileAtomic(dir.File("c.pat"), "x"), WriteStatus::CannotWrite);
    EXPECT_EQ(WriteFileAtomic(dir.File("NUL"), "x"), WriteStatus::CannotCreate);
    EXPECT_EQ(WriteFileAtomic(dir.File("com1.pat"), "x"), WriteStatus::CannotCreate);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"c.pat"});
    EXPECT_EQ(ReadFileLimited(dir.File("c.pat")).status, ReadFileStatus::IsFolder);
}

TEST(WindowsSave, DeviceNames) {
    struct Row {
        const char* path;
        bool device;
    };
    const Row rows[] = {
        {"NUL", true},         {"nul.txt", true},      {"C:\\map\\Con", true},
        {"d/COM1.pat", true},  {"LPT9", true},         {"aux .pat", true},
        {"C:prn", true},       {"\\\\.\\COM3", true},  {"CONOUT$", true},
        {"COM0", false},       {"CONSOLE.pat", false}, {"NULL", false},
        {"nul\\a.pat", false}, {"a.nul", false},       {"", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        EXPECT_EQ(IsDeviceName(row.path), row.device);
    }
}

TEST(WindowsSave, LongAndNonAsciiPathsGoThroughTheWideApi) {
    const test::TempDir dir;
    // Folders of 60 characters, four deep: the file's path is well over MAX_PATH (260).
    std::wstring folder = LR"(\\?\)" + std::filesystem::absolute(dir.Path()).wstring();
    std::string path = dir.Path().string();
    for (int i = 0; i < 4; ++i) {
        const std::string part(60, static_cast<char>('a' + i));
        folder += L"\\" + Wide(part);
        path += "\\" + part;
        ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    }
    path += "\\Kruisverband \xC3\xAB\xE2\x82\xAC.pat";  // ë and € in UTF-8
    ASSERT_GT(path.size(), std::size_t{MAX_PATH});
    ASSERT_EQ(WriteFileAtomic(path, kOld), WriteStatus::Ok);
    ASSERT_EQ(WriteFileAtomic(path, "nieuw"), WriteStatus::Ok);
    const ReadFileResult r = ReadFileLimited(path);
    EXPECT_EQ(r.status, ReadFileStatus::Ok);
    EXPECT_EQ(r.bytes, "nieuw");
    const std::wstring wideName = folder + L"\\Kruisverband \u00EB\u20AC.pat";
    EXPECT_NE(::GetFileAttributesW(wideName.c_str()), INVALID_FILE_ATTRIBUTES);
    ::DeleteFileW(wideName.c_str());
    for (int i = 0; i < 4; ++i) {
        ::RemoveDirectoryW(folder.c_str());
        folder.resize(folder.rfind(L'\\'));
    }
}

WriteStep gFailAt = WriteStep::Create;
int FailAt(WriteStep step) {
    return step == gFailAt ? EIO : 0;
}

TEST(WindowsSave, EachFailingStepKeepsTheOldFileAndLeavesNothing) {
    const test::TempDir dir;
    const std::string target = dir.File("a.pat");
    test::WriteText(target, kOld);
    for (const WriteStep step : {WriteStep::Create, WriteStep::Write, WriteStep::SyncFile,
                                 WriteStep::Close, WriteStep::Rename}) {
        SCOPED_TRACE(static_cast<int>(step));
        gFailAt = step;
        SetWriteFaultHook(FailAt);
        EXPECT_NE(WriteFileAtomic(target, "nieuw"), WriteStatus::Ok);
        SetWriteFaultHook(nullptr);
        EXPECT_EQ(test::ReadText(target), kOld);
        EXPECT_EQ(dir.Entries(), std::vector<std::string>{"a.pat"});
    }
}

TEST(WindowsSave, ASaveRemovesOnlyStaleTemporaryFilesOfOurs) {
    const test::TempDir dir;
    const auto make = [&](const std::string& name, int ageSeconds) {
        test::WriteText(dir.File(name), "rest");
        const HANDLE file = ::CreateFileW(Wide(dir.File(name)).c_str(), FILE_WRITE_ATTRIBUTES, 0,
                                          nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        FILETIME now;
        ::GetSystemTimeAsFileTime(&now);
        ULARGE_INTEGER t{{now.dwLowDateTime, now.dwHighDateTime}};
        t.QuadPart -= static_cast<ULONGLONG>(ageSeconds) * 10'000'000ull;
        const FILETIME then{t.LowPart, t.HighPart};
        ::SetFileTime(file, nullptr, nullptr, &then);
        ::CloseHandle(file);
    };
    make(".murvex-Ab12Cd", 7200);     // left by a killed save: goes
    make(".murvex-Ef34Gh", 60);       // maybe a save in progress: stays
    make(".murvex-notes.txt", 7200);  // not our name: stays
    ASSERT_EQ(WriteFileAtomic(dir.File("a.pat"), "nieuw"), WriteStatus::Ok);
    EXPECT_EQ(dir.Entries(),
              (std::vector<std::string>{".murvex-Ef34Gh", ".murvex-notes.txt", "a.pat"}));
}

TEST(WindowsPaths, FolderAndStemEndAtEitherSeparator) {
    const std::string pattern = "*Kruisverband\r\n0,0,0,0,10\r\n";
    for (const char* path :
         {"C:\\map\\Kruisverband.pat", "C:/map/Kruisverband.pat", "map.d\\Kruisverband.PAT"}) {
        SCOPED_TRACE(path);
        for (const PatternWarning& w : CheckPatternText(pattern, path))
            EXPECT_NE(w.code, CheckCode::NameNotFileName);
    }
    EXPECT_EQ(WithDefaultExtension("C:\\map.d\\hek", "pat"), "C:\\map.d\\hek.pat");
    EXPECT_EQ(WithDefaultExtension("C:\\map.d\\", "pat"), "C:\\map.d\\");
}

}  // namespace
}  // namespace murvex
