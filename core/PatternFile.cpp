// Pattern lines and pattern files: the line kinds, their text, and writing a whole file.
#include "PatternFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "NumberText.h"

namespace murvex {

namespace {

// Built by appending: GCC 12 at -O3 reports a false -Wrestrict on "literal" + std::string&&.
std::string Prefixed(std::string_view prefix, std::string_view text) {
    std::string out;
    out.reserve(prefix.size() + text.size());
    out += prefix;
    out += text;
    return out;
}

}  // namespace

std::string UnitsHeader(std::string_view units) {
    return Prefixed(";%UNITS=", units);
}
std::string TypeHeader(std::string_view type) {
    return Prefixed(";%TYPE=", type);
}
std::string NameLine(std::string_view name) {
    return Prefixed("*", name);
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

}  // namespace

WriteStatus WriteFileAtomic(const std::string& path, std::string_view bytes) {
    if (path.empty() || path.find('\0') != std::string::npos) return WriteStatus::CannotCreate;
    std::string tmp = FolderOf(path) + "/.murvex-XXXXXX";
    const int fd = ::mkstemp(tmp.data());
    if (fd < 0) return WriteStatus::CannotCreate;
    // mkstemp creates 0600; give the file the permissions a newly created file would get.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    bool ok = WriteAll(fd, bytes);
    ok = (::fsync(fd) == 0) && ok;
    ok = (::close(fd) == 0) && ok;
    if (ok) ok = ::rename(tmp.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(tmp.c_str());
        return WriteStatus::CannotWrite;
    }
    return WriteStatus::Ok;
}

}  // namespace murvex
