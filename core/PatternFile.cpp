// Pattern lines and pattern files: the line kinds, their text, and writing a whole file.
#include "PatternFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "NumberText.h"
#include "Text.h"

namespace murvex {

namespace {

// A CR, LF or NUL inside a header or name text would end the line early or cut the file short
// for every reader; each becomes a blank.
std::string OneLine(std::string_view prefix, std::string_view text) {
    std::string out(prefix);
    out.reserve(prefix.size() + text.size());
    for (const char c : text)
        out += (c == '\r' || c == '\n' || c == '\0') ? ' ' : c;
    return out;
}

}  // namespace

std::string UnitsHeader(std::string_view units) {
    return OneLine(";%UNITS=", units);
}
std::string TypeHeader(std::string_view type) {
    return OneLine(";%TYPE=", type);
}
std::string NameLine(std::string_view name) {
    return OneLine("*", name);
}

std::optional<PatternLine> ParsePatternLine(std::string_view text) {
    const std::string_view trimmed = Trim(text);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '*') return std::nullopt;
    std::vector<double> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = trimmed.find(',', start);
        const std::string_view field = Trim(
            trimmed.substr(start, comma == std::string_view::npos ? trimmed.npos : comma - start));
        // Fields are point-decimal here: a comma is always a separator.
        const ParseResult r = ParseDecimal(field);
        if (!r.ok || field.empty()) return std::nullopt;
        fields.push_back(r.value);
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    if (fields.size() < 5) return std::nullopt;
    PatternLine line;
    line.angle = fields[0];
    line.x = fields[1];
    line.y = fields[2];
    line.shiftX = fields[3];
    line.shiftY = fields[4];
    line.dashes.assign(fields.begin() + 5, fields.end());
    return line;
}

std::vector<PatternLine> ParsePatternLines(const LineList& lines) {
    std::vector<PatternLine> out;
    bool seen = false;
    for (const std::string& l : lines) {
        const std::string_view t = Trim(l);
        if (seen && t.size() >= 2 && t.front() == '*') break;  // a second pattern
        if (auto p = ParsePatternLine(l)) {
            out.push_back(std::move(*p));
            seen = true;
        }
    }
    return out;
}

std::string JoinCrLf(const LineList& lines) {
    std::size_t size = 0;
    for (const std::string& l : lines)
        size += l.size() + 2;
    std::string out;
    out.reserve(size);
    for (const std::string& l : lines) {
        out += l;
        out += "\r\n";
    }
    return out;
}

namespace {

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// The temporary file being written, for the signal handler; the path is only ever written while
// no temporary file is active, and the flag is set after it and cleared after the rename.
char gTempPath[4096];
volatile std::sig_atomic_t gTempActive = 0;

extern "C" void RemoveTempAndDie(int signal) {
    if (gTempActive) ::unlink(gTempPath);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

}  // namespace

void RemoveTempFileOnSignals() {
    std::signal(SIGINT, RemoveTempAndDie);
    std::signal(SIGTERM, RemoveTempAndDie);
}

WriteStatus WriteFileAtomic(const std::string& path, std::string_view bytes) {
    if (path.empty() || path.find('\0') != std::string::npos) return WriteStatus::CannotCreate;
    std::string tmp = FolderOf(path) + "/.murvex-XXXXXX";
    if (tmp.size() >= sizeof gTempPath) return WriteStatus::CannotCreate;
    // Signals wait while the file is created and registered, so that none is left unregistered.
    sigset_t all;
    sigset_t old;
    sigemptyset(&all);
    sigaddset(&all, SIGINT);
    sigaddset(&all, SIGTERM);
    ::sigprocmask(SIG_BLOCK, &all, &old);
    const int fd = ::mkstemp(tmp.data());
    if (fd >= 0) {
        std::memcpy(gTempPath, tmp.c_str(), tmp.size() + 1);
        gTempActive = 1;
    }
    ::sigprocmask(SIG_SETMASK, &old, nullptr);
    if (fd < 0) return WriteStatus::CannotCreate;
    // mkstemp creates 0600; give the file the permissions a newly created file would get.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    bool ok = WriteAll(fd, bytes);
    ok = (::fsync(fd) == 0) && ok;
    ok = (::close(fd) == 0) && ok;
    if (ok) ok = ::rename(tmp.c_str(), path.c_str()) == 0;
    if (!ok) ::unlink(tmp.c_str());
    gTempActive = 0;
    return ok ? WriteStatus::Ok : WriteStatus::CannotWrite;
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
    char buffer[65536];
    while (true) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            result.status = errno == EISDIR ? ReadFileStatus::IsFolder : ReadFileStatus::Failed;
            result.bytes.clear();
            return result;
        }
        if (n == 0) break;
        if (result.bytes.size() + static_cast<std::size_t>(n) > limit) {
            result.status = ReadFileStatus::TooLarge;
            result.bytes.clear();
            return result;
        }
        result.bytes.append(buffer, static_cast<std::size_t>(n));
    }
    result.status = ReadFileStatus::Ok;
    return result;
}

ReadFileResult ReadFileLimited(const std::string& path, std::uintmax_t limit) {
    ReadFileResult result;
    if (path.find('\0') != std::string::npos) return result;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        switch (errno) {
            case ENOENT:
            case ENOTDIR:
                result.status = ReadFileStatus::Missing;
                break;
            case EACCES:
            case EPERM:
                result.status = ReadFileStatus::PermissionDenied;
                break;
            case EISDIR:
                result.status = ReadFileStatus::IsFolder;
                break;
            default:
                result.status = ReadFileStatus::Failed;
        }
        return result;
    }
    result = ReadLimited(fd, limit);
    ::close(fd);
    return result;
}

}  // namespace murvex
