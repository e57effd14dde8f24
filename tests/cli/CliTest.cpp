// murvex-cli run as a separate process: bytes, files, messages and exit statuses.
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BondGenerator.h"
#include "PatternFile.h"
#include "TempDir.h"

namespace murvex {
namespace {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs murvex-cli with the arguments, collecting standard output and standard error.
CliRun RunCli(const std::vector<std::string>& args) {
    int outPipe[2];
    int errPipe[2];
    if (::pipe(outPipe) != 0 || ::pipe(errPipe) != 0) return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(outPipe[1], 1);
        ::dup2(errPipe[1], 2);
        ::close(outPipe[0]);
        ::close(errPipe[0]);
        ::close(outPipe[1]);
        ::close(errPipe[1]);
        std::vector<char*> argv;
        std::string program = MURVEX_CLI;
        argv.push_back(program.data());
        std::vector<std::string> copies = args;
        for (std::string& a : copies)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(outPipe[1]);
    ::close(errPipe[1]);
    CliRun run;
    pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
    std::string* sinks[2] = {&run.out, &run.err};
    int open = 2;
    while (open > 0) {
        if (::poll(fds, 2, -1) < 0) break;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) continue;
            char buffer[65536];
            const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                sinks[i]->append(buffer, static_cast<std::size_t>(n));
            } else {
                ::close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::vector<std::string> BondArgs(const std::string& bond, std::vector<std::string> more = {}) {
    std::vector<std::string> args = {"bond", "--bond",         bond,  "--length",
                                     "210",  "--length-joint", "220", "--height",
                                     "50",   "--height-joint", "62.5"};
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

std::string Golden(int bond) {
    return test::ReadText(std::string(MURVEX_GOLDEN_DIR) + "/" +
                          std::string(bonds::BondNames()[bond]) + ".pat");
}

constexpr const char* kInvalid = "Er is een ongeldige waarde ingevoerd\n";

TEST(CliBond, WritesTheGoldenBytesOfEveryBond) {
    for (int bond = 0; bond < bonds::kBondCount; ++bond) {
        SCOPED_TRACE(bonds::BondNames()[bond]);
        const std::string golden = Golden(bond);
        ASSERT_FALSE(golden.empty());
        const CliRun byIndex = RunCli(BondArgs(std::to_string(bond)));
        EXPECT_EQ(byIndex.status, 0);
        EXPECT_EQ(byIndex.err, "");
        EXPECT_EQ(byIndex.out, golden);
        const CliRun byName = RunCli(BondArgs(std::string(bonds::BondNames()[bond]), {"-o", "-"}));
        EXPECT_EQ(byName.out, golden);
    }
}

TEST(CliBond, DimensionsTakeACommaOrAPointAndTheRotationFallsBackToZero) {
    const std::string golden = Golden(2);
    CliRun r = RunCli({"bond", "--bond", "kruisverband", "--length", "210,0", "--length-joint",
                       "220", "--height", "50", "--height-joint", "62,5", "--rotation", "abc"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, golden);
    r = RunCli(BondArgs("2", {"--rotation", ""}));
    EXPECT_EQ(r.out, golden);
}

TEST(CliBond, NegativeRotationAndOwnName) {
    const CliRun r = RunCli(BondArgs("1", {"--rotation", "-45", "--name", "Gevel, noord"}));
    EXPECT_EQ(r.status, 0);
    const LineList lines = SplitLines(r.out);
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[2], "*Gevel, noord");
    EXPECT_EQ(lines[4], "-45.000, 0, 0, 0, 62.500, 210.000, -10.000");
    EXPECT_EQ(lines[7], "45.000, 148.492, -148.492, 0, 220.000, 50.000, -12.500");
    // An empty name is a name too; a name in UTF-8 is written in Windows-1252.
    EXPECT_EQ(SplitLines(RunCli(BondArgs("1", {"--name", ""})).out)[2], "*");
    EXPECT_EQ(SplitLines(RunCli(BondArgs("1", {"--name", "Gev\xC3\xABl"})).out)[2], "*Gev\xEBl");
}

TEST(CliBond, InvalidDimensionWritesNothingAndSaysSo) {
    test::TempDir dir;
    const std::string target = dir.File("out.pat");
    for (const char* bad : {"2x10", "", "abc", "1e999"}) {
        SCOPED_TRACE(bad);
        const CliRun r = RunCli({"bond", "--bond", "0", "--length", "210", "--length-joint", bad,
                                 "--height", "50", "--height-joint", "62.5", "-o", target});
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err, kInvalid);
        EXPECT_EQ(r.out, "");
        EXPECT_TRUE(dir.Entries().empty());
    }
    const CliRun toStdout = RunCli(BondArgs("0", {"--height", "vijftig"}));
    EXPECT_EQ(toStdout.status, 2);
    EXPECT_EQ(toStdout.out, "");
}

TEST(CliBond, ExistingFileNeedsForceAndIsThenReplacedWhole) {
    test::TempDir dir;
    const std::string target = dir.File("muur.pat");
    test::WriteText(target, "old contents");
    CliRun r = RunCli(BondArgs("9", {"-o", target}));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("--force"), std::string::npos);
    EXPECT_EQ(test::ReadText(target), "old contents");

    r = RunCli(BondArgs("9", {"-o", target, "--force"}));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(test::ReadText(target), Golden(9));
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"muur.pat"});

    const std::string fresh = dir.File("nieuw.pat");
    EXPECT_EQ(RunCli(BondArgs("1", {"-o", fresh})).status, 0);
    EXPECT_EQ(test::ReadText(fresh), Golden(1));
}

TEST(CliBond, UnwritableTargetFails) {
    test::TempDir dir;
    const CliRun r = RunCli(BondArgs("1", {"-o", dir.File("missing/folder/x.pat")}));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Cannot create file"), std::string::npos);
    const CliRun folder = RunCli(BondArgs("1", {"-o", dir.Path().string(), "--force"}));
    EXPECT_EQ(folder.status, 1);
}

TEST(CliBond, WrongCommandLines) {
    EXPECT_EQ(RunCli(BondArgs("Muur")).status, 2);
    EXPECT_EQ(RunCli(BondArgs("10")).status, 2);
    EXPECT_EQ(RunCli({"bond", "--bond", "1", "--length", "210"}).status, 2);
    EXPECT_EQ(RunCli({}).status, 2);
    EXPECT_EQ(RunCli({"bricks"}).status, 2);
}

TEST(CliHelp, DocumentsEveryOptionWithAnExample) {
    const CliRun top = RunCli({"--help"});
    EXPECT_EQ(top.status, 0);
    for (const char* word : {"bond", "bonds", "segments", "Example"}) {
        EXPECT_NE(top.out.find(word), std::string::npos) << word;
    }
    const CliRun bond = RunCli({"bond", "--help"});
    EXPECT_EQ(bond.status, 0);
    for (const char* word :
         {"--bond", "--length", "--length-joint", "--height", "--height-joint", "--rotation",
          "--name", "--output", "--force", "Example", "murvex-cli bond --bond"}) {
        EXPECT_NE(bond.out.find(word), std::string::npos) << word;
    }
    const CliRun segments = RunCli({"segments", "--help"});
    for (const char* word : {"--box", "--max", "Example"}) {
        EXPECT_NE(segments.out.find(word), std::string::npos) << word;
    }
}

TEST(CliBonds, ListsTheTenBondsWithTheirIndex) {
    const CliRun r = RunCli({"bonds"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "0 Halfsteensverband\n1 Tegelverband\n2 Kruisverband\n3 Engelsverband\n"
              "4 Kettingverband\n5 Koppenverband\n6 Klezoorverband\n7 Staandverband\n"
              "8 Vlaamsverband\n9 Wildverband\n");
}

TEST(CliSegments, PrintsWhatAPatternFileDrawsInTheBox) {
    const std::string file = std::string(MURVEX_GOLDEN_DIR) + "/Tegelverband.pat";
    const CliRun r = RunCli({"segments", file, "--box", "0", "0", "220", "62,5"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
              "0.000 0.000 210.000 0.000\n"
              "0.000 62.500 210.000 62.500\n"
              "0.000 50.000 210.000 50.000\n"
              "220.000 0.000 220.000 50.000\n"
              "0.000 0.000 0.000 50.000\n"
              "210.000 0.000 210.000 50.000\n");
    // Corners given the other way round, and negative values.
    const CliRun swapped = RunCli({"segments", file, "--box", "220", "62.5", "0", "0"});
    EXPECT_EQ(swapped.out, r.out);
    const CliRun negative = RunCli({"segments", file, "--box", "-230", "-60", "-200", "-20"});
    EXPECT_EQ(negative.status, 0);
    EXPECT_EQ(negative.out,
              "-220.000 -60.000 -220.000 -20.000\n-230.000 -60.000 -230.000 -20.000\n");
}

TEST(CliSegments, FailuresAndTheCap) {
    const std::string file = std::string(MURVEX_GOLDEN_DIR) + "/Wildverband.pat";
    CliRun r = RunCli({"segments", file, "--box", "0", "0", "x", "10"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, kInvalid);
    r = RunCli({"segments", "/nonexistent/file.pat", "--box", "0", "0", "1", "1"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("/nonexistent/file.pat"), std::string::npos);
    r = RunCli({"segments", file, "--box", "0", "0", "4000", "4000", "--max", "5"});
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(SplitLines(r.out).size(), 5u);
    EXPECT_FALSE(r.err.empty());
    r = RunCli({"segments", file, "--box", "0", "0", "4000"});
    EXPECT_EQ(r.status, 2);
}

}  // namespace
}  // namespace murvex
