// FileLock and FileFingerprint on Linux: flock and stat.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "FileLock.h"

namespace murvex {

namespace {

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
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
        if (fd < 0) return errno == ENOENT ? FileLockStatus::Missing : FileLockStatus::Failed;
        for (;;) {
            if (::flock(fd, LOCK_EX | LOCK_NB) == 0) break;
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
