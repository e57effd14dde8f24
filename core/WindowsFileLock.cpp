// FileLock and FileFingerprint on Windows: a named semaphore of one for the file's full path (no
// handle of the file stays open, so that the replace can put a new file in its place, which a
// lock on the file itself prevents; a semaphore, unlike a mutex, also holds off a second lock
// in the same thread), and the file's index, size and last write time.
#include <windows.h>

#include <cwctype>
#include <string>

#include "FileLock.h"
#include "Utf8Path.h"

namespace murvex {

namespace {

HANDLE OpenShared(const std::string& path) {
    return ::CreateFileW(PathFromUtf8(path).c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool InfoOf(HANDLE h, BY_HANDLE_FILE_INFORMATION& info) {
    return ::GetFileInformationByHandle(h, &info) != 0;
}

// The semaphore's name: the full path in lower case (Windows file names ignore case), hashed, so
// that every writer of one file, by whatever path, takes the same semaphore.
std::wstring LockName(const std::string& path) {
    const std::wstring wide = PathFromUtf8(path);
    std::wstring full(32768, L'\0');
    const DWORD n =
        ::GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    full.resize(n > 0 && n < full.size() ? n : 0);
    if (full.empty()) full = wide;
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (const wchar_t c : full) {
        hash ^= static_cast<std::uint64_t>(c == L'/' ? L'\\' : std::towlower(c));
        hash *= 1099511628211ull;
    }
    static constexpr wchar_t kHex[] = L"0123456789abcdef";
    std::wstring name = L"Local\\murvex-library-";
    for (int shift = 60; shift >= 0; shift -= 4)
        name += kHex[(hash >> shift) & 0xf];
    return name;
}

}  // namespace

FileLock::~FileLock() {
    Unlock();
}

void FileLock::Unlock() {
    if (handle_) {
        ::ReleaseSemaphore(static_cast<HANDLE>(handle_), 1, nullptr);
        ::CloseHandle(static_cast<HANDLE>(handle_));
    }
    handle_ = nullptr;
}

FileLockStatus FileLock::Lock(const std::string& path, std::chrono::milliseconds wait) {
    Unlock();
    // The name is locked whether or not a file has it yet: writers that create it take turns too.
    const HANDLE one = ::CreateSemaphoreW(nullptr, 1, 1, LockName(path).c_str());
    if (!one) return FileLockStatus::Failed;
    switch (::WaitForSingleObject(one, static_cast<DWORD>(wait.count()))) {
        case WAIT_OBJECT_0:
            handle_ = one;
            break;
        case WAIT_TIMEOUT:
            ::CloseHandle(one);
            return FileLockStatus::Busy;
        default:
            ::CloseHandle(one);
            return FileLockStatus::Failed;
    }
    if (::GetFileAttributesW(PathFromUtf8(path).c_str()) != INVALID_FILE_ATTRIBUTES)
        return FileLockStatus::Locked;
    const DWORD e = ::GetLastError();
    if (e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND) return FileLockStatus::Missing;
    Unlock();
    return FileLockStatus::Failed;
}

FileFingerprint FingerprintOf(const std::string& path) {
    const HANDLE h = OpenShared(path);
    if (h == INVALID_HANDLE_VALUE) return {};
    BY_HANDLE_FILE_INFORMATION info{};
    const bool ok = InfoOf(h, info);
    ::CloseHandle(h);
    if (!ok) return {};
    FileFingerprint f;
    f.volume = info.dwVolumeSerialNumber;
    f.id = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    f.size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    f.changed = static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32) |
        info.ftLastWriteTime.dwLowDateTime);
    f.exists = true;
    return f;
}

}  // namespace murvex
