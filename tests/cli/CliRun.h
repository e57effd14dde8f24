// Runs the built murvex-cli (MURVEX_CLI) as a separate process for the command line tests.
#pragma once

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "TempDir.h"

namespace murvex::clitest {

struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs murvex-cli with standard input from inputFile (or /dev/null) and its two output streams
// going to files in dir, read back afterwards.
inline Result Cli(const test::TempDir& dir, const std::vector<std::string>& args,
                  const std::string& inputFile = "/dev/null") {
    const std::string outFile = dir.File(".stdout");
    const std::string errFile = dir.File(".stderr");
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int in = ::open(inputFile.c_str(), O_RDONLY);
        const int out = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || out < 0 || err < 0) ::_exit(126);
        ::dup2(in, 0);
        ::dup2(out, 1);
        ::dup2(err, 2);
        std::string program = MURVEX_CLI;
        std::vector<std::string> copies = args;
        std::vector<char*> argv{program.data()};
        for (std::string& a : copies)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    Result r;
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = test::ReadText(outFile);
    r.err = test::ReadText(errFile);
    return r;
}

}  // namespace murvex::clitest
