// An exclusive lock on a file for the whole of a read, change and replace, so that two writers
// of one file (two processes adding to one library) take turns instead of one losing the other's
// change. Only writers that take the lock wait for each other; FileFingerprint tells whether a
// file was changed by anyone else in between.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace murvex {

enum class FileLockStatus {
    Locked,
    Missing,  // there is no file of that name; the lock holds its creation (see below)
    Busy,     // another writer held it for the whole wait
    Failed,   // it cannot be opened or locked
};

// flock on Linux: a replace puts a new file in place of the locked one; a writer that waited on
// the old file then finds the name pointing elsewhere and locks the new file instead. A name no
// file has yet is held through its folder's flock, so that two writers creating the same new file
// take turns; the second then finds the file and locks it. On Windows a named semaphore for the
// file's full path (an open lock on the file would stop its replace): the lock holds the name,
// whatever file it leads to, or none. Readers are never blocked.
class FileLock {
  public:
    FileLock() = default;
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Waits at most wait for the lock on the file path names now.
    FileLockStatus Lock(const std::string& path, std::chrono::milliseconds wait);
    void Unlock();

  private:
    [[maybe_unused]] int fd_ = -1;             // Linux
    [[maybe_unused]] void* handle_ = nullptr;  // Windows
};

// What tells a file's state apart without reading it again: its identity on the disk (inode or
// file index), size and time of last change.
struct FileFingerprint {
    std::uint64_t volume = 0;
    std::uint64_t id = 0;
    std::uint64_t size = 0;
    std::int64_t changed = 0;  // in the system's own ticks
    bool exists = false;

    bool operator==(const FileFingerprint&) const = default;
};
FileFingerprint FingerprintOf(const std::string& path);

// The wait of a library write for another writer's lock.
inline constexpr std::chrono::milliseconds kLibraryLockWait{20000};

}  // namespace murvex
