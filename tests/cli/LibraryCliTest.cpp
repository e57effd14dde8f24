// murvex-cli list, read --pattern, add, formats and bond --format as a user runs them.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <vector>

#include "CliRun.h"
#include "TempDir.h"
#include "Text.h"

namespace murvex {
namespace {

using clitest::Cli;
using clitest::Result;
using test::ReadText;
using test::TempDir;
using test::WriteText;

const char* const kLibrary =
    ";; bibliotheek\r\n;%UNITS=MM\r\n;\r\n*Tegel, wandtegels\r\n;%TYPE=MODEL\r\n"
    "0, 0, 0, 0, 62.5, 210, -10\r\n;\r\n\r\n*Streep\r\n45, 0, 0, 0, 0\r\n*TEGEL\r\n"
    "90, 0, 0, 0, 5\r\n";

TEST(CliLibrary, ListsEveryPatternWithItsWarnings) {
    TempDir dir;
    const std::string lib = dir.File("lib.pat");
    WriteText(lib, kLibrary);
    const Result r = Cli(dir, {"list", lib});
    EXPECT_EQ(r.status, 0);
    // The warnings are the check's own, on the library's line numbers.
    const std::vector<std::string> lines = SplitLines(r.out);
    ASSERT_EQ(lines.size(), 6u) << r.out;
    EXPECT_EQ(lines[0], "Tegel\twandtegels\t1\tMM\tMODEL");
    EXPECT_EQ(lines[1], "Streep\t\t1\tMM\t");
    EXPECT_EQ(lines[2].rfind("\t9: no-description: ", 0), 0u);
    EXPECT_EQ(lines[3].rfind("\t10: zero-shift-across: ", 0), 0u);
    EXPECT_EQ(lines[4], "TEGEL\t\t1\tMM\t");
    EXPECT_EQ(lines[5].rfind("\t11: no-description: ", 0), 0u);
    EXPECT_NE(r.err.find("lib.pat:11: TEGEL"), std::string::npos) << r.err;

    const Result json = Cli(dir, {"list", lib, "--json"});
    EXPECT_EQ(json.status, 0);
    EXPECT_NE(json.out.find("{\"name\": \"TEGEL\", \"description\": \"\", \"lines\": 1, "
                            "\"units\": \"MM\", \"type\": \"\", \"firstLine\": 11, "
                            "\"duplicate\": true, \"warnings\": [{\"line\": 11"),
              std::string::npos)
        << json.out;
}

// A warning that every pattern shares is one line, not one per pattern.
TEST(CliLibrary, ListsAWarningEveryPatternSharesOnce) {
    TempDir dir;
    const std::string lib = dir.File("kaal.pat");
    std::string text;
    for (int i = 0; i < 50; ++i)
        text += "*P" + std::to_string(i) + "\r\n0, 0, 0, 0, 5\r\n";
    WriteText(lib, text);
    const Result r = Cli(dir, {"list", lib});
    EXPECT_EQ(r.status, 0);
    const std::vector<std::string> lines = SplitLines(r.out);
    ASSERT_EQ(lines.size(), 51u) << r.out;
    EXPECT_EQ(lines[50].rfind("\tall 50: no-description: ", 0), 0u) << lines[50];
    // JSON: once, beside the patterns, and in none of theirs.
    const std::string json = Cli(dir, {"list", lib, "--json"}).out;
    EXPECT_EQ(json.find("no-description"), json.rfind("no-description")) << json;
    EXPECT_NE(json.find("\"allPatterns\": [\n  {\"code\": \"no-description\""), std::string::npos);
}

// segments, render and dxf draw one pattern: the one a file holds, or the one named.
TEST(CliLibrary, DrawingCommandsChooseThePatternAndRefuseFilesWithoutOne) {
    TempDir dir;
    const std::string lib = dir.File("lib.pat");
    WriteText(lib, kLibrary);
    const std::vector<std::string> box = {"--box", "0", "0", "10", "10"};
    const auto segments = [&](const std::string& file, std::vector<std::string> more) {
        std::vector<std::string> args{"segments", file};
        args.insert(args.end(), box.begin(), box.end());
        args.insert(args.end(), more.begin(), more.end());
        return Cli(dir, args);
    };
    const Result several = segments(lib, {});
    EXPECT_EQ(several.status, 2);
    EXPECT_NE(several.err.find("holds 3 patterns; choose one with --pattern NAME:\n  Tegel\n"),
              std::string::npos)
        << several.err;
    const Result streep = segments(lib, {"--pattern", "streep"});
    EXPECT_EQ(streep.status, 0) << streep.err;
    const Result tegel = segments(lib, {"--pattern", "tegel"});
    EXPECT_EQ(tegel.out, "0.000 0.000 10.000 0.000\n");
    EXPECT_EQ(segments(lib, {"--pattern", "Geen"}).status, 1);

    for (const std::string& content : {std::string(), std::string("hello world\n"),
                                       std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)}) {
        const std::string file = dir.File("leeg.pat");
        WriteText(file, content);
        const Result s = segments(file, {});
        EXPECT_EQ(s.status, 1);
        EXPECT_NE(s.err.find("geen patroon gevonden"), std::string::npos) << s.err;
        EXPECT_EQ(Cli(dir, {"check", file}).status, 1);
        const Result svg = Cli(dir, {"render", file, "--box", "0", "0", "10", "10", "-o",
                                     dir.File("x.svg"), "--force"});
        EXPECT_EQ(svg.status, 1);
        EXPECT_NE(svg.err.find("geen patroon gevonden"), std::string::npos) << svg.err;
        EXPECT_EQ(Cli(dir, {"dxf", file, "--box", "0", "0", "10", "10", "-o", dir.File("x.dxf"),
                            "--force"})
                      .status,
                  1);
    }
}

TEST(CliLibrary, ReadsOnePatternByNameTheFirstOfTwo) {
    TempDir dir;
    const std::string lib = dir.File("lib.pat");
    WriteText(lib, kLibrary);
    const Result r = Cli(dir, {"read", lib, "--pattern", "tegel"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "#units\tMM\n#type\tMODEL\n#name\tTegel\n#description\twandtegels\n"
              "0\t0\t0\t0\t62.5\t210\t-10\n");
    EXPECT_NE(r.err.find("the first, on line 4, is read"), std::string::npos) << r.err;
    EXPECT_EQ(Cli(dir, {"read", lib, "--pattern", "Geen"}).status, 1);
}

TEST(CliLibrary, AddsRefusesAnExistingNameAndReplacesOnRequest) {
    TempDir dir;
    const std::string lib = dir.File("lib.pat");
    const std::string added = dir.File("streep.pat");
    WriteText(lib, kLibrary);
    WriteText(added, ";%UNITS=MM\r\n;\r\n*streep\r\n;%TYPE=MODEL\r\n0, 0, 0, 0, 3\r\n;\r\n");

    const Result refused = Cli(dir, {"add", lib, added});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(ReadText(lib), kLibrary);

    // Which bytes a replacement keeps is the library's own rule (PatternLibraryTest).
    EXPECT_EQ(Cli(dir, {"add", lib, added, "--replace"}).status, 0);
    EXPECT_NE(ReadText(lib).find("*streep\r\n"), std::string::npos);

    // --compatible: the added pattern as the compatible writers write it, the rest untouched.
    WriteText(lib, kLibrary);
    WriteText(added, "*Punt\r\n0, 0.500, 0, 0, 10.000\r\n");
    EXPECT_EQ(Cli(dir, {"add", lib, added, "--compatible"}).status, 0);
    EXPECT_EQ(ReadText(lib), std::string(kLibrary) + "*Punt, Punt\r\n0,0.5,0,0,10\r\n");
}

// Twenty adds at once on one library, each its own process: the lock makes them take turns, so
// every add that exits 0 is in the library, and the library is whole. Also when the library does
// not exist yet (start: nullptr) and every one of them may start it.
void ExpectParallelAddsLoseNothing(const char* start) {
    TempDir dir;
    const std::string lib = dir.File("gedeeld.pat");
    if (start) WriteText(lib, start);
    constexpr int kAdds = 20;
    std::vector<pid_t> children;
    for (int i = 0; i < kAdds; ++i) {
        const std::string file = dir.File("p" + std::to_string(i) + ".pat");
        WriteText(file, "*Patroon" + std::to_string(i) + ", nummer " + std::to_string(i) +
                            "\r\n45, 0, 0, 0, " + std::to_string(i + 1) + ", 3, -2, 0, -2\r\n");
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            const int null = ::open("/dev/null", O_RDWR);
            ::dup2(null, 1);
            ::dup2(null, 2);
            std::string program = MURVEX_CLI;
            std::string add = "add";
            std::string library = lib;
            std::string pattern = file;
            char* argv[] = {program.data(), add.data(), library.data(), pattern.data(), nullptr};
            ::execv(program.c_str(), argv);
            ::_exit(127);
        }
        children.push_back(pid);
    }
    std::vector<bool> ok(kAdds);
    for (int i = 0; i < kAdds; ++i) {
        int status = 0;
        ::waitpid(children[static_cast<std::size_t>(i)], &status, 0);
        ok[static_cast<std::size_t>(i)] = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    const Result list = Cli(dir, {"list", lib});
    ASSERT_EQ(list.status, 0);
    int added = 0;
    for (int i = 0; i < kAdds; ++i) {
        const std::string line = "Patroon" + std::to_string(i) + "\tnummer " + std::to_string(i);
        const bool there = list.out.find(line + "\t1\t") != std::string::npos;
        EXPECT_EQ(there, ok[static_cast<std::size_t>(i)]) << i << "\n" << list.out;
        added += ok[static_cast<std::size_t>(i)];
    }
    // The wait is long enough for twenty small adds: none gives up.
    EXPECT_EQ(added, kAdds);
    if (start) {
        EXPECT_NE(list.out.find("Eerste\tde eerste"), std::string::npos);
    }
}

TEST(CliLibrary, ParallelAddsLoseNothing) {
    for (const char* start : {";%UNITS=MM\r\n*Eerste, de eerste\r\n0, 0, 0, 0, 5, 2, -1\r\n",
                              static_cast<const char*>(nullptr)}) {
        SCOPED_TRACE(start ? "an existing library" : "a new library");
        ExpectParallelAddsLoseNothing(start);
    }
}

// A read-only library is replaced only with --force, and stays read-only.
TEST(CliLibrary, AReadOnlyLibraryNeedsForce) {
    TempDir dir;
    const std::string lib = dir.File("alleen.pat");
    const std::string added = dir.File("nieuw.pat");
    WriteText(lib, kLibrary);
    WriteText(added, "*Nieuw, een beschrijving\r\n0, 0, 0, 0, 3\r\n");
    ASSERT_EQ(::chmod(lib.c_str(), 0444), 0);
    const Result refused = Cli(dir, {"add", lib, added});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("read-only; use --force"), std::string::npos) << refused.err;
    EXPECT_EQ(ReadText(lib), kLibrary);
    EXPECT_EQ(Cli(dir, {"add", lib, added, "--force"}).status, 0);
    EXPECT_NE(ReadText(lib).find("*Nieuw, een beschrijving\r\n"), std::string::npos);
}

// add --compatible fits long figure lines within 80 characters as figure --compatible does, and
// the pattern still draws what the figure's own file draws.
TEST(CliLibrary, AddCompatibleFitsLongLines) {
    TempDir dir;
    const std::string list = dir.File("figuur.txt");
    WriteText(list, ";%SIZE=600,300\r\n10,20,370,113\r\n0,0,600,300\r\n");
    const std::string figure = dir.File("figuur.pat");
    ASSERT_EQ(Cli(dir, {"figure", list, "-o", figure}).status, 0);
    const std::string lib = dir.File("lib.pat");
    WriteText(lib, "");
    ASSERT_EQ(Cli(dir, {"add", lib, figure, "--compatible"}).status, 0);
    std::size_t longest = 0;
    for (const std::string& line : SplitLines(ReadText(lib)))
        longest = std::max(longest, line.size());
    EXPECT_LE(longest, 80u) << ReadText(lib);
    const Result a = Cli(dir, {"segments", figure, "--box", "0", "0", "1200", "600"});
    const Result b =
        Cli(dir, {"segments", lib, "--pattern", "naam arcering", "--box", "0", "0", "1200", "600"});
    EXPECT_EQ(b.status, 0) << b.err;
    EXPECT_FALSE(a.out.empty());
    EXPECT_EQ(a.out, b.out);
}

TEST(CliLibrary, FormatsFillTheBondsDimensions) {
    TempDir dir;
    const Result formats = Cli(dir, {"formats"});
    EXPECT_EQ(formats.status, 0);
    EXPECT_NE(formats.out.find("Waalformaat\t210 x 100 x 50 mm\n"), std::string::npos);

    const Result byFormat = Cli(dir, {"bond", "--bond", "Tegelverband", "--format", "waalformaat"});
    const Result byHand =
        Cli(dir, {"bond", "--bond", "Tegelverband", "--length", "210", "--length-joint", "220",
                  "--height", "50", "--height-joint", "62.5"});
    EXPECT_EQ(byFormat.status, 0);
    EXPECT_EQ(byFormat.out, byHand.out);
    // A dimension given beside the format wins.
    const Result mixed = Cli(
        dir, {"bond", "--bond", "Tegelverband", "--format", "Waalformaat", "--height-joint", "60"});
    EXPECT_NE(mixed.out.find("0.000, 0, 0, 0, 60.000, 210.000, -10.000"), std::string::npos);
    EXPECT_EQ(Cli(dir, {"bond", "--bond", "Tegelverband", "--format", "Geen"}).status, 2);
    EXPECT_EQ(Cli(dir, {"bond", "--bond", "Tegelverband", "--length", "210"}).status, 2);
}

}  // namespace
}  // namespace murvex
