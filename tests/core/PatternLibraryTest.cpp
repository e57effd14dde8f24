// Library files: the splitter, and adding or replacing one pattern without touching the rest.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "FakePlatform.h"
#include "LibrarySave.h"
#include "PatternLibrary.h"
#include "SaveHatch.h"
#include "TempDir.h"

namespace murvex {
namespace {

struct Expected {
    std::string name, description, units, type;
    std::size_t firstLine, nameLine, endLine, lines;
    bool duplicate = false;
};

struct SplitCase {
    const char* label;
    std::string text;
    std::vector<Expected> patterns;
};

TEST(PatternLibrary, SplitsIntoPatterns) {
    const std::vector<SplitCase> cases = {
        {"ordinary library",
         "*A, first\n;%TYPE=MODEL\n0,0,0,0,1\n*B\n45,0,0,0,2\n90,0,0,0,2\n",
         {{"A", "first", "", "MODEL", 0, 0, 3, 1}, {"B", "", "", "", 3, 3, 6, 2}}},
        {"comments between patterns stay outside",
         ";; top\n*A\n0,0,0,0,1\n\n;; about B\n*B\n0,0,0,0,1\n;; tail\n",
         {{"A", "", "", "", 1, 1, 3, 1}, {"B", "", "", "", 5, 5, 7, 1}}},
        {"duplicate names, case ignored",
         "*Tegel\n0,0,0,0,1\n*TEGEL, again\n0,0,0,0,2\n",
         {{"Tegel", "", "", "", 0, 0, 2, 1}, {"TEGEL", "again", "", "", 2, 2, 4, 1, true}}},
        {"headers per pattern, as the writers put them, with the closing line",
         ";%UNITS=MM\r\n;\r\n*A\r\n;%TYPE=MODEL\r\n0,0,0,0,1\r\n;\r\n;%UNITS=INCH\r\n;\r\n*B\r\n"
         ";%TYPE=DRAFTING\r\n;\r\n0,0,0,0,1\r\n;\r\n",
         {{"A", "", "MM", "MODEL", 0, 2, 6, 1}, {"B", "", "INCH", "DRAFTING", 6, 8, 13, 1}}},
        {"a units line at the top, apart, holds for all",
         ";%UNITS=MM\n\n*A\n0,0,0,0,1\n*B\n0,0,0,0,1\n",
         {{"A", "", "MM", "", 2, 2, 4, 1}, {"B", "", "MM", "", 4, 4, 6, 1}}},
        {"missing final line end, lone CR lines",
         "*A\r0,0,0,0,1\r*B\r0,0,0,0,1",
         {{"A", "", "", "", 0, 0, 2, 1}, {"B", "", "", "", 2, 2, 4, 1}}},
        {"a NUL ends the text",
         std::string("*A\n0,0,0,0,1\n\0*B\n0,0,0,0,1\n", 27),
         {{"A", "", "", "", 0, 0, 2, 1}}},
        {"no name line, no pattern", "0,0,0,0,1\n;; x\n", {}},
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(c.label);
        const LibraryIndex index = SplitLibrary(c.text);
        ASSERT_EQ(index.status, LibraryStatus::Ok);
        ASSERT_EQ(index.patterns.size(), c.patterns.size());
        for (std::size_t i = 0; i < c.patterns.size(); ++i) {
            const LibraryPattern& p = index.patterns[i];
            const Expected& e = c.patterns[i];
            EXPECT_EQ(p.name, e.name);
            EXPECT_EQ(p.description, e.description);
            EXPECT_EQ(p.units, e.units);
            EXPECT_EQ(p.type, e.type);
            EXPECT_EQ(p.firstLine, e.firstLine);
            EXPECT_EQ(p.nameLine, e.nameLine);
            EXPECT_EQ(p.endLine, e.endLine);
            EXPECT_EQ(p.patternLines, e.lines);
            EXPECT_EQ(p.sameNameBefore, e.duplicate);
        }
    }
}

TEST(PatternLibrary, IsBoundedLikeTheReader) {
    std::string many;
    for (std::size_t i = 0; i <= kMaxLibraryPatterns; ++i)
        many += "*P\n";
    EXPECT_EQ(SplitLibrary(many).status, LibraryStatus::TooManyPatterns);
    EXPECT_EQ(SplitLibrary(std::string(kMaxLibraryBytes + 1, '\n')).status,
              LibraryStatus::TooLarge);
    // A name line is classified within its first 255 characters.
    const LibraryIndex longName = SplitLibrary("*" + std::string(400, 'N') + "\n0,0,0,0,1\n");
    ASSERT_EQ(longName.patterns.size(), 1u);
    EXPECT_EQ(longName.patterns[0].name.size(), kLibraryLineLimit - 1);
}

const char* const kNew = ";%UNITS=MM\r\n;\r\n*Nieuw\r\n;%TYPE=MODEL\r\n0, 0, 0, 0, 5\r\n;\r\n";

TEST(PatternLibrary, RefusesWhatCannotBeAdded) {
    struct Row {
        const char* label;
        std::string library;
        std::string pattern;
        LibraryAddStatus status;
    };
    const std::vector<Row> rows = {
        {"comma in the name", "", "*Na,am\n0,0,0,0,1\n", LibraryAddStatus::BadName},
        {"control character in the name", "", "*Na\tam\n0,0,0,0,1\n", LibraryAddStatus::BadName},
        {"two patterns to add", "", "*A\n0,0,0,0,1\n*B\n0,0,0,0,1\n", LibraryAddStatus::NoPattern},
        {"library with a NUL", std::string("*A\n\0", 4), kNew, LibraryAddStatus::NotALibrary},
        {"library of prose", "Dear reader,\nhello\n", kNew, LibraryAddStatus::NotALibrary},
        {"name exists, no replace", "*NIEUW\n0,0,0,0,1\n", kNew, LibraryAddStatus::NameExists},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        EXPECT_EQ(AddToLibrary(r.library, r.pattern, false).status, r.status);
    }
}

// A random library of patterns, comments and blank lines with the given line end.
std::string RandomLibrary(std::mt19937& random, const std::string& eol, int patterns) {
    std::string text;
    for (int i = 0; i < patterns; ++i) {
        if (random() % 2) text += ";; comment " + std::to_string(i) + eol;
        if (random() % 2) text += eol;
        if (random() % 2) text += ";%UNITS=MM" + eol + ";" + eol;
        text += "*P" + std::to_string(random() % 6) + ", d" + eol;
        for (unsigned l = random() % 3; l > 0; --l)
            text += std::to_string(random() % 90) + ", 0, 0, 0, 1" + eol;
        if (random() % 2) text += ";" + eol;
    }
    if (random() % 2 && !text.empty()) text.resize(text.size() - eol.size());
    return text;
}

TEST(PatternLibrary, AddAndReplaceKeepEveryOtherByte) {
    std::mt19937 random(21);
    for (int round = 0; round < 300; ++round) {
        const std::string eol = round % 3 == 0 ? "\n" : round % 3 == 1 ? "\r\n" : "\r";
        const std::string library = RandomLibrary(random, eol, 1 + round % 7);
        std::string name = "P";  // += here: GCC 12 at -O3 warns on "P" + std::to_string(...)
        name += std::to_string(random() % 8);
        const std::string pattern = "*" + name + "\r\n0, 0, 0, 0, 5\r\n;\r\n";
        SCOPED_TRACE(library);
        const LibraryIndex before = SplitLibrary(library);
        const int old = FindLibraryPattern(before, name);
        const LibraryAddResult r = AddToLibrary(library, pattern, true);
        const std::string added = "*" + name + eol + "0, 0, 0, 0, 5" + eol + ";" + eol;
        if (old < 0) {
            ASSERT_EQ(r.status, LibraryAddStatus::Added);
            const bool ended = library.empty() || library.back() == '\n' || library.back() == '\r';
            EXPECT_EQ(r.bytes, library + (ended ? "" : eol) + added);
        } else {
            ASSERT_EQ(r.status, LibraryAddStatus::Replaced);
            const LibraryPattern& p = before.patterns[static_cast<std::size_t>(old)];
            EXPECT_EQ(r.bytes.substr(0, p.beginByte), library.substr(0, p.beginByte));
            EXPECT_EQ(r.bytes.substr(p.beginByte, added.size()), added);
            EXPECT_EQ(r.bytes.substr(p.beginByte + added.size()), library.substr(p.endByte));
            EXPECT_EQ(SplitLibrary(r.bytes).patterns.size(), before.patterns.size());
        }
    }
}

TEST(PatternLibrary, AddingAsksBeforeReplacingAndRecyclesTheOldFile) {
    test::TempDir dir;
    const std::string path = dir.File("bib.pat");
    const std::string library = ";; mijn bibliotheek\n*Nieuw\n0,0,0,0,1\n*Ander\n0,0,0,0,2\n";
    test::WriteText(path, library);
    const LineList lines = SplitLines(kNew);

    test::FakePlatform platform;
    platform.dialogAnswers = {path, path};
    platform.messageAnswers = {Answer::Cancel, Answer::Ok};
    FileDialog dialog = MakeLibraryDialog();
    EXPECT_FALSE(AddToLibraryFile(lines, platform, dialog, 7));
    EXPECT_EQ(test::ReadText(path), library);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text,
              "Arcering Nieuw bestaat al in deze bibliotheek. Vervangen?");
    EXPECT_EQ(platform.messages[0].owner, 7);

    EXPECT_TRUE(AddToLibraryFile(lines, platform, dialog, 7));
    EXPECT_EQ(test::ReadText(path),
              ";; mijn bibliotheek\n;%UNITS=MM\n;\n*Nieuw\n;%TYPE=MODEL\n"
              "0, 0, 0, 0, 5\n;\n*Ander\n0,0,0,0,2\n");
    ASSERT_EQ(platform.recycled.size(), 1u);
    EXPECT_EQ(platform.recycledContents[0], library);
}

}  // namespace
}  // namespace murvex
