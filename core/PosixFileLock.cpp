// FileLock and FileFingerprint on Linux: flock and stat.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <thread>

#include "FileLock.h"

namespace murvex {

namespace {

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Waits until fd is flocked or until; closes it unless Locked.
FileLockStatus FlockUntil(int fd, std::chrono::steady_clock::time_point until) {
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return FileLockStatus::Locked;
        if (errno != EWOULDBLOCK && errno != EINTR) {
            ::close(fd);
            return FileLockStatus::Failed;
        }
        if (std::chrono::steady_clock::now() >= until) {
            ::close(fd);
            return FileLockStatus::Busy;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

// The folder a file of that path is created in.
std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

FileLock::~FileLock() {
    Unlock();
}

void FileLock::Unlock() {
    if (fd_ >= 0) ::close(fd_);  // closing drops the lock
    fd_ = -1;
}

FileLockStatus FileLock::Lock(const std::string& path, std::chrono::milliseconds wait) {
    Unlock();
    const auto until = std::chrono::steady_clock::now() + wait;
    for (;;) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
        if (fd < 0 && errno != ENOENT) return FileLockStatus::Failed;
        if (fd < 0) {
            // No file to lock: its folder is locked while it is created, the stable name that
            // every writer creating it locks too. A folder that cannot be opened (none, or no
            // right to read it) leaves the new file unlocked, as before a first file existed.
            const int folder =
                ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOCTTY);
            if (folder < 0) return FileLockStatus::Missing;
            const FileLockStatus status = FlockUntil(folder, until);
            if (status != FileLockStatus::Locked) return status;
            struct stat named {};
            if (::stat(path.c_str(), &named) != 0 && errno == ENOENT) {
                fd_ = folder;
                return FileLockStatus::Missing;
            }
            ::close(folder);  // created meanwhile by the writer that held the folder: lock it
            continue;
        }
        const FileLockStatus status = FlockUntil(fd, until);
        if (status != FileLockStatus::Locked) return status;
        // Replaced while this one waited: the lock is on a file no name leads to any more.
        struct stat locked {};
        struct stat named {};
        if (::fstat(fd, &locked) == 0 && ::stat(path.c_str(), &named) == 0 &&
            SameFile(locked, named)) {
            fd_ = fd;
            return FileLockStatus::Locked;
        }
        ::close(fd);
        if (std::chrono::steady_clock::now() >= until) return FileLockStatus::Busy;
    }
}

FileFingerprint FingerprintOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return {};
    FileFingerprint f;
    f.volume = static_cast<std::uint64_t>(st.st_dev);
    f.id = static_cast<std::uint64_t>(st.st_ino);
    f.size = static_cast<std::uint64_t>(st.st_size);
    f.changed = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    f.exists = true;
    return f;
}

}  // namespace murvex
