// The check for CAD programs: each warning on a crafted file, its limits, and what it leaves alone.
#include "PatternCheck.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PatternFile.h"

namespace murvex {
namespace {

// "code@line" for every warning, in the order the check gives them.
std::vector<std::string> Found(const std::vector<PatternWarning>& warnings) {
    std::vector<std::string> out;
    for (const PatternWarning& w : warnings) {
        EXPECT_FALSE(w.message.empty());
        out.push_back(std::string(CheckCodeName(w.code)) + "@" + std::to_string(w.line));
    }
    return out;
}

// A name line as the compatible way writes it: the name repeated as its description.
std::string Named(const std::string& name) {
    return "*" + name + ", " + name;
}

// A clean one-pattern file named "Proef"; line 5 onwards is the body given.
LineList File(std::vector<std::string> body, std::string name = "*Proef, Proef",
              std::string units = ";%UNITS=MM") {
    LineList lines = {units, ";", name, ";%TYPE=MODEL"};
    lines.insert(lines.end(), body.begin(), body.end());
    return lines;
}

const std::vector<std::string> kBody = {"0, 0, 0, 0, 10", "90, 0, 0, 0, 10, 5, -5", ";"};

struct Row {
    const char* name;
    std::string text;
    std::string fileName;
    std::vector<std::string> expected;
};

TEST(PatternCheck, EachWarningOnACraftedFile) {
    const std::string clean = JoinCrLf(File(kBody));
    const std::string name31(31, 'a');
    const Row rows[] = {
        {"clean file", clean, "Proef.pat", {}},
        {"comment of 80 characters",
         JoinCrLf(File({";;" + std::string(78, 'x'), "0, 0, 0, 0, 10"})),
         "Proef.pat",
         {}},
        {"comment of 81 characters",
         JoinCrLf(File({";;" + std::string(79, 'x'), "0, 0, 0, 0, 10"})),
         "Proef.pat",
         {"long-line@5"}},
        {"shift across 0",
         JoinCrLf(File({"0, 0, 0, 5, 0", ";"})),
         "Proef.pat",
         {"zero-shift-across@5"}},
        {"name line without a description",
         JoinCrLf(File(kBody, "*Proef")),
         "Proef.pat",
         {"no-description@3"}},
        {"description that is empty", JoinCrLf(File(kBody, "*Proef,")), "Proef.pat", {}},
        {"name of 31 characters", JoinCrLf(File(kBody, Named(name31))), name31 + ".pat", {}},
        {"name of 32 characters",
         JoinCrLf(File(kBody, Named(name31 + "b"))),
         name31 + "b.pat",
         {"long-name@3"}},
        {"a library's \"*NAME, description\"",
         JoinCrLf(File(kBody, "*Proef, wall tiles")),
         "Proef.pat",
         {}},
        {"file named otherwise", clean, "Ander.pat", {"name-not-file-name@3"}},
        {"file name in another case, with folder", clean, "/tmp/map/PROEF.PAT", {}},
        {"Latin-1 letters in another case",
         JoinCrLf(File(kBody, Named("\xC9\xE9n\x8A"))),
         "\xE9\xC9N\x9A.pat",
         {}},
        {"no file name known", clean, "", {}},
        {"two patterns: no file name to compare",
         JoinCrLf(File({"0, 0, 0, 0, 10", ";", "", Named("Tweede"), "0, 0, 0, 0, 10", ";"})),
         "Ander.pat",
         {}},
        {"no line end after the last line",
         clean.substr(0, clean.size() - 2),
         "Proef.pat",
         {"no-final-line-end@7"}},
        {"empty row of the free line tab",
         JoinCrLf(File({"0, 0, 0, 0, 10", "", ";"})),
         "Proef.pat",
         {"empty-pattern-line@6"}},
        {"line of blanks before the first pattern line",
         JoinCrLf(File({" \t", "0, 0, 0, 0, 10", ";"})),
         "Proef.pat",
         {"empty-pattern-line@5"}},
        {"blank lines at the end of the file", clean + "\r\n\r\n", "Proef.pat", {}},
        {"pattern line with three fields",
         JoinCrLf(File({"90, 5, 10", ";"})),
         "Proef.pat",
         {"bad-pattern-line@5"}},
        {"field that is no number",
         JoinCrLf(File({"0, 0, 0, 0, 1O", ";"})),
         "Proef.pat",
         {"bad-pattern-line@5"}},
        {"positive second dash",
         JoinCrLf(File({"0, 0, 0, 0, 10, 5, 5", ";"})),
         "Proef.pat",
         {"positive-second-dash@5"}},
        {"a dash list that starts with a gap",
         JoinCrLf(File({"0, 0, 0, 0, 5, -34, 0.5, -3", ";"})),
         "Proef.pat",
         {}},
        {"positive later entries only join",
         JoinCrLf(File({"0, 0, 0, 0, 10, 5, -5, 5, 5", ";"})),
         "Proef.pat",
         {}},
        {"a dot after the first dash",
         JoinCrLf(File({"0, 0, 0, 0, 10, 5, 0, -5", ";"})),
         "Proef.pat",
         {}},
        {"blank line in the header", ";%UNITS=MM\r\n\r\n" + clean.substr(12), "Proef.pat", {}},
        {"100000 lines per square metre is the limit",
         JoinCrLf(File({"0, 0, 0, 0, 0.01", ";"})),
         "Proef.pat",
         {}},
        {"denser lines", JoinCrLf(File({"0, 0, 0, 0, 0.009", ";"})), "Proef.pat", {"too-dense@3"}},
        {"the same lines in inches",
         JoinCrLf(File({"0, 0, 0, 0, 0.009", ";"}, Named("Proef"), ";%units=inch")),
         "Proef.pat",
         {}},
        {"dots 2 mm apart on lines 10 mm apart",
         JoinCrLf(File({"0, 0, 0, 0, 10, 0, -2", ";"})),
         "Proef.pat",
         {}},
        {"dots 0.5 mm apart on lines 10 mm apart",
         JoinCrLf(File({"0, 0, 0, 0, 10, 0, -0.5", ";"})),
         "Proef.pat",
         {"too-dense@3"}},
        {"a density that overflows is a warning of its own",
         JoinCrLf(File({"45,0,0,1e308,1e-308,1e308,-1e308", ";"})),
         "Proef.pat",
         {"uncountable-density@5"}},
        {"and leaves the sum of the other lines",
         JoinCrLf(File({"0, 0, 0, 0, 0.009", "45,0,0,1e308,1e-308,1e308,-1e308", ";"})),
         "Proef.pat",
         {"too-dense@3", "uncountable-density@6"}},
        // FreeCAD applies the shift along negated, but at angle 0: right only where that is the
        // same.
        {"shift along a third of the period",
         JoinCrLf(File({"0, 0, 0, 5, 10, 10, -5", "30, 0, 0, 5, 10, 10, -5", ";"})),
         "Proef.pat",
         {"shift-along-reversed@6"}},
        {"shift along half the period",
         JoinCrLf(File({"0, 0, 0, 7.5, 10, 10, -5", ";"})),
         "Proef.pat",
         {}},
        {"shift along a whole period and a half",
         JoinCrLf(File({"0, 0, 0, -22.5, 10, 10, -5", ";"})),
         "Proef.pat",
         {}},
        {"shift along a solid line", JoinCrLf(File({"0, 0, 0, 5, 10", ";"})), "Proef.pat", {}},
        {"angles outside [0, 180)",
         JoinCrLf(File({"180, 0, 0, 0, 10", "-60, 0, 0, 0, 10, 5, -3", "540, 0, 0, 0, 10",
                        "179.9, 0, 0, 0, 10", ";"})),
         "Proef.pat",
         {"angle-half-turn-or-more@5", "angle-half-turn-or-more@6", "angle-half-turn-or-more@7"}},
        // FreeCAD scatters dashes whose shift across is negative, but at quarter turns.
        {"negative shift across",
         JoinCrLf(
             File({"45, 0, 0, 0, -10, 5, -5", "90, 0, 0, 0, -10, 5, -5", "45, 0, 0, 0, -10", ";"})),
         "Proef.pat",
         {"shift-across-negative@5"}},
        {"families add up",
         JoinCrLf(File({"0, 0, 0, 0, 0.015", "90, 0, 0, 0, 0.015", ";"})),
         "Proef.pat",
         {"too-dense@3"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Found(CheckPatternText(row.text, row.fileName)), row.expected);
    }
}

TEST(PatternCheck, WarningsComeInLineOrderAndNameWhatTheyFound) {
    const std::string text =
        JoinCrLf(File({"0, 0, 0, 0, 0", "", "0, 0, 0, 0, 0.001, 5, 5", ";"}, "*Tegel, 1"));
    const std::vector<PatternWarning> warnings = CheckPatternText(text, "tegels.pat");
    EXPECT_EQ(Found(warnings), (std::vector<std::string>{
                                   "too-dense@3", "name-not-file-name@3", "zero-shift-across@5",
                                   "empty-pattern-line@6", "positive-second-dash@7"}));
    ASSERT_EQ(warnings.size(), 5u);
    EXPECT_NE(warnings[0].message.find("1000000 "), std::string::npos) << warnings[0].message;
    EXPECT_NE(warnings[1].message.find("\"tegels\""), std::string::npos) << warnings[1].message;
    // Each names the readers it trips.
    for (const PatternWarning& w : warnings) {
        const std::string end = " (treft: " + std::string(CheckCodeReaders(w.code)) + ")";
        EXPECT_TRUE(w.message.ends_with(end)) << w.message;
        EXPECT_FALSE(CheckCodeReaders(w.code).empty());
    }
}

TEST(PatternCheck, AFloodOfOneWarningIsCountedNotListed) {
    std::vector<std::string> body(250, "");
    body.push_back("0, 0, 0, 0, 10");
    const std::vector<PatternWarning> warnings =
        CheckPatternText(JoinCrLf(File(body)), "Proef.pat");
    ASSERT_EQ(warnings.size(), kWarningsPerCode + 1);
    EXPECT_EQ(warnings[kWarningsPerCode - 1].line, 4 + kWarningsPerCode);
    EXPECT_EQ(warnings.back().code, CheckCode::EmptyPatternLine);
    EXPECT_EQ(warnings.back().line, 5 + kWarningsPerCode);
    EXPECT_NE(warnings.back().message.find("150"), std::string::npos) << warnings.back().message;
}

TEST(PatternCheck, ANulByteEndsTheTextAsForTheReader) {
    const std::string clean = JoinCrLf(File(kBody));
    std::string text = clean + std::string(1, '\0') + std::string(100, 'x');
    EXPECT_EQ(Found(CheckPatternText(text, "Proef.pat")), std::vector<std::string>{});
}

}  // namespace
}  // namespace murvex
