// murvex-cli against hostile names, special files, pipes, signals and full output devices.
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "Sanitizers.h"
#include "TempDir.h"

namespace murvex {
namespace {

namespace fs = std::filesystem;
using test::ReadText;
using test::TempDir;
using test::WriteText;

struct Outcome {
    int status = -1;  // the exit status, or -1 when a signal ended the process
    std::string out;
    std::string err;
};

struct Spawn {
    Spawn(std::vector<std::string> a, std::string in = {}, std::string out = {})
        : args(std::move(a)), input(std::move(in)), output(std::move(out)) {}
    std::vector<std::string> args;
    std::string input;                    // written to standard input through a pipe
    std::string output;                   // where standard output goes; a file in dir if empty
    rlim_t addressLimit = RLIM_INFINITY;  // the child's address space, in bytes
};

pid_t Start(const TempDir& dir, const Spawn& s, int& inWrite) {
    int in[2];
    if (::pipe(in) != 0) return -1;
    const std::string outFile = s.output.empty() ? dir.File(".stdout") : s.output;
    const std::string errFile = dir.File(".stderr");
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int out = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || err < 0) ::_exit(126);
        ::dup2(in[0], 0);
        ::dup2(out, 1);
        ::dup2(err, 2);
        ::close(in[1]);
        if (s.addressLimit != RLIM_INFINITY) {
            const rlimit limit{s.addressLimit, s.addressLimit};
            ::setrlimit(RLIMIT_AS, &limit);
        }
        std::string program = MURVEX_CLI;
        std::vector<std::string> copies = s.args;
        std::vector<char*> argv{program.data()};
        for (std::string& a : copies)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(in[0]);
    inWrite = in[1];
    return pid;
}

Outcome Finish(const TempDir& dir, const Spawn& s, pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    Outcome r;
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (s.output.empty()) r.out = ReadText(dir.File(".stdout"));
    r.err = ReadText(dir.File(".stderr"));
    return r;
}

Outcome Cli(const TempDir& dir, const Spawn& s) {
    int in = -1;
    const pid_t pid = Start(dir, s, in);
    if (!s.input.empty()) {
        // Small inputs only: they fit in the pipe.
        [[maybe_unused]] const ssize_t n = ::write(in, s.input.data(), s.input.size());
    }
    ::close(in);
    return Finish(dir, s, pid);
}

const std::vector<std::string> kBond = {"bond", "--bond",         "1",   "--length",
                                        "210",  "--length-joint", "220", "--height",
                                        "50",   "--height-joint", "62.5"};

std::vector<std::string> Bond(std::vector<std::string> more) {
    std::vector<std::string> args = kBond;
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Overlong UTF-8 for NUL and CR LF once made the file end early and grow a pattern line.
TEST(CliHostileName, StaysOneLineOfTheFile) {
    TempDir dir;
    const std::string file = dir.File("n.pat");
    const Outcome r = Cli(dir, {Bond({"--name",
                                      "na\xc0\x80me\xc0\x8d\xc0\x8a"
                                      "0,0,0,0,1",
                                      "-o", file})});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string bytes = ReadText(file);
    EXPECT_EQ(bytes.find('\0'), std::string::npos);
    EXPECT_TRUE(Contains(bytes, "\r\n*na??me????0,0,0,0,1\r\n")) << bytes;

    ASSERT_EQ(Cli(dir, {Bond({"--name", "a\rb\nc", "-o", file, "--force"})}).status, 0);
    EXPECT_TRUE(Contains(ReadText(file), "\r\n*a b c\r\n"));
}

TEST(CliHostileOutput, ForceReplacesOnlyRegularFilesAndKeepsLinks) {
    TempDir dir;
    const std::string real = dir.File("real.pat");
    const std::string link = dir.File("link.pat");
    WriteText(real, "old");
    fs::create_symlink("real.pat", link);
    Outcome r = Cli(dir, {Bond({"-o", link, "--force"})});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(link)));
    EXPECT_EQ(ReadText(real).rfind(";%UNITS=MM\r\n", 0), 0u);

    const std::string fifo = dir.File("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string fifoLink = dir.File("fifo-link");
    fs::create_symlink("fifo", fifoLink);
    for (const std::string& target : {fifo, fifoLink, std::string("/dev/null")}) {
        SCOPED_TRACE(target);
        r = Cli(dir, {Bond({"-o", target, "--force"})});
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(Contains(r.err, "not a regular file")) << r.err;
    }
    EXPECT_TRUE(fs::is_fifo(fs::symlink_status(fifo)));
    EXPECT_TRUE(fs::is_character_file(fs::status("/dev/null")));

    for (const bool force : {false, true}) {
        SCOPED_TRACE(force);
        std::vector<std::string> args = Bond({"-o", dir.Path().string()});
        if (force) args.push_back("--force");
        r = Cli(dir, {args});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, dir.Path().string() + " is a folder\n");
    }
}

// The file names in the messages are left out: only the reason is compared.
TEST(CliHostileInput, SaysWhyAFileCannotBeRead) {
    TempDir dir;
    fs::create_directory(dir.File("folder"));
    WriteText(dir.File("locked.pat"), "0,0,0,0,1\n");
    ::chmod(dir.File("locked.pat").c_str(), 0);
    struct Row {
        std::string name;
        std::string reason;
    };
    std::vector<Row> rows = {{"missing.pat", "does not exist"}, {"folder", "is a folder"}};
    // Permissions do not keep root out.
    if (::geteuid() != 0) rows.push_back({"locked.pat", "permission denied"});
    for (const Row& row : rows) {
        for (const std::vector<std::string>& command :
             {std::vector<std::string>{"read"}, std::vector<std::string>{"lines"},
              std::vector<std::string>{"segments", "--box", "0", "0", "1", "1"}}) {
            SCOPED_TRACE(row.name + " " + command[0]);
            std::vector<std::string> args = command;
            args.insert(args.begin() + 1, dir.File(row.name));
            const Outcome r = Cli(dir, {args});
            EXPECT_EQ(r.status, 1);
            EXPECT_TRUE(Contains(r.err, dir.File(row.name) + ": " + row.reason + "\n")) << r.err;
        }
    }
}

// Endless input is refused at the 64 MiB limit; the child cannot take more than 1 GiB, so that
// reading without a limit ends in an allocation failure instead of exhausting the machine.
TEST(CliHostileInput, EndlessInputIsRefusedAtTheLimit) {
    TempDir dir;
    for (const char* command : {"segments", "lines"}) {
        SCOPED_TRACE(command);
        std::vector<std::string> args = {command, "/dev/zero"};
        if (std::string(command) == "segments")
            args.insert(args.end(), {"--box", "0", "0", "1", "1"});
        Spawn s{args};
#if !defined(MURVEX_ADDRESS_SANITIZER)
        s.addressLimit = rlim_t{1} << 30;
#endif
        const Outcome r = Cli(dir, s);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, "/dev/zero: larger than 64 MiB\n");
    }
}

// A file of 16 MiB of empty lines once took 32 bytes of memory per byte, one string per line;
// each reader now reads it as it reads three empty lines, within 256 MiB of address space.
TEST(CliHostileInput, EmptyLinesCostNoMemoryPerLine) {
    TempDir dir;
    const std::string few = dir.File("few.txt");
    const std::string many = dir.File("many.txt");
    WriteText(few, "\n\r\n\r");
    WriteText(many, std::string(std::size_t{16} << 20, '\n'));
    const std::vector<std::vector<std::string>> commands = {
        {"figure-read"},
        {"figure", "-o", dir.File("f.pat"), "--force"},
        {"read"},
        {"check"},
        {"segments", "--box", "0", "0", "1", "1"},
        {"render", "--box", "0", "0", "1", "1", "-o", dir.File("r.png"), "--force"}};
    for (const std::vector<std::string>& command : commands) {
        SCOPED_TRACE(command[0]);
        std::vector<std::string> args = command;
        args.insert(args.begin() + 1, few);
        const Outcome small = Cli(dir, {args});
        args[1] = many;
        Spawn s{args};
#if !defined(MURVEX_ADDRESS_SANITIZER)
        s.addressLimit = rlim_t{256} << 20;
#endif
        const Outcome large = Cli(dir, s);
        EXPECT_EQ(large.status, small.status) << large.err;
        EXPECT_EQ(large.out, small.out);
    }
}

TEST(CliHostileInput, ReadsStandardInputFromAPipe) {
    TempDir dir;
    const std::string pattern = "*Pijp\r\n0, 0, 0, 0, 1\r\n";
    for (const char* name : {"-", "/dev/stdin"}) {
        SCOPED_TRACE(name);
        Outcome r = Cli(dir, {{"read", name}, pattern});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, "#units\tMM\n#type\tMODEL\n#name\tPijp\n0\t0\t0\t0\t1\t\t\n");
        r = Cli(dir, {{"segments", name, "--box", "0", "0", "2", "1"}, pattern});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, "0.000 0.000 2.000 0.000\n0.000 1.000 2.000 1.000\n");
    }
}

TEST(CliHostileOutput, AFullOutputDeviceFails) {
    TempDir dir;
    const std::string file = dir.File("p.pat");
    WriteText(file, "*P\r\n0,0,0,0,1\r\n");
    const std::vector<std::vector<std::string>> commands = {
        {"--help"}, {"bond", "--help"}, {"bonds"}, {"read", file}, Bond({})};
    for (const std::vector<std::string>& args : commands) {
        SCOPED_TRACE(args[0] + " " + (args.size() > 1 ? args[1] : ""));
        const Outcome r = Cli(dir, {args, "", "/dev/full"});
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(Contains(r.err, "cannot write to standard output")) << r.err;
    }
}

// An ESC sequence in a pattern name would retitle the terminal.
TEST(CliHostileRead, EscapesControlCharacters) {
    TempDir dir;
    const std::string file = dir.File("esc.pat");
    WriteText(file, "*a\x1b]0;owned\x07z\r\n1\r\n");
    const Outcome r = Cli(dir, {{"read", file}});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "#units\tMM\n#type\tMODEL\n#name\ta\\x1b]0;owned\\x07z\n1\t\t\t\t\t\t\n");
}

// SIGTERM or SIGINT while a large file is written: the temporary file goes, the old file stays.
TEST(CliHostileSignal, RemovesTheTemporaryFile) {
    TempDir dir;
    const std::string rows = dir.File("big.tsv");
    const std::string cell(8 << 20, '7');
    std::string text;
    for (int i = 0; i < 6; ++i)
        text += cell + "\n";
    WriteText(rows, text);
    const std::string out = dir.File("big.pat");
    // The signal lands somewhere in the write: before the file is named, between naming and
    // renaming, or after. Whatever the moment, no temporary file stays and the target is whole.
    for (const int signal : {SIGTERM, SIGINT}) {
        for (const int delayMs : {0, 30, 120}) {
            SCOPED_TRACE(std::to_string(signal) + " after " + std::to_string(delayMs) + " ms");
            WriteText(out, "old");
            int in = -1;
            const Spawn s{{"lines", rows, "-o", out, "--force"}};
            const pid_t pid = Start(dir, s, in);
            ::close(in);
            std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
            ::kill(pid, signal);
            Finish(dir, s, pid);
            for (const std::string& name : dir.Entries())
                EXPECT_NE(name.rfind(".murvex-", 0), 0u) << name;
            const std::string got = ReadText(out);
            EXPECT_TRUE(got == "old" || (got.size() > text.size() && got.ends_with(";\r\n")))
                << got.size() << " bytes";
        }
    }
}

}  // namespace
}  // namespace murvex
