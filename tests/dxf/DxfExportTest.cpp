// The DXF drawing of a pattern, read back group by group: the hatch's pattern lines in DXF's
// form, the LINE entities and their limit, and what is refused.
#include "DxfExport.h"
#include "DxfImport.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <numbers>
#include <random>
#include <set>

#include <gtest/gtest.h>

namespace murvex {
namespace {

struct Group {
    int code = 0;
    std::string value;
};

std::vector<Group> Groups(const std::string& text) {
    std::vector<Group> out;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t codeEnd = text.find("\r\n", at);
        const std::size_t valueEnd = text.find("\r\n", codeEnd + 2);
        Group g{0, text.substr(codeEnd + 2, valueEnd - codeEnd - 2)};
        const std::size_t digits = text.find_first_not_of(' ', at);
        std::from_chars(text.data() + digits, text.data() + codeEnd, g.code);
        out.push_back(g);
        at = valueEnd + 2;
    }
    return out;
}

double Real(const Group& g) {
    double v = NAN;
    const auto r = std::from_chars(g.value.data(), g.value.data() + g.value.size(), v);
    EXPECT_EQ(r.ptr, g.value.data() + g.value.size()) << g.value;
    return v;
}

// The hatch's pattern lines, with the offset as DXF stores it in shiftX and shiftY.
std::vector<PatternLine> HatchLines(const std::string& text) {
    const std::vector<Group> g = Groups(text);
    std::size_t i = 0;
    while (i < g.size() && g[i].value != "AcDbHatch")
        ++i;
    while (i < g.size() && g[i].code != 78)
        ++i;
    std::vector<PatternLine> out(i < g.size() ? std::stoul(g[i].value) : 0);
    for (PatternLine& l : out) {
        l = {Real(g[i + 1]), Real(g[i + 2]), Real(g[i + 3]), Real(g[i + 4]), Real(g[i + 5]), {}};
        l.dashes.resize(std::stoul(g[i += 6].value));
        for (double& d : l.dashes)
            d = Real(g[++i]);
    }
    return out;
}

DxfResult Draw(const std::vector<PatternLine>& lines, bool withLines = false) {
    return PatternDxf(DxfPattern{"muur", "MM", lines}, DxfOptions{{0, 0, 1000, 1000}, withLines});
}

TEST(DxfExport, PatternLinesComeBackWithTheOffsetTurnedToDrawingAxesUnderACommaLocale) {
    const bool comma =
        std::setlocale(LC_ALL, "nl_NL.UTF-8") || std::setlocale(LC_ALL, "nl_NL.utf8");
    std::mt19937 random(20);
    std::uniform_real_distribution<double> any(-5000, 5000);
    for (int round = 0; round < 200; ++round) {
        std::vector<PatternLine> lines(1 + random() % 4);
        for (PatternLine& l : lines) {
            l = {random() % 2 ? any(random) : 90.0 * (random() % 8),
                 any(random),
                 any(random),
                 any(random),
                 any(random),
                 {}};
            for (unsigned d = random() % 6; d > 0; --d)
                l.dashes.push_back(random() % 4 ? any(random) : 0.0);
        }
        const std::vector<PatternLine> back = HatchLines(Draw(lines).bytes);
        ASSERT_EQ(back.size(), lines.size());
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const PatternLine& l = lines[i];
            const double c = std::cos(l.angle * std::numbers::pi / 180);
            const double s = std::sin(l.angle * std::numbers::pi / 180);
            EXPECT_EQ(back[i].angle, l.angle);
            EXPECT_EQ(back[i].x, l.x);
            EXPECT_EQ(back[i].y, l.y);
            EXPECT_EQ(back[i].dashes, l.dashes);
            EXPECT_NEAR(back[i].shiftX, l.shiftX * c - l.shiftY * s, 1e-9);
            EXPECT_NEAR(back[i].shiftY, l.shiftX * s + l.shiftY * c, 1e-9);
        }
    }
    std::setlocale(LC_ALL, "C");
    if (!comma) GTEST_SKIP() << "ran without nl_NL.UTF-8 (scripts/install-deps generates it)";
}

TEST(DxfExport, LinesStopAtTheLimitWithEveryHandleUniqueAndBelowTheSeed) {
    const DxfResult sparse = Draw({{0, 0, 0, 0, 10, {}}}, true);
    const DxfResult dense = Draw({{0, 0, 0, 0, 0.01, {}}}, true);
    EXPECT_FALSE(sparse.truncated);
    EXPECT_TRUE(dense.truncated);
    for (const auto& [drawing, count] : {std::pair{&sparse, 101u}, {&dense, 50000u}}) {
        std::size_t lines = 0;
        std::set<unsigned> handles;
        unsigned seed = 0;  // the header's, which comes first
        for (const Group& g : Groups(drawing->bytes)) {
            lines += g.code == 0 && g.value == "LINE";
            unsigned h = 0;
            if (g.code != 5) continue;
            std::from_chars(g.value.data(), g.value.data() + g.value.size(), h, 16);
            EXPECT_TRUE(seed == 0 || (handles.insert(h).second && h < seed)) << g.value;
            seed = seed == 0 ? h : seed;
        }
        EXPECT_EQ(lines, count);
    }
    EXPECT_EQ(Draw({{0, 0, 0, 0, 10, {}}}).bytes.find("\r\nLINE\r\n"), std::string::npos);
}

// A drawing we wrote is one we read: its LINE entities come back as a tile's segments.
TEST(DxfExport, ReadsBackAsATileDrawing) {
    const DxfResult written = Draw({{0, 0, 0, 0, 10, {}}}, true);
    const dxf::DrawingResult read = dxf::ReadDrawing(written.bytes);
    ASSERT_TRUE(read.drawing) << read.error;
    dxf::ImportOptions options;
    options.tile = dxf::Tile{{0, 0}, {1000, 100}, dxf::TileSource::Given, ""};
    const dxf::ImportResult tile = dxf::ImportTile(*read.drawing, options);
    ASSERT_TRUE(tile.figure) << tile.error;
    EXPECT_EQ(tile.figure->report.entitiesRead, 101);
    EXPECT_EQ(tile.figure->segments.size(), 10u);
    for (const figure::TileSegment& s : tile.figure->segments) {
        EXPECT_EQ(s.start.y, s.end.y);
        EXPECT_EQ(std::fabs(static_cast<double>(s.end.x - s.start.x)), 1000.0);
    }
}

TEST(DxfExport, RefusesWhatAHatchCannotHold) {
    const PatternLine line{0, 0, 0, 0, 10, {}};
    const Box box{0, 0, 10, 10};
    const struct {
        const char* name;
        std::vector<PatternLine> lines;
        Box box;
        DxfStatus status;
    } rows[] = {
        {"a box without height", {line}, {0, 5, 10, 5}, DxfStatus::EmptyBox},
        {"a box that is not a number", {line}, {0, 0, NAN, 10}, DxfStatus::EmptyBox},
        {"no pattern line", {}, box, DxfStatus::NoPatternLine},
        {"too many lines", std::vector<PatternLine>(32768, line), box, DxfStatus::TooManyLines},
        {"too many dashes",
         {{0, 0, 0, 0, 10, std::vector<double>(32768, 1.0)}},
         box,
         DxfStatus::TooManyDashes},
        {"an offset past the doubles",
         {{45, 0, 0, 1.7e308, 1.7e308, {}}},
         box,
         DxfStatus::NotFinite}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const DxfResult result = PatternDxf(DxfPattern{"p", "", r.lines}, DxfOptions{r.box, true});
        EXPECT_EQ(result.status, r.status);
        EXPECT_TRUE(result.bytes.empty());
    }
}

TEST(DxfExport, TakesTheFirstPatternWithItsNameAndUnits) {
    const DxfPattern p = DxfPatternOf(
        ";%UNITS=inch\r\n;\r\n*hek en paal, met tekst\r\n0,0,0,0,1\r\n90,0,0,0,2,1,-1\r\n*twee\r\n"
        "45,0,0,0,3\r\n");
    EXPECT_EQ(p.units, "INCH");
    ASSERT_EQ(p.lines.size(), 2u);
    EXPECT_EQ(p.lines[1].dashes, (std::vector<double>{1, -1}));
    EXPECT_EQ(DxfPatternName(p.name), "hek en paal");
    EXPECT_EQ(DxfPatternName(""), "MURVEX");
    EXPECT_EQ(DxfPatternName(" , only a description"), "MURVEX");
    EXPECT_EQ(DxfPatternName("Diamond (45\xB0) a/b|c\t"), "Diamond (45\xB0) a_b_c");
    EXPECT_EQ(DxfPatternName(std::string(300, 'a')), std::string(kMaxDxfNameLength, 'a'));
}

}  // namespace
}  // namespace murvex
