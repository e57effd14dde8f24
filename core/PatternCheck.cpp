// The check of a pattern file against what CAD programs are known to refuse or misread.
#include "PatternCheck.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "NumberText.h"
#include "PatternFile.h"
#include "PatternHeader.h"
#include "Text.h"
#include "Utf8Path.h"

namespace murvex {

namespace {

constexpr std::size_t kCodeCount = static_cast<std::size_t>(CheckCode::AngleHalfTurnOrMore) + 1;

bool IsBlank(std::string_view s) {
    return std::all_of(s.begin(), s.end(),
                       [](char c) { return static_cast<unsigned char>(c) <= 32; });
}

// Lower case in Windows-1252: ASCII, the Latin-1 letters and the four pairs in 0x8A..0x9F.
unsigned char FoldCase(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 0x20);
    switch (c) {
        case 0x8A:
        case 0x8C:
        case 0x8E:
            return static_cast<unsigned char>(c + 0x10);
        case 0x9F:
            return 0xFF;
        default:
            return c;
    }
}

// A pattern's name and its file name match in any case, Latin letters with accents included;
// keys and units are plain ASCII and compare through Text.h.
bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return FoldCase(static_cast<unsigned char>(x)) ==
                      FoldCase(static_cast<unsigned char>(y));
           });
}

std::string Count(double n) {
    if (!(n < 1e12)) return "meer dan 1000000000000";
    return IntText(static_cast<long long>(std::llround(n)));
}

std::string Count(std::size_t n) {
    return Count(static_cast<double>(n));
}

// The file's own name without folder and without ".pat" (in any case).
std::string_view FileStem(std::string_view fileName) {
    const std::size_t slash = LastPathSeparator(fileName);
    if (slash != std::string_view::npos) fileName.remove_prefix(slash + 1);
    constexpr std::string_view kExtension = ".pat";
    if (fileName.size() >= kExtension.size() &&
        EqualsNoCase(fileName.substr(fileName.size() - kExtension.size()), kExtension)) {
        fileName.remove_suffix(kExtension.size());
    }
    return fileName;
}

// Metres per drawing unit: the first units header before the first pattern line decides, "INCH"
// in any case for inches. Any other value (an empty one too), or no header at all, millimetres:
// the program's own default.
double MetresPerUnit(std::string_view text) {
    for (const std::string_view line : TextLines(text)) {
        if (ParsePatternLine(line)) break;
        const HeaderLine header = ParseHeaderLine(line, {.keyAlone = true});
        if (header.field != HeaderField::Units) continue;
        return EqualsNoCase(header.value, "INCH") ? 0.0254 : 0.001;
    }
    return 0.001;
}

// Pieces (dashes, dots, or whole lines crossing a square) a family draws per square metre.
// Lines are 1/spacing per metre across; a line without a gap crosses a square metre as one
// piece, a dashed line draws every pen-down entry (dashes and dots) once per period.
double PiecesPerSquareMetre(const PatternLine& line, double metresPerUnit) {
    const double spacing = std::fabs(line.shiftY) * metresPerUnit;
    if (!(spacing > 0) || !std::isfinite(spacing)) return 0;
    const double linesPerMetre = 1 / spacing;
    double period = 0;
    double drawn = 0;
    bool gap = false;
    for (const double d : line.dashes) {
        if (!std::isfinite(d)) return 0;
        period += std::fabs(d);
        if (d < 0) {
            gap = true;
        } else {
            drawn += 1;
        }
    }
    if (!gap) return linesPerMetre;
    return linesPerMetre * drawn / (period * metresPerUnit);
}

// The length of one period of the dash list; 0 for a solid line.
double DashPeriod(const PatternLine& line) {
    double period = 0;
    for (const double d : line.dashes)
        period += std::fabs(d);
    return std::isfinite(period) ? period : 0;
}

// A number for a message: three decimals, trailing zeros left off.
std::string ShiftText(double value) {
    std::string text = Fmt(value);
    while (text.back() == '0')
        text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text;
}

// Keeps the warnings, at most kWarningsPerCode of each code, and counts the rest.
class Collector {
  public:
    void Add(CheckCode code, std::size_t line, std::string message) {
        const auto c = static_cast<std::size_t>(code);
        if (++counts_[c] <= kWarningsPerCode) {
            warnings_.push_back({code, line, WithReaders(code, std::move(message))});
        } else if (counts_[c] == kWarningsPerCode + 1) {
            firstOmitted_[c] = line;
        }
    }

    // The same warning on count lines in a row from first, without a message per line.
    void AddRun(CheckCode code, std::size_t first, std::size_t count, const std::string& message) {
        const auto c = static_cast<std::size_t>(code);
        std::size_t k = 0;
        // One by one until the first omitted line is known; the rest only count.
        for (; k < count && counts_[c] <= kWarningsPerCode; ++k)
            Add(code, first + k, message);
        counts_[c] += count - k;
    }

    std::vector<PatternWarning> Finish() {
        for (std::size_t c = 0; c < kCodeCount; ++c) {
            if (counts_[c] <= kWarningsPerCode) continue;
            const auto code = static_cast<CheckCode>(c);
            warnings_.push_back(
                {code, firstOmitted_[c],
                 WithReaders(code, "En nog " + Count(counts_[c] - kWarningsPerCode) +
                                       " keer dezelfde waarschuwing vanaf deze "
                                       "regel")});
        }
        std::stable_sort(
            warnings_.begin(), warnings_.end(),
            [](const PatternWarning& a, const PatternWarning& b) { return a.line < b.line; });
        return std::move(warnings_);
    }

  private:
    static std::string WithReaders(CheckCode code, std::string message) {
        message += " (treft: ";
        message += CheckCodeReaders(code);
        message += ')';
        return message;
    }

    std::vector<PatternWarning> warnings_;
    std::array<std::size_t, kCodeCount> counts_{};
    std::array<std::size_t, kCodeCount> firstOmitted_{};
};

// One pattern: from its name line (none for the lines before the first name line) to the next.
struct Section {
    std::size_t nameLine = 0;
    std::size_t firstPatternLine = 0;
    double density = 0;
};

void CheckDensity(const Section& s, Collector& out) {
    if (!(s.density > kDenseLimit)) return;
    out.Add(CheckCode::TooDense, s.nameLine != 0 ? s.nameLine : s.firstPatternLine,
            "Het patroon is te dicht: ongeveer " + Count(s.density) +
                " lijnstukken per vierkante meter (grens " + Count(kDenseLimit) +
                "); een CAD-programma geeft het tekenen op");
}

void CheckName(std::string_view nameLine, std::size_t number, Collector& out) {
    const std::string_view text = nameLine.substr(1);
    const std::size_t comma = text.find(',');
    const std::string_view name = Trim(text.substr(0, comma));
    if (comma == std::string_view::npos) {
        out.Add(CheckCode::NoDescription, number,
                "De naamregel heeft geen beschrijving (\"*naam, beschrijving\"); sommige "
                "programma's vinden dit patroon niet");
    }
    // A comma is where every reader ends the name and the description begins: "*NAME,
    // description" is what libraries hold, so a file gives no reason for CommaInName.
    if (name.size() > kCadNameLimit) {
        out.Add(CheckCode::LongName, number,
                "De naam \"" + std::string(name) + "\" is langer dan " + Count(kCadNameLimit) +
                    " tekens (" + Count(name.size()) + ")");
    }
}

}  // namespace

std::string_view CheckCodeName(CheckCode code) {
    switch (code) {
        case CheckCode::LongLine:
            return "long-line";
        case CheckCode::ZeroShiftAcross:
            return "zero-shift-across";
        case CheckCode::LongName:
            return "long-name";
        case CheckCode::CommaInName:
            return "comma-in-name";
        case CheckCode::NameNotFileName:
            return "name-not-file-name";
        case CheckCode::NoFinalLineEnd:
            return "no-final-line-end";
        case CheckCode::EmptyPatternLine:
            return "empty-pattern-line";
        case CheckCode::BadPatternLine:
            return "bad-pattern-line";
        case CheckCode::PositiveSecondDash:
            return "positive-second-dash";
        case CheckCode::TooDense:
            return "too-dense";
        case CheckCode::UncountableDensity:
            return "uncountable-density";
        case CheckCode::NoDescription:
            return "no-description";
        case CheckCode::ShiftAlongReversed:
            return "shift-along-reversed";
        case CheckCode::ShiftAcrossNegative:
            return "shift-across-negative";
        case CheckCode::AngleHalfTurnOrMore:
            return "angle-half-turn-or-more";
    }
    return "unknown";
}

// Only readers whose behaviour is known: tried by hand or read in their documentation or source.
std::string_view CheckCodeReaders(CheckCode code) {
    switch (code) {
        case CheckCode::LongLine:          // reads 80 characters of a line
        case CheckCode::LongName:          // refuses names over 31 characters
        case CheckCode::NameNotFileName:   // looks a pattern up by its file's name
        case CheckCode::NoFinalLineEnd:    // wants a line end after the last line
        case CheckCode::EmptyPatternLine:  // ends the pattern at an empty line
        case CheckCode::TooDense:          // stops filling at HPMAXLINES
        case CheckCode::UncountableDensity:
            return "AutoCAD";
        case CheckCode::ZeroShiftAcross:  // ezdxf: "hatching lines are too narrow"
        case CheckCode::BadPatternLine:   // ezdxf refuses the whole file
            return "AutoCAD, ezdxf";
        case CheckCode::CommaInName:
        case CheckCode::PositiveSecondDash:
            return "AutoCAD, FreeCAD, ezdxf";
        case CheckCode::NoDescription:  // FreeCAD 0.20 keeps the CR of CR LF; ezdxf refuses it
            return "FreeCAD, ezdxf";
        case CheckCode::ShiftAlongReversed:   // FreeCAD 0.20 shifts each line the other way
        case CheckCode::ShiftAcrossNegative:  // FreeCAD 0.20 scatters the dashes
        case CheckCode::AngleHalfTurnOrMore:  // FreeCAD 0.20 starts the dashes at the far end
            return "FreeCAD";
    }
    return "";
}

std::vector<PatternWarning> CheckPatternText(std::string_view bytes, std::string_view fileName) {
    const std::size_t nul = bytes.find('\0');
    if (nul != std::string_view::npos) bytes = bytes.substr(0, nul);
    const double metresPerUnit = MetresPerUnit(bytes);
    Collector out;

    // Nothing is kept per line or per pattern: a file of millions of lines costs no more than
    // its bytes.
    Section section;
    std::size_t nameCount = 0;
    std::string_view firstName;
    std::size_t firstNameLine = 0;
    // Blank lines wait until the pattern goes on: blank lines at the end of the file or before
    // the next name line only separate patterns, which every CAD program accepts. Every other
    // line ends the wait, so the waiting lines are always one run.
    std::size_t firstBlank = 0;
    std::size_t blanks = 0;
    std::size_t number = 0;
    for (const std::string_view line : TextLines(bytes)) {
        ++number;
        const bool inPattern = section.nameLine != 0;
        if (line.size() > kCadLineLimit) {
            out.Add(CheckCode::LongLine, number,
                    "De regel is langer dan " + Count(kCadLineLimit) + " tekens (" +
                        Count(line.size()) + "); een CAD-programma leest de rest niet");
        }
        // A name line as the readers know it.
        if (const HeaderLine header = ParseHeaderLine(line); header.field == HeaderField::Name) {
            blanks = 0;
            if (++nameCount == 1) {
                firstName = header.value;
                firstNameLine = number;
            }
            CheckDensity(section, out);
            section = {number, 0, 0};
            CheckName(line, number, out);
            continue;
        }
        if (IsBlank(line)) {
            // An empty pattern line: nothing but blanks where the pattern goes on, as the free
            // line tab writes for a row without an angle. CAD programs end the pattern there or
            // refuse the file.
            if (inPattern && blanks++ == 0) firstBlank = number;
            continue;
        }
        if (blanks > 0) {
            out.AddRun(CheckCode::EmptyPatternLine, firstBlank, blanks,
                       "Lege regel binnen het patroon; een CAD-programma stopt daar of weigert "
                       "het bestand");
            blanks = 0;
        }

        const std::string_view trimmed = Trim(line);
        if (trimmed.front() == ';' || trimmed.front() == '*' ||
            StartsWithNoCase(trimmed, "%VERSION=")) {
            continue;
        }
        const std::optional<PatternLine> parsed = ParsePatternLine(line);
        if (!parsed) {
            if (inPattern) {
                out.Add(CheckCode::BadPatternLine, number,
                        "Geen geldige patroonregel: minder dan vijf getallen of een veld dat geen "
                        "getal is");
            }
            continue;
        }
        if (section.firstPatternLine == 0) section.firstPatternLine = number;
        if (parsed->shiftY == 0) {
            out.Add(CheckCode::ZeroShiftAcross, number,
                    "Y shift is 0: alle lijnen van deze regel vallen samen, een CAD-programma "
                    "tekent een dichte vlek of weigert het patroon");
        }
        // Entries alternate pen down and pen up, so the second entry is the first gap. Two
        // drawn entries in a row further on merely join; a positive first gap is the typical
        // slip of a "Pen Up" typed without its minus sign and draws the line solid. A list that
        // starts with a gap ("-5, 3") has its first dash second.
        if (parsed->dashes.size() >= 2 && parsed->dashes[0] >= 0 && parsed->dashes[1] > 0) {
            out.Add(CheckCode::PositiveSecondDash, number,
                    "De tweede streeplengte (Pen Up) is positief; een tussenruimte hoort negatief "
                    "te zijn");
        }
        // A shift along of s and of -s draw the same only where 2 s is a whole number of dash
        // periods (a solid line has none): elsewhere FreeCAD, which applies it negated at every
        // angle but 0, draws the lines of the family shifted the wrong way.
        if (const double period = DashPeriod(*parsed);
            period > 0 && parsed->shiftX != 0 && std::fmod(parsed->angle, 360.0) != 0) {
            const double twice = std::fmod(std::fabs(2 * parsed->shiftX), period);
            if (std::min(twice, period - twice) > 1e-9 * std::max(1.0, period)) {
                out.Add(CheckCode::ShiftAlongReversed, number,
                        "De verschuiving langs de lijn (" + ShiftText(parsed->shiftX) +
                            ") past FreeCAD in tegengestelde richting toe; alleen 0 of een halve "
                            "streeplengte (" +
                            ShiftText(period / 2) + ") tekent het daar goed");
            }
        }
        // Both shifts negated give the same lines (0 - x: no "-0"); FreeCAD draws only a positive
        // shift across right for dashes at an angle that is no quarter turn.
        if (DashPeriod(*parsed) > 0 && parsed->shiftY < 0 && std::fmod(parsed->angle, 90.0) != 0) {
            out.Add(CheckCode::ShiftAcrossNegative, number,
                    "De verschuiving dwars op de lijn is negatief: FreeCAD tekent de strepen dan "
                    "verkeerd; beide verschuivingen omgekeerd (" +
                        ShiftText(0.0 - parsed->shiftX) + ", " + ShiftText(-parsed->shiftY) +
                        ") geven dezelfde lijnen");
        }
        // FreeCAD 0.20 draws a line at 180 degrees or more (or below 0) from the wrong end of
        // its dash list, and drops some solid ones; the same line reversed is below 180.
        if (const double turn = std::fmod(parsed->angle, 360.0); turn < 0 || turn >= 180) {
            out.Add(
                CheckCode::AngleHalfTurnOrMore, number,
                "De hoek ligt niet tussen 0 en 180 graden: FreeCAD tekent de lijn dan vanaf het "
                "verkeerde eind; \"Compatibel opslaan\" schrijft dezelfde lijn omgekeerd");
        }
        // Numbers near the ends of the double range make the density infinite or NaN; added
        // to the sum, one such line would hide the density of every other line.
        const double density = PiecesPerSquareMetre(*parsed, metresPerUnit);
        if (std::isfinite(density)) {
            section.density += density;
        } else {
            out.Add(CheckCode::UncountableDensity, number,
                    "De dichtheid van deze regel is niet te berekenen: de getallen zijn te groot "
                    "of te klein; een CAD-programma tekent de regel verkeerd of geeft het "
                    "tekenen op");
        }
    }

    if (!bytes.empty() && bytes.back() != '\n' && bytes.back() != '\r') {
        out.Add(CheckCode::NoFinalLineEnd, number,
                "De laatste regel heeft geen regeleinde; een CAD-programma kan hem overslaan");
    }
    CheckDensity(section, out);
    if (nameCount == 1 && !fileName.empty()) {
        const std::string_view stem = FileStem(fileName);
        const std::string_view name = Trim(firstName.substr(0, firstName.find(',')));
        if (!EqualIgnoringCase(stem, name)) {
            out.Add(CheckCode::NameNotFileName, firstNameLine,
                    "De naam \"" + std::string(name) + "\" verschilt van de bestandsnaam \"" +
                        std::string(stem) +
                        "\"; een CAD-programma zoekt het patroon op de "
                        "bestandsnaam");
        }
    }
    return out.Finish();
}

}  // namespace murvex
