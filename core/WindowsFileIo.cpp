// Saving and reading files on Windows: a hidden temporary file beside the target, flushed to the
// disk and put in place with ReplaceFileW (which keeps the replaced file's attributes) or
// MoveFileExW; Ctrl+C removes it. Paths are UTF-8 everywhere else and UTF-16 at the system; long
// ones go through the "\\?\" form, which has no MAX_PATH limit.
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <random>
#include <string>

#include "FileIoSteps.h"
#include "PatternFile.h"

namespace murvex {

using detail::Faulted;
using detail::IsTemporaryName;

namespace {

// Invalid UTF-8 gives nothing: such a name cannot be meant.
std::wstring Wide(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int size = static_cast<int>(utf8.size());
    const int n =
        ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
    if (n <= 0) return {};
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, out.data(), n);
    return out;
}

std::string Utf8(const wchar_t* wide) {
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return {};
    std::string out(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, out.data(), n, nullptr, nullptr);
    out.pop_back();
    return out;
}

// The path as the wide API takes it. From 248 characters on (a folder's limit under MAX_PATH)
// it is made absolute and given the "\\?\" prefix, with which the system takes it as it is.
std::wstring SystemPath(const std::string& path) {
    std::wstring wide = Wide(path);
    constexpr std::size_t kShortLimit = 248;
    if (wide.size() < kShortLimit || wide.starts_with(LR"(\\?\)")) return wide;
    DWORD size = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (size == 0) return wide;
    std::wstring full(size, L'\0');
    size = ::GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
    full.resize(size);
    if (full.starts_with(LR"(\\)")) return LR"(\\?\UNC\)" + full.substr(2);
    return LR"(\\?\)" + full;
}

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

// The folder part, as written: "." for a bare name, "C:" for "C:name", "C:\" for "C:\name".
std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    if (slash == std::string::npos) {
        if (path.size() >= 2 && path[1] == ':') return path.substr(0, 2);
        return ".";
    }
    if (slash == 0 || (slash == 2 && path[1] == ':')) return path.substr(0, slash + 1);
    return path.substr(0, slash);
}

std::string InFolder(const std::string& folder, const std::string& name) {
    if (!folder.empty() && (IsSeparator(folder.back()) || folder.back() == ':'))
        return folder + name;
    return folder + '\\' + name;
}

// The temporary file of the save in progress, for the console handler, which runs on a thread
// of its own. The path is written only while no file is registered.
wchar_t gTempPath[32768];
std::atomic<bool> gTempActive{false};

void RegisterTemporary(const std::wstring& name) {
    gTempActive = false;
    if (name.size() >= std::size(gTempPath)) return;
    std::copy(name.begin(), name.end(), gTempPath);
    gTempPath[name.size()] = L'\0';
    gTempActive = true;
}

BOOL WINAPI RemoveTempOnCtrl(DWORD) {
    // Opened with FILE_SHARE_DELETE, so it goes even while the save holds it open.
    if (gTempActive) ::DeleteFileW(gTempPath);
    return FALSE;  // the system's own handler then ends the process
}

bool WriteAll(HANDLE file, std::string_view bytes) {
    constexpr std::size_t kChunk = std::size_t{1} << 20;
    while (!bytes.empty()) {
        if (Faulted(WriteStep::Write)) return false;
        const DWORD want = static_cast<DWORD>(std::min(bytes.size(), kChunk));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), want, &written, nullptr) || written == 0) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                  FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                  FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Puts temp in target's place. A read-only file can be neither replaced nor moved over: the
// attribute is lifted for the moment of the replace and, with the old file's other attributes,
// given to the new file (and back to the old one when the replace fails).
bool PutInPlace(const std::wstring& temp, const std::wstring& target, DWORD oldAttributes) {
    if (oldAttributes == 0) {
        if (!::MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) return false;
        ::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);  // no longer hidden
        return true;
    }
    const bool readOnly = (oldAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    if (readOnly && !::SetFileAttributesW(target.c_str(), oldAttributes & ~FILE_ATTRIBUTE_READONLY))
        return false;
    bool ok = ::ReplaceFileW(target.c_str(), temp.c_str(), nullptr,
                             REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS,
                             nullptr, nullptr);
    // Where the file system cannot replace (some network shares), the old file is kept
    // whole until the move.
    if (!ok)
        ok = ::MoveFileExW(temp.c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    const DWORD kept = oldAttributes & kKeptAttributes;
    ::SetFileAttributesW(target.c_str(), kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL);
    return ok;
}

// Removes temporary files that a killed save left in folder: ours by name and unchanged for an
// hour, so that no save still in progress loses its file.
void RemoveStaleTemporaries(const std::string& folder) {
    WIN32_FIND_DATAW found;
    const HANDLE search =
        ::FindFirstFileW(SystemPath(InFolder(folder, ".murvex-*")).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    const auto ticks = [](const FILETIME& t) {
        return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    constexpr std::uint64_t kHour = 3600ull * 10'000'000ull;  // in 100 ns ticks
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
        const std::string name = Utf8(found.cFileName);
        if (!IsTemporaryName(name)) continue;
        if (ticks(found.ftLastWriteTime) + kHour < ticks(now))
            ::DeleteFileW(SystemPath(InFolder(folder, name)).c_str());
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

bool EqualsUpper(std::string_view a, std::string_view upper) {
    return a.size() == upper.size() &&
           std::equal(a.begin(), a.end(), upper.begin(), [](char x, char y) {
               return (x >= 'a' && x <= 'z' ? static_cast<char>(x - 'a' + 'A') : x) == y;
           });
}

}  // namespace

bool IsDeviceName(const std::string& path) {
    if (path.starts_with(R"(\\.\)") || path.starts_with("//./")) return true;
    std::size_t start = path.find_last_of("/\\");
    start = start == std::string::npos ? 0 : start + 1;
    if (start == 0 && path.size() >= 2 && path[1] == ':') start = 2;
    std::string_view stem = std::string_view(path).substr(start);
    stem = stem.substr(0, stem.find('.'));
    while (!stem.empty() && stem.back() == ' ')
        stem.remove_suffix(1);
    for (const std::string_view device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"})
        if (EqualsUpper(stem, device)) return true;
    if (stem.size() == 4 &&
        (EqualsUpper(stem.substr(0, 3), "COM") || EqualsUpper(stem.substr(0, 3), "LPT")))
        return stem[3] >= '1' && stem[3] <= '9';
    return false;
}

void RemoveTempFileOnSignals() {
    ::SetConsoleCtrlHandler(RemoveTempOnCtrl, TRUE);
}

PendingWrite::~PendingWrite() {
    Discard();
}

void PendingWrite::Discard() {
    if (handle_ != nullptr) ::CloseHandle(handle_);
    handle_ = nullptr;
    gTempActive = false;
    if (!tempName_.empty()) ::DeleteFileW(SystemPath(tempName_).c_str());
    tempName_.clear();
    prepared_ = false;
}

WriteStatus PendingWrite::Prepare(const std::string& path, std::string_view bytes) {
    Discard();
    if (path.empty() || path.find('\0') != std::string::npos || IsDeviceName(path))
        return WriteStatus::CannotCreate;
    const std::wstring target = SystemPath(path);
    if (target.empty()) return WriteStatus::CannotCreate;
    path_ = path;
    folder_ = FolderOf(path);
    oldAttributes_ = 0;
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        // A folder is never replaced: as on Linux, where its rename fails.
        if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0)
            return WriteStatus::CannotWrite;
        oldAttributes_ = attributes;
    }

    if (Faulted(WriteStep::Create)) return WriteStatus::CannotCreate;
    static constexpr char kLetters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    for (int attempt = 0; attempt < 100 && handle_ == nullptr; ++attempt) {
        std::string name = ".murvex-";
        for (int i = 0; i < 6; ++i)
            name += kLetters[pick(random)];
        name = InFolder(folder_, name);
        const std::wstring wide = SystemPath(name);
        RegisterTemporary(wide);
        const HANDLE file = ::CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr,
                                          CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            handle_ = file;
            tempName_ = name;
        } else {
            gTempActive = false;
            if (::GetLastError() != ERROR_FILE_EXISTS) break;
        }
    }
    if (handle_ == nullptr) return WriteStatus::CannotCreate;
    bool ok = WriteAll(handle_, bytes);
    ok = ok && !Faulted(WriteStep::SyncFile) && ::FlushFileBuffers(handle_);
    if (!ok) {
        Discard();
        return WriteStatus::CannotWrite;
    }
    prepared_ = true;
    return WriteStatus::Ok;
}

WriteStatus PendingWrite::Commit() {
    if (!prepared_) return WriteStatus::CannotWrite;
    prepared_ = false;
    const bool closeFaulted = Faulted(WriteStep::Close);
    bool ok = ::CloseHandle(handle_) && !closeFaulted;
    handle_ = nullptr;
    ok = ok && !Faulted(WriteStep::Rename) &&
         PutInPlace(SystemPath(tempName_), SystemPath(path_), oldAttributes_);
    if (!ok) {
        Discard();
        return WriteStatus::CannotWrite;
    }
    gTempActive = false;
    tempName_.clear();
    RemoveStaleTemporaries(folder_);
    return WriteStatus::Ok;
}

ReadFileResult ReadLimited(int fd, std::uintmax_t limit) {
    ReadFileResult result;
    struct _stat64 st {};
    if (::_fstat64(fd, &st) == 0) {
        if ((st.st_mode & _S_IFMT) == _S_IFDIR) {
            result.status = ReadFileStatus::IsFolder;
            return result;
        }
        if ((st.st_mode & _S_IFMT) == _S_IFREG && static_cast<std::uintmax_t>(st.st_size) > limit) {
            result.status = ReadFileStatus::TooLarge;
            return result;
        }
    }
    if (fd == 0) ::_setmode(fd, _O_BINARY);
    return detail::ReadToEnd(
        [fd](char* buffer, std::size_t size, ReadFileStatus*) -> long {
            return ::_read(fd, buffer, static_cast<unsigned>(size));
        },
        limit);
}

ReadFileResult ReadFileLimited(const std::string& path, std::uintmax_t limit) {
    ReadFileResult result;
    if (path.find('\0') != std::string::npos) return result;
    const std::wstring wide = SystemPath(path);
    if (wide.empty()) {
        result.status = ReadFileStatus::Missing;
        return result;
    }
    // Opening a folder fails as "access denied" on Windows: asked first.
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        result.status = ReadFileStatus::IsFolder;
        return result;
    }
    const int fd = ::_wopen(wide.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
    if (fd < 0) {
        result.status = detail::OpenFailure(errno);
        return result;
    }
    result = ReadLimited(fd, limit);
    ::_close(fd);
    return result;
}

}  // namespace murvex
