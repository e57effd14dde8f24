// Saving and reading files on Linux and other POSIX systems: a nameless temporary file named and
// renamed over the target, signals that remove a named one, reads with a size limit.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstring>
#include <ctime>
#include <random>

#include "FileIoSteps.h"
#include "PatternFile.h"

namespace murvex {

using detail::Faulted;
using detail::IsTemporaryName;

namespace {

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool WriteAll(int fd, std::string_view bytes) {
    constexpr std::size_t kChunk = std::size_t{1} << 20;
    while (!bytes.empty()) {
        if (Faulted(WriteStep::Write)) return false;
        const ssize_t n = ::write(fd, bytes.data(), std::min(bytes.size(), kChunk));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) return false;  // no progress and no error: give up rather than spin
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// The named temporary file of the save in progress, for the signal handler. The path is only
// written while signals are blocked and no temporary file is registered.
char gTempPath[4096];
volatile std::sig_atomic_t gTempActive = 0;

extern "C" void RemoveTempAndDie(int signal) {
    if (gTempActive) ::unlink(gTempPath);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// Blocks SIGINT and SIGTERM while it lives, so that a temporary file is never named without
// being registered for the handler.
class SignalsHeld {
  public:
    SignalsHeld() {
        sigset_t both;
        sigemptyset(&both);
        sigaddset(&both, SIGINT);
        sigaddset(&both, SIGTERM);
        ::sigprocmask(SIG_BLOCK, &both, &old_);
    }
    ~SignalsHeld() { ::sigprocmask(SIG_SETMASK, &old_, nullptr); }
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

  private:
    sigset_t old_;
};

void RegisterTemporary(const std::string& name) {
    if (name.size() >= sizeof gTempPath) return;
    std::memcpy(gTempPath, name.c_str(), name.size() + 1);
    gTempActive = 1;
}

// Gives the nameless file open as fd a fresh hidden name in folder.
bool NameNamelessFile(int fd, const std::string& folder, std::string& name) {
    char link[40] = "/proc/self/fd/";
    constexpr std::size_t kPrefix = sizeof "/proc/self/fd/" - 1;
    *std::to_chars(link + kPrefix, link + sizeof link - 1, fd).ptr = '\0';
    static constexpr char kLetters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = folder + "/.murvex-";
        for (int i = 0; i < 6; ++i)
            name += kLetters[pick(random)];
        if (::linkat(AT_FDCWD, link, AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) return true;
        if (errno != EEXIST) break;
    }
    name.clear();
    return false;
}

// Makes a rename in folder durable. File systems that cannot sync a folder (EINVAL) have
// nothing to make durable.
bool SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0 || errno == EINVAL;
    ::close(fd);
    return ok;
}

// Removes temporary files that a killed save left in folder: ours by name, owned by this user
// and unchanged for an hour, so that no save still in progress loses its file.
void RemoveStaleTemporaries(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return;
    const time_t hourAgo = ::time(nullptr) - 3600;
    while (const dirent* entry = ::readdir(dir)) {
        if (!IsTemporaryName(entry->d_name)) continue;
        struct stat st {};
        if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (S_ISREG(st.st_mode) && st.st_uid == ::geteuid() && st.st_mtime < hourAgo)
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

}  // namespace

bool IsDeviceName(const std::string&) {
    return false;
}

void RemoveTempFileOnSignals() {
    std::signal(SIGINT, RemoveTempAndDie);
    std::signal(SIGTERM, RemoveTempAndDie);
}

PendingWrite::~PendingWrite() {
    Discard();
}

void PendingWrite::Discard() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!tempName_.empty()) ::unlink(tempName_.c_str());
    tempName_.clear();
    gTempActive = 0;
    prepared_ = false;
}

WriteStatus PendingWrite::Prepare(const std::string& path, std::string_view bytes) {
    Discard();
    if (path.empty() || path.find('\0') != std::string::npos) return WriteStatus::CannotCreate;
    path_ = path;
    folder_ = FolderOf(path);

    // A replaced file keeps its permission bits; a new one gets those of any newly created file.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode_t mode = 0666 & ~mask;
    bool setMode = false;
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        mode = old.st_mode & 0777;
        setMode = true;
    }

    if (Faulted(WriteStep::Create)) return WriteStatus::CannotCreate;
#ifdef O_TMPFILE
    // A nameless file vanishes by itself when the process dies before it is named.
    if (::access("/proc/self/fd", X_OK) == 0)
        fd_ = ::open(folder_.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
#endif
    if (fd_ < 0) {
        tempName_ = folder_ + "/.murvex-XXXXXX";
        const SignalsHeld held;
        fd_ = ::mkostemp(tempName_.data(), O_CLOEXEC);
        if (fd_ < 0) {
            tempName_.clear();
            return WriteStatus::CannotCreate;
        }
        RegisterTemporary(tempName_);
        setMode = true;  // mkostemp creates 0600
    }
    bool ok = !setMode || ::fchmod(fd_, mode) == 0;
    ok = ok && WriteAll(fd_, bytes);
    ok = ok && !Faulted(WriteStep::SyncFile) && ::fsync(fd_) == 0;
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
    bool ok = true;
    if (tempName_.empty()) {
        const SignalsHeld held;
        ok = !Faulted(WriteStep::Name) && NameNamelessFile(fd_, folder_, tempName_);
        if (ok) RegisterTemporary(tempName_);
    }
    const bool closeFaulted = ok && Faulted(WriteStep::Close);
    ok = ::close(fd_) == 0 && ok && !closeFaulted;
    fd_ = -1;
    ok = ok && !Faulted(WriteStep::Rename) && ::rename(tempName_.c_str(), path_.c_str()) == 0;
    if (!ok) {
        Discard();
        return WriteStatus::CannotWrite;
    }
    tempName_.clear();
    gTempActive = 0;
    RemoveStaleTemporaries(folder_);
    if (Faulted(WriteStep::SyncFolder) || !SyncFolder(folder_)) return WriteStatus::CannotWrite;
    return WriteStatus::Ok;
}

ReadFileResult ReadLimited(int fd, std::uintmax_t limit) {
    ReadFileResult result;
    struct stat st {};
    if (::fstat(fd, &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            result.status = ReadFileStatus::IsFolder;
            return result;
        }
        // A regular file that is already too large is refused without reading it.
        if (S_ISREG(st.st_mode) && static_cast<std::uintmax_t>(st.st_size) > limit) {
            result.status = ReadFileStatus::TooLarge;
            return result;
        }
    }
    return detail::ReadToEnd(
        [fd](char* buffer, std::size_t size, ReadFileStatus* failure) -> long {
            while (true) {
                const ssize_t n = ::read(fd, buffer, size);
                if (n >= 0) return static_cast<long>(n);
                if (errno == EINTR) continue;
                *failure = errno == EISDIR ? ReadFileStatus::IsFolder : ReadFileStatus::Failed;
                return -1;
            }
        },
        limit);
}

ReadFileResult ReadFileLimited(const std::string& path, std::uintmax_t limit) {
    ReadFileResult result;
    if (path.find('\0') != std::string::npos) return result;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        result.status = detail::OpenFailure(errno);
        return result;
    }
    result = ReadLimited(fd, limit);
    ::close(fd);
    return result;
}

}  // namespace murvex
