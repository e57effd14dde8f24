// Writing a subcommand's output to standard output or to a file, and error lines.
#include <cstdio>
#include <filesystem>
#include <string>

#include "Commands.h"
#include "PatternFile.h"

namespace murvex::cli {

void Complain(std::string_view message) {
    std::string line(message);
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
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
    std::error_code ec;
    const auto status = std::filesystem::symlink_status(target, ec);
    if (std::filesystem::exists(status) && !force) {
        Complain(target + " exists; use --force to replace it");
        return kExitFailed;
    }
    if (std::filesystem::is_directory(status)) {
        Complain("Cannot create file " + target);
        return kExitFailed;
    }
    switch (WriteFileAtomic(target, bytes)) {
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

}  // namespace murvex::cli
