// murvex-cli check and render run as a separate process: warnings, pictures, exit statuses.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QColor>
#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "BondGenerator.h"
#include "CliRun.h"
#include "PatternFile.h"
#include "PatternGeometry.h"
#include "TempDir.h"

namespace murvex {
namespace {

using test::ReadText;
using test::TempDir;
using test::WriteText;

using clitest::Cli;
using clitest::Result;

TEST(CliCheck, ACompatibleBondFileUnderItsNameHasNoWarning) {
    TempDir dir;
    const std::string file = dir.File("Kruisverband.pat");
    const bonds::BondInput input{2, 210, 220, 50, 62.5, 0, "Kruisverband"};
    WriteText(file, JoinCrLf(bonds::GenerateBond(input, PatternStyle::Compatible)));
    Result r = Cli(dir, {"check", file});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
    // Written as specified, its name line has no description.
    WriteText(file, JoinCrLf(bonds::GenerateBond(input)));
    r = Cli(dir, {"check", file});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, file +
                         ":3: no-description: De naamregel heeft geen beschrijving (\"*naam, "
                         "beschrijving\"); sommige programma's vinden dit patroon niet (treft: "
                         "FreeCAD, ezdxf)\n");
}

TEST(CliCheck, PrintsOneLinePerWarningInUtf8) {
    TempDir dir;
    const std::string file = dir.File("tegels.pat");
    WriteText(file, ";%UNITS=MM\r\n;\r\n*T\xE9gel, T\xE9gel\r\n;%TYPE=MODEL\r\n0, 0, 0, 0, 0\r\n;");
    Result r = Cli(dir, {"check", file});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "");
    const LineList lines = SplitLines(r.out);
    ASSERT_EQ(lines.size(), 3u) << r.out;
    EXPECT_EQ(lines[0].substr(0, file.size() + 24), file + ":3: name-not-file-name: ");
    EXPECT_NE(lines[0].find("\"T\xC3\xA9gel\""), std::string::npos) << lines[0];
    EXPECT_EQ(lines[1].substr(0, file.size() + 23), file + ":5: zero-shift-across: ");
    EXPECT_EQ(lines[2].substr(0, file.size() + 23), file + ":6: no-final-line-end: ");
    // The name to compare with can be given, in UTF-8.
    r = Cli(dir, {"check", file, "--name", "T\xC3\x89GEL.pat"});
    EXPECT_EQ(SplitLines(r.out).size(), 2u) << r.out;
}

TEST(CliCheck, AFileThatCannotBeReadIsExitStatusTwo) {
    TempDir dir;
    const Result r = Cli(dir, {"check", dir.File("missing.pat")});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("missing.pat"), std::string::npos);
    // Larger than the reader's limit: refused without being read.
    const std::string big = dir.File("groot.pat");
    WriteText(big, "");
    ASSERT_EQ(::truncate(big.c_str(), 65 * 1024 * 1024), 0);
    const Result large = Cli(dir, {"check", big});
    EXPECT_EQ(large.status, 2);
    EXPECT_NE(large.err.find("64 MiB"), std::string::npos) << large.err;
}

// Horizontal lines 25 apart through y = 5, dashed 10 on, 10 off, vertical lines 10 apart, and
// dots 20 apart on the line y = 40, between the vertical lines.
constexpr const char* kSmallPattern =
    ";%UNITS=MM\r\n;\r\n*Klein\r\n;%TYPE=MODEL\r\n0, 0, 5, 0, 25, 10, -10\r\n"
    "90, 0, 0, 0, 10\r\n0, 5, 40, 0, 100, 0, -20\r\n;\r\n";

// What kSmallPattern draws in the box 0 0 100 50, worked out by hand.
std::vector<DrawnSegment> SmallPatternSegments() {
    std::vector<DrawnSegment> out;
    for (double y : {5.0, 30.0})
        for (double x = 0; x < 100; x += 20)
            out.push_back({x, y, x + 10, y});
    for (double x = 0; x <= 100; x += 10)
        out.push_back({x, 0, x, 50});
    for (double x = 5; x < 100; x += 20)
        out.push_back({x, 40, x, 40});
    return out;
}

// The segments in the picture are the PNG test's below, and how a path writes them the SVG
// writer's table (render tests): here the size and one path piece for each segment.
TEST(CliRender, SvgHoldsOnePathPieceForEachSegment) {
    TempDir dir;
    const std::string pat = dir.File("klein.pat");
    WriteText(pat, kSmallPattern);
    const std::string svgFile = dir.File("klein.svg");
    const Result r =
        Cli(dir, {"render", pat, "--box", "0", "0", "100", "50", "-o", svgFile, "--px", "400"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string svg = ReadText(svgFile);
    EXPECT_NE(svg.find("width=\"400\" height=\"200\""), std::string::npos);
    const std::size_t at = svg.find(" d=\"");
    ASSERT_NE(at, std::string::npos);
    const std::string path = svg.substr(at + 4, svg.find('"', at + 4) - at - 4);
    EXPECT_EQ(static_cast<std::size_t>(std::count(path.begin(), path.end(), 'M')),
              SmallPatternSegments().size());
    EXPECT_EQ(std::count(path.begin(), path.end(), 'M'), std::count(path.begin(), path.end(), 'L'));
}

double DistanceToSegment(double px, double py, const DrawnSegment& s) {
    const double dx = s.x2 - s.x1;
    const double dy = s.y2 - s.y1;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((px - s.x1) * dx + (py - s.y1) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(px - (s.x1 + t * dx), py - (s.y1 + t * dy));
}

TEST(CliRender, PngIsBlackOnTheExpectedSegmentsAndWhiteAwayFromThem) {
    TempDir dir;
    const std::string pat = dir.File("klein.pat");
    WriteText(pat, kSmallPattern);
    const std::string pngFile = dir.File("klein.png");
    const Result r =
        Cli(dir, {"render", pat, "--box", "0", "0", "100", "50", "-o", pngFile, "--px", "200"});
    ASSERT_EQ(r.status, 0) << r.err;
    const QImage image(QString::fromStdString(pngFile));
    ASSERT_EQ(image.width(), 200);
    ASSERT_EQ(image.height(), 100);
    // Two pixels per drawing unit, y downwards from the box's top edge.
    std::vector<DrawnSegment> pixels;
    for (const DrawnSegment& s : SmallPatternSegments())
        pixels.push_back({s.x1 * 2, (50 - s.y1) * 2, s.x2 * 2, (50 - s.y2) * 2});
    const auto gray = [&](int x, int y) {
        return qGray(image.pixel(std::clamp(x, 0, 199), std::clamp(y, 0, 99)));
    };
    // On: the pen of one pixel covers at least half of one of the pixels around a point.
    for (const DrawnSegment& s : pixels) {
        for (double t = 0.1; t < 0.95; t += 0.2) {
            const double x = s.x1 + t * (s.x2 - s.x1);
            const double y = s.y1 + t * (s.y2 - s.y1);
            const int ix = static_cast<int>(std::floor(x - 0.5));
            const int iy = static_cast<int>(std::floor(y - 0.5));
            const int darkest =
                std::min({gray(ix, iy), gray(ix + 1, iy), gray(ix, iy + 1), gray(ix + 1, iy + 1)});
            EXPECT_LT(darkest, 160) << "at " << x << ", " << y;
        }
    }
    // Off: every pixel whose centre lies two pixels or more from each segment is white.
    int stray = 0;
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 200; ++x) {
            double far = std::numeric_limits<double>::infinity();
            for (const DrawnSegment& s : pixels)
                far = std::min(far, DistanceToSegment(x + 0.5, y + 0.5, s));
            if (far >= 2 && gray(x, y) != 255) ++stray;
        }
    }
    EXPECT_EQ(stray, 0);
}

TEST(CliRender, NothingInTheBoxIsAWhitePicture) {
    TempDir dir;
    const std::string pat = dir.File("klein.pat");
    WriteText(pat, kSmallPattern);
    const std::string pngFile = dir.File("leeg.png");
    // Between two vertical lines and two horizontal ones.
    const Result r =
        Cli(dir, {"render", pat, "--box", "12", "8", "18", "28", "-o", pngFile, "--px", "30"});
    ASSERT_EQ(r.status, 0) << r.err;
    const QImage image(QString::fromStdString(pngFile));
    ASSERT_EQ(image.size(), QSize(9, 30));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ASSERT_EQ(qGray(image.pixel(x, y)), 255) << x << ", " << y;
}

TEST(CliRender, RefusesWhatItCannotDrawAndKeepsExistingFiles) {
    TempDir dir;
    const std::string pat = dir.File("klein.pat");
    WriteText(pat, kSmallPattern);
    const std::string out = dir.File("uit.svg");
    const std::vector<std::string> box = {"--box", "0", "0", "100", "50"};
    const auto render = [&](std::vector<std::string> more, std::string file = "") {
        std::vector<std::string> args = {"render", file.empty() ? pat : file};
        args.insert(args.end(), box.begin(), box.end());
        args.insert(args.end(), more.begin(), more.end());
        return Cli(dir, args);
    };
    struct Row {
        const char* name;
        std::vector<std::string> args;
        int status;
    };
    const Row rows[] = {
        {"no .png or .svg", {"-o", dir.File("uit.jpg")}, 2},
        {"no pixels", {"-o", out, "--px", "0"}, 2},
        {"too many pixels", {"-o", out, "--px", "8193"}, 2},
        {"part of a pixel", {"-o", out, "--px", "10.5"}, 2},
        {"px not a number", {"-o", out, "--px", "veel"}, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Result r = render(row.args);
        EXPECT_EQ(r.status, row.status);
        EXPECT_NE(r.err, "");
    }
    EXPECT_EQ(Cli(dir, {"render", pat, "--box", "0", "0", "0", "50", "-o", out}).status, 2);
    EXPECT_EQ(render({"-o", out}, dir.File("missing.pat")).status, 1);
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{".stderr", ".stdout", "klein.pat"}));

    WriteText(out, "oud");
    Result r = render({"-o", out});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(ReadText(out), "oud");
    r = render({"-o", out, "--force"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadText(out).substr(0, 5), "<?xml");
}

}  // namespace
}  // namespace murvex
