// Library files: many patterns one after another, split into their patterns, and a pattern added
// to such a file or put in place of one of the same name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Text.h"

namespace murvex {

// The same bounds as the pattern file reader: 64 MiB of input, every line classified within its
// first 255 characters, and at most this many patterns (each costs a record of a few hundred
// bytes, so a file of millions of one-line patterns would take gigabytes).
inline constexpr std::uintmax_t kMaxLibraryBytes = 64u * 1024u * 1024u;
inline constexpr std::size_t kLibraryLineLimit = 255;
inline constexpr std::size_t kMaxLibraryPatterns = 100000;

// One pattern of a library. Its range runs from the header lines and ";" lines directly above
// its name line (no blank or comment line between) through the name line, the header lines
// below it, its pattern lines and one closing ";" right after the last of them. Comments and
// blank lines between patterns belong to none. Lines are counted from 0 in TextLines' split.
struct LibraryPattern {
    std::string name;         // after "*" up to the first comma, without blanks around it
    std::string description;  // after that comma, without blanks around it; empty without one
    std::string units;        // the units value in effect (a file's top header too); empty if none
    std::string type;         // the type value given for this pattern; empty if none
    std::size_t firstLine = 0;
    std::size_t endLine = 0;    // one past the range's last line
    std::size_t nameLine = 0;   // the line of "*"
    std::size_t beginByte = 0;  // where the range's first line starts
    std::size_t endByte = 0;    // after the line end of its last line (or the end of the text)
    std::size_t patternLines = 0;
    bool sameNameBefore = false;  // an earlier pattern has this name (compared without case)
};

enum class LibraryStatus { Ok, TooLarge, TooManyPatterns };

struct LibraryIndex {
    LibraryStatus status = LibraryStatus::Ok;
    std::vector<LibraryPattern> patterns;  // empty unless Ok
};

// Splits the bytes of a pattern file (lines and NUL as the reader splits them) into its patterns.
LibraryIndex SplitLibrary(std::string_view bytes);

// The first pattern of that name, compared without case (ASCII); -1 when there is none.
int FindLibraryPattern(const LibraryIndex& index, std::string_view name);

// The bytes of one pattern as a file of its own: its range, preceded by the units line in effect
// when that line lies above the range, so that reading it gives what the library meant.
std::string PatternFileOf(std::string_view library, const LibraryPattern& pattern);

// Whether a pattern may be put into a library under this name (the part of its name line before
// the first comma): not empty, no comma and no control character.
bool IsLibraryName(std::string_view name);

// The first pattern of that name (as FindLibraryPattern compares) as PatternFileOf gives it,
// found from the name lines: only the stretch from the name line before it to the one after it
// is split, so finding the last of many patterns costs little more than reading the bytes.
struct FoundPattern {
    bool found = false;
    std::string bytes;
    std::size_t nameLine = 0;                     // counted from 0
    std::vector<std::size_t> laterSameNameLines;  // the name lines of later ones of that name
};
FoundPattern FindPatternFile(std::string_view library, std::string_view name);

// Whether any line of text reads as a pattern line (numbers: angle, origin, shift and dashes).
// An empty file, prose or a picture renamed .pat holds none.
bool HoldsPatternLine(std::string_view text);

// The pattern a command draws: the file itself when it holds at most one pattern, or, by name
// (compared as FindLibraryPattern does), one pattern of a library as a file of its own.
enum class PatternChoice {
    Chosen,
    NoPattern,  // what would be drawn holds no pattern line
    NotFound,   // no pattern of that name; names lists them all
    Several,    // no name given and more than one pattern; names lists them
};
struct ChosenPattern {
    PatternChoice status = PatternChoice::NoPattern;
    std::string bytes;
    std::vector<std::string> names;
};
ChosenPattern ChoosePattern(std::string_view file, std::string_view name);

enum class LibraryAddStatus {
    Added,        // appended at the end
    Replaced,     // put in place of the first pattern of the same name
    NameExists,   // a pattern of that name exists and replace was not asked
    NotALibrary,  // the library is not a pattern file (see IsPatternFileText)
    LibraryTooLarge,
    TooManyPatterns,
    NoPattern,    // the new text holds no pattern, or more than one
    BadName,      // the new pattern's name fails IsLibraryName
    NameTooLong,  // its name line is longer than kLibraryLineLimit
};

struct LibraryAddResult {
    LibraryAddStatus status = LibraryAddStatus::NotALibrary;
    std::string name;   // the new pattern's name
    std::string bytes;  // the library as it is to be written; empty unless Added or Replaced
};

// The compatible way of writing (MakeCompatible) for a pattern that comes without its tile, as
// `add --compatible` takes a finished file: a line longer than 80 characters gets the fewest
// decimals that keep its copies where they were, with the pattern's own repeat (its longest
// dash period or line distance) standing in for the tile.
void MakeCompatibleWithoutTile(LineList& lines);

// Whether text is a pattern file: no NUL byte, and every line blank, a comment or header line
// (";..."), a name line, a version line or a comma separated list of numbers, with no pattern
// line before the first name line. An empty file is one (a library to start).
bool IsPatternFileText(std::string_view text);

// Puts the one pattern of patternFile (a pattern file's bytes, as a writer's line list joins
// them) into library: in place of the first pattern of the same name (the name before the
// comma of "*NAME, description", compared whole and without case) when replace is set, at the
// end otherwise. Every other byte of the library stays as it is (a byte-order mark too); the new
// lines get the library's own line end (that of its first line; CR LF in a file without one),
// and a last line without a line end gets one before a pattern is appended after it. No other
// pattern is read with other units afterwards: a units line goes at the head of the new lines
// where the units in effect there differ from the new pattern's (one without units that
// replaces another keeps that one's), and after them where the following patterns were read with
// other units than the new lines leave in effect. Patterns read without any units line were read
// with kDefaultUnits: after new lines of other units they get a units line of the default.
LibraryAddResult AddToLibrary(std::string_view library, std::string_view patternFile, bool replace);

}  // namespace murvex
