// FileLock and FileFingerprint on Windows: LockFileEx on a byte beyond any data, and the file's
// index, size and last write time.
#include <windows.h>

#include <thread>

#include "FileLock.h"
#include "Utf8Path.h"

namespace murvex {

namespace {

// Far beyond the data: a lock there blocks no reader of the file's bytes.
constexpr DWORD kLockOffsetHigh = 0x7FFFFFFF;

HANDLE OpenShared(const std::string& path) {
    // Shared for delete too, so that the replace can put a new file in this one's place.
    return ::CreateFileW(PathFromUtf8(path).c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool InfoOf(HANDLE h, BY_HANDLE_FILE_INFORMATION& info) {
    return ::GetFileInformationByHandle(h, &info) != 0;
}

bool SameFile(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b) {
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
           a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}

}  // namespace

FileLock::~FileLock() {
    Unlock();
}

void FileLock::Unlock() {
    if (handle_) ::CloseHandle(static_cast<HANDLE>(handle_));  // closing drops the lock
    handle_ = nullptr;
}

FileLockStatus FileLock::Lock(const std::string& path, std::chrono::milliseconds wait) {
    Unlock();
    const auto until = std::chrono::steady_clock::now() + wait;
    for (;;) {
        const HANDLE h = OpenShared(path);
        if (h == INVALID_HANDLE_VALUE) {
            const DWORD e = ::GetLastError();
            return e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND ? FileLockStatus::Missing
                                                                          : FileLockStatus::Failed;
        }
        for (;;) {
            OVERLAPPED at{};
            at.OffsetHigh = kLockOffsetHigh;
            if (::LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at))
                break;
            if (::GetLastError() != ERROR_LOCK_VIOLATION ||
                std::chrono::steady_clock::now() >= until) {
                const bool busy = ::GetLastError() == ERROR_LOCK_VIOLATION;
                ::CloseHandle(h);
                return busy ? FileLockStatus::Busy : FileLockStatus::Failed;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        BY_HANDLE_FILE_INFORMATION locked{};
        BY_HANDLE_FILE_INFORMATION named{};
        const HANDLE now = OpenShared(path);
        const bool same = now != INVALID_HANDLE_VALUE && InfoOf(h, locked) && InfoOf(now, named) &&
                          SameFile(locked, named);
        if (now != INVALID_HANDLE_VALUE) ::CloseHandle(now);
        if (same) {
            handle_ = h;
            return FileLockStatus::Locked;
        }
        ::CloseHandle(h);
        if (std::chrono::steady_clock::now() >= until) return FileLockStatus::Busy;
    }
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
