// The compatible way of writing a pattern file.
#include "CompatiblePattern.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <vector>

#include "NumberText.h"
#include "PatternCheck.h"
#include "PatternHeader.h"

namespace murvex {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Sign, digits, and an optional point with digits: the notation every writer of the program uses.
bool IsPlainDecimal(std::string_view s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) ++i;
    const std::size_t digits = i;
    while (i < s.size() && IsDigit(s[i]))
        ++i;
    if (i == digits) return false;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i]))
            ++i;
    }
    return i == s.size();
}

// The fields of a line split at every comma, trimmed.
std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = line.find(',', start);
        fields.push_back(Trim(line.substr(start, comma == line.npos ? line.npos : comma - start)));
        if (comma == line.npos) return fields;
        start = comma + 1;
    }
}

// Fields from the sixth on are dashes, where -0 (a gap) and 0 (a dot) differ.
constexpr std::size_t kFirstDashField = 5;

std::string JoinShort(const std::vector<std::string>& fields) {
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) out += ',';
        out += ShortNumber(fields[i], i >= kFirstDashField);
    }
    return out;
}

std::vector<double> FieldValues(const PatternLine& line) {
    std::vector<double> values = {line.angle, line.x, line.y, line.shiftX, line.shiftY};
    values.insert(values.end(), line.dashes.begin(), line.dashes.end());
    return values;
}

// The line with each number written with its own number of decimals, then made short.
std::string LineWithDecimals(const std::vector<double>& values, const std::vector<int>& decimals) {
    std::vector<std::string> fields;
    for (std::size_t i = 0; i < values.size(); ++i)
        fields.push_back(FmtDecimals(values[i], decimals[i]));
    return JoinShort(fields);
}

struct Vec {
    long double x = 0;
    long double y = 0;
};

// Where a line puts the point `along` units past the start of period m of its family line k.
struct Family {
    explicit Family(const PatternLine& l) : line(l) {
        const CosSin direction = CosSinDegrees(l.angle);
        u = {direction.c, direction.s};
        for (const double d : l.dashes)
            period += std::fabs(static_cast<long double>(d));
    }
    Vec At(long double k, long double m, long double along) const {
        const long double t = k * line.shiftX + m * period + along;
        const long double s = k * line.shiftY;
        return {line.x + t * u.x - s * u.y, line.y + t * u.y + s * u.x};
    }
    const PatternLine& line;
    Vec u;
    long double period = 0;
};

}  // namespace

std::string CompatibleNameLine(std::string_view name) {
    if (name.find(',') != name.npos) return NameLine(name);
    std::string text(name);
    text += ", ";
    text += name;
    return NameLine(text);
}

std::string ShortNumber(std::string_view text, bool keepZeroSign) {
    text = Trim(text);
    if (!IsPlainDecimal(text)) return std::string(text);
    std::string out(text);
    if (out.front() == '+') out.erase(0, 1);
    if (const std::size_t point = out.find('.'); point != out.npos) {
        while (out.back() == '0')
            out.pop_back();
        if (out.back() == '.') out.pop_back();
    }
    if (out == "-0" && !keepZeroSign) out = std::string("0");  // not = "0": GCC 12 warns
    return out;
}

std::string ShortPatternLine(std::string_view line) {
    if (!ParsePatternLine(line)) return std::string(line);
    std::vector<std::string> fields;
    for (const std::string_view f : Fields(Trim(line)))
        fields.emplace_back(f);
    return JoinShort(fields);
}

double CopyDeviation(const PatternLine& exact, const PatternLine& written, double width,
                     double height, int count) {
    constexpr double kNever = std::numeric_limits<double>::infinity();
    if (exact.dashes.empty() || exact.dashes.size() != written.dashes.size()) return kNever;
    const Family e(exact);
    const Family w(written);
    if (!(e.period > 0) || exact.shiftY == 0 || !std::isfinite(static_cast<double>(e.period)))
        return kNever;
    // A copy is named by its family line k and its period m along that line; the tile corners
    // of the region give the extreme (k, m), and the distance between the two lines' copies is
    // convex in (k, m), so its largest value over the region lies at one of them.
    const long double right = static_cast<long double>(width) * count;
    const long double top = static_cast<long double>(height) * count;
    long double worst = 0;
    for (const Vec c : {Vec{0, 0}, Vec{right, 0}, Vec{0, top}, Vec{right, top}}) {
        const Vec d{c.x - exact.x, c.y - exact.y};
        const long double k = (-d.x * e.u.y + d.y * e.u.x) / exact.shiftY;
        const long double m = ((d.x * e.u.x + d.y * e.u.y) - k * exact.shiftX) / e.period;
        long double alongE = 0;
        long double alongW = 0;
        for (std::size_t i = 0; i <= exact.dashes.size(); ++i) {
            const Vec p = e.At(k, m, alongE);
            const Vec q = w.At(k, m, alongW);
            worst = std::max(worst, std::hypot(p.x - q.x, p.y - q.y));
            if (i == exact.dashes.size()) break;
            alongE += std::fabs(static_cast<long double>(exact.dashes[i]));
            alongW += std::fabs(static_cast<long double>(written.dashes[i]));
        }
    }
    return std::isfinite(worst) ? static_cast<double>(worst) : kNever;
}

FittedLine FitPatternLine(std::string_view line, double tileWidth, double tileHeight) {
    FittedLine fitted{ShortPatternLine(line)};
    if (fitted.text.size() <= kCadLineLimit) return fitted;
    const std::optional<PatternLine> exact = ParsePatternLine(line);
    if (!exact) return fitted;
    const double tolerance = kCompatibleTolerance * std::min(tileWidth, tileHeight);
    const std::vector<double> values = FieldValues(*exact);
    // Each number takes a character and a comma: more numbers than that never fit, and trying
    // would cost the square of their count.
    if (2 * values.size() - 1 > kCadLineLimit) return fitted;
    std::vector<int> decimals(values.size(), kFittedDecimals);
    const auto deviationOf = [&](const std::string& text) {
        const std::optional<PatternLine> written = ParsePatternLine(text);
        return written ? CopyDeviation(*exact, *written, tileWidth, tileHeight)
                       : std::numeric_limits<double>::infinity();
    };
    std::string best = LineWithDecimals(values, decimals);
    double bestDeviation = deviationOf(best);
    if (!(bestDeviation <= tolerance)) return fitted;
    // One decimal at a time, each number in turn, so that the tolerance is shared out among
    // the numbers rather than spent on the first.
    for (bool lowered = true; lowered;) {
        lowered = false;
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (decimals[i] == 0) continue;
            --decimals[i];
            std::string text = LineWithDecimals(values, decimals);
            const double deviation = deviationOf(text);
            if (deviation <= tolerance) {
                best = std::move(text);
                bestDeviation = deviation;
                lowered = true;
            } else {
                ++decimals[i];
            }
        }
    }
    if (best.size() > kCadLineLimit) return fitted;
    const bool rounded = best != fitted.text;
    return {std::move(best), rounded, bestDeviation};
}

std::string ReaderNeutralLine(std::string_view line) {
    const std::optional<PatternLine> parsed = ParsePatternLine(line);
    if (!parsed || !std::isfinite(parsed->angle)) return std::string(line);
    PatternLine p = *parsed;
    bool changed = false;
    const auto isZeroGap = [](double d) { return d == 0 && std::signbit(d); };
    if (std::any_of(p.dashes.begin(), p.dashes.end(), isZeroGap)) {
        std::vector<double> joined;
        bool afterGap = false;
        for (const double d : p.dashes) {
            if (isZeroGap(d)) {
                afterGap = true;
                continue;
            }
            if (afterGap && d >= 0 && !joined.empty() && joined.back() >= 0)
                joined.back() += d;
            else
                joined.push_back(d);
            afterGap = false;
        }
        if (std::none_of(joined.begin(), joined.end(), [](double d) { return d < 0; }))
            joined.clear();
        p.dashes = std::move(joined);
        changed = true;
    }
    double angle = std::fmod(p.angle, 360.0);
    if (angle < 0) angle += 360.0;
    // Decided on the angle as it is written (ten decimals): 359.99999999999 is a whole turn, and
    // 179.99999999999 is no angle below 180.
    const double written = std::nearbyint(angle * 1e10) / 1e10;
    if (written >= 360.0) angle = 0;
    if (written >= 180.0 && written < 360.0) {
        double period = 0;
        for (const double d : p.dashes)
            period += std::fabs(d);
        std::reverse(p.dashes.begin(), p.dashes.end());
        // The gaps the list ended with would start it: they go to its end again, and the origin
        // to the first dash (readers take a list that starts with a gap as a slip).
        const auto firstDash =
            std::find_if(p.dashes.begin(), p.dashes.end(), [](double d) { return d >= 0; });
        double leadingGaps = 0;
        if (firstDash != p.dashes.end()) {
            for (auto d = p.dashes.begin(); d != firstDash; ++d)
                leadingGaps += std::fabs(*d);
            std::rotate(p.dashes.begin(), firstDash, p.dashes.end());
        }
        const CosSin direction = CosSinDegrees(p.angle);
        p.x += (period - leadingGaps) * direction.c;
        p.y += (period - leadingGaps) * direction.s;
        p.shiftX = -p.shiftX;
        p.shiftY = -p.shiftY;
        angle = std::max(0.0, angle - 180.0);
    }
    if (angle != p.angle) {
        p.angle = angle;
        changed = true;
    }
    // The family's lines lie at every whole multiple of the shift: (-along, -across) gives the
    // same ones. FreeCAD 0.20 draws a negative shift across at most angles as dashes strewn in
    // every direction, past the hatched face.
    if (p.shiftY < 0) {
        p.shiftX = -p.shiftX;
        p.shiftY = -p.shiftY;
        changed = true;
    }
    const std::vector<double> values = FieldValues(p);
    if (!changed ||
        !std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); }))
        return std::string(line);
    return LineWithDecimals(values, std::vector<int>(values.size(), kFittedDecimals));
}

void MakeCompatible(LineList& lines, const CompatibleTile* tile) {
    bool named = false;
    for (std::string& line : lines) {
        if (!named) {
            const HeaderLine header = ParseHeaderLine(line);
            // "*" alone names the pattern "" for the writers, though no reader takes it so.
            if (header.field == HeaderField::Name || line == "*") {
                line = CompatibleNameLine(header.value);
                named = true;
                continue;
            }
        }
        if (named && Trim(line).empty()) {
            line = std::string(kSeparatorLine);  // a new string: GCC 12 at -O3 warns on the assign
        } else if (tile != nullptr) {
            line = FitPatternLine(ReaderNeutralLine(line), tile->width, tile->height).text;
        } else {
            line = ShortPatternLine(ReaderNeutralLine(line));
        }
    }
}

}  // namespace murvex
