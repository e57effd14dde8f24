// Writing a subcommand's output to standard output or to a file, and error lines.
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>

#include <CLI/CLI.hpp>

#include "Commands.h"
#include "Msg.h"
#include "NumberText.h"
#include "PatternFile.h"
#include "Utf8Path.h"

namespace murvex::cli {

void Complain(std::string_view message) {
    std::string line(message);
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
}

std::optional<Box> BoxOption(const std::vector<std::string>& corners) {
    double values[4] = {};
    for (std::size_t i = 0; i < 4; ++i) {
        const ParseResult r = ParseDecimal(corners.at(i));
        if (!r.ok) {
            Complain(kInvalidValueText);
            return std::nullopt;
        }
        values[i] = r.value;
    }
    Box box{values[0], values[1], values[2], values[3]};
    if (box.x0 > box.x1) std::swap(box.x0, box.x1);
    if (box.y0 > box.y1) std::swap(box.y0, box.y1);
    return box;
}

std::optional<std::string> ReadInput(const std::string& path, std::string_view heading) {
    ReadFileResult r = path == "-" ? ReadLimited(0) : ReadFileLimited(path);
    const std::string name = path == "-" ? "standard input" : path;
    if (r.status == ReadFileStatus::Ok) return std::move(r.bytes);
    if (!heading.empty()) Complain(heading);
    switch (r.status) {
        case ReadFileStatus::Ok:
            break;
        case ReadFileStatus::Missing:
            Complain(name + ": does not exist");
            break;
        case ReadFileStatus::IsFolder:
            Complain(name + ": is a folder");
            break;
        case ReadFileStatus::PermissionDenied:
            Complain(name + ": permission denied");
            break;
        case ReadFileStatus::TooLarge:
            Complain(name + ": larger than 64 MiB");
            break;
        case ReadFileStatus::Failed:
            Complain(name + ": cannot be read");
            break;
    }
    return std::nullopt;
}

int WriteOutput(const std::string& target, std::string_view bytes, bool force) {
    if (target.empty() || target == "-") {
        const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() &&
                        std::fflush(stdout) == 0;
        if (!ok) {
            Complain("cannot write to standard output");
            return kExitFailed;
        }
        return kExitOk;
    }
    namespace fs = std::filesystem;
    std::error_code ec;
    std::string path = target;
    fs::file_status status = fs::symlink_status(PathFromUtf8(path), ec);
    const bool exists = fs::exists(status);
    if (fs::is_symlink(status)) {
        // Written where the link points, so that the link stays; a dangling link is created.
        const fs::path resolved = fs::weakly_canonical(PathFromUtf8(target), ec);
        if (ec) {
            Complain("Cannot create file " + target);
            return kExitFailed;
        }
        path = Utf8FromPath(resolved);
        status = fs::status(resolved, ec);
    }
    // NUL, CON, COM1 and the like on Windows: devices, as /dev/null is on Linux.
    if (IsDeviceName(path)) {
        Complain(target + " is not a regular file; it is not replaced");
        return kExitFailed;
    }
    if (fs::is_directory(status)) {
        Complain(target + " is a folder");
        return kExitFailed;
    }
    if (fs::exists(status) && !fs::is_regular_file(status)) {
        Complain(target + " is not a regular file; it is not replaced");
        return kExitFailed;
    }
    if (exists && !force) {
        Complain(target + " exists; use --force to replace it");
        return kExitFailed;
    }
    switch (WriteFileAtomic(path, bytes)) {
        case WriteStatus::Ok:
            return kExitOk;
        case WriteStatus::CannotCreate:
            Complain("Cannot create file " + target);
            return kExitFailed;
        case WriteStatus::CannotWrite:
            Complain("Cannot write file " + target);
            return kExitFailed;
    }
    return kExitFailed;
}

Subcommand UnavailableCommand(CLI::App& parent, const std::string& name, const std::string& what) {
    CLI::App* app = parent.add_subcommand(name, what + " (not in this build)");
    app->allow_extras();
    app->prefix_command();
    return {app, [name] {
                Complain("murvex-cli " + name + ": not in this build");
                return kExitInvalid;
            }};
}

}  // namespace murvex::cli
