// The picture program on Linux: found beside /proc/self/exe or in ../libexec/murvex, started
// with execv so that it takes over this process (its standard streams and exit status).
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "Commands.h"
#include "PictureProgram.h"

namespace murvex::cli {

namespace {

constexpr const char* kPictureProgram = "murvex-cli-pictures";

std::vector<char*>& KeptArguments() {
    static std::vector<char*> arguments;
    return arguments;
}

// The picture program's path, or empty when it is not there.
const std::string& PictureProgramPath() {
    static const std::string path = [] {
        std::string self(4096, '\0');
        const ssize_t n = ::readlink("/proc/self/exe", self.data(), self.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= self.size()) return std::string();
        self.resize(static_cast<std::size_t>(n));
        const std::string folder = self.substr(0, self.rfind('/') + 1);
        for (const std::string& candidate :
             {folder + kPictureProgram, folder + "../libexec/murvex/" + kPictureProgram}) {
            if (::access(candidate.c_str(), X_OK) == 0) return candidate;
        }
        return std::string();
    }();
    return path;
}

}  // namespace

void KeepArguments(int argc, char** argv) {
    KeptArguments().assign(argv, argv + argc);
    KeptArguments().push_back(nullptr);
}

bool HasPictureProgram() {
    return !PictureProgramPath().empty();
}

int RunPictureProgram() {
    const std::string& path = PictureProgramPath();
    std::vector<char*> arguments = KeptArguments();
    if (path.empty() || arguments.size() < 2) {
        Complain("murvex-cli: PNG pictures are not in this build");
        return kExitInvalid;
    }
    ::execv(path.c_str(), arguments.data());
    Complain("murvex-cli: cannot start " + path + ": " + std::strerror(errno));
    return kExitFailed;
}

}  // namespace murvex::cli
