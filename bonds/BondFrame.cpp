// The frame every bond shares: derived quantities, brick blocks, and the two shapes of a line.
#include "BondFrame.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "NumberText.h"

namespace murvex::bonds::detail {

Dims Derive(const BondInput& input) {
    Dims d;
    d.L = input.length;
    d.Lv = input.lengthJoint;
    d.H = input.height;
    d.Hv = input.heightJoint;
    // A rotation typed as "-0" is no rotation; adding +0 turns -0 into +0 and keeps the angle
    // text "0.000".
    d.R = input.rotation + 0.0;
    d.J = d.Lv - d.L;
    d.B = d.Hv - d.H;
    d.K = (d.L - d.J) / 2;
    d.D = d.K + d.K / 2 + d.J / 2;
    d.D3 = d.D / 3;
    // The three-quarter brick and the offsets between courses stay those of the brick's length;
    // only the header takes the width. A width that is (L - J) / 2 already changes nothing, so
    // the lines stay those of the four dimensions to the last bit.
    if (input.width && !(std::fabs(*input.width - d.K) <= 1e-9 * std::max(1.0, std::fabs(d.K)))) {
        d.K = *input.width;
        d.ownWidth = true;
    }
    return d;
}

Layout LayoutOf(Bond bond, const Dims& d) {
    switch (bond) {
        case Bond::Halfsteensverband:
            return Halfsteensverband(d);
        case Bond::Tegelverband:
            return Tegelverband(d);
        case Bond::Kruisverband:
            return Kruisverband(d);
        case Bond::Engelsverband:
            return Engelsverband(d);
        case Bond::Kettingverband:
            return Kettingverband(d);
        case Bond::Koppenverband:
            return Koppenverband(d);
        case Bond::Klezoorverband:
            return Klezoorverband(d);
        case Bond::Staandverband:
            return Staandverband(d);
        case Bond::Vlaamsverband:
            return Vlaamsverband(d);
        case Bond::Wildverband:
            return Wildverband(d);
    }
    return Halfsteensverband(d);  // not reached: BondOfItem gives only the bonds above
}

namespace {

// The block's four lines: bottom, top, left and right edge.
std::array<EdgeLine, 4> Edges(const Block& b, const Dims& d) {
    const double gapAlong = b.periodX - b.width;
    const double gapAcross = b.periodY - d.H;
    return {{
        {.x = b.x,
         .y = b.y,
         .shift = b.periodY,
         .dash = b.width,
         .gap = gapAlong,
         .bareOrigin = b.flags.atOrigin,
         .spaced = b.spaced == Spaced::BottomAndTop,
         .roundOrigin = b.flags.roundOrigin},
        {.x = b.x,
         .y = b.y + d.H,
         .shift = b.periodY,
         .dash = b.width,
         .gap = gapAlong,
         .spaced = b.spaced != Spaced::None,
         .roundOrigin = b.flags.roundOrigin},
        {.vertical = true,
         .x = b.x,
         .y = b.y,
         .shift = b.periodX,
         .dash = d.H,
         .gap = gapAcross,
         .bareOrigin = b.flags.atOrigin,
         .roundOrigin = b.flags.roundOrigin},
        {.vertical = true,
         .x = b.x + b.width,
         .y = b.y,
         .shift = b.periodX,
         .dash = d.H,
         .gap = gapAcross,
         .roundOrigin = b.flags.roundOrigin},
    }};
}

// Three decimals, the way the origin reads from its written text.
double RoundedAsWritten(double v) {
    const ParseResult r = ParseDecimal(Fmt(v));
    return r.ok ? r.value : v;
}

}  // namespace

std::vector<EdgeLine> Expand(const Layout& layout, const Dims& d) {
    std::vector<EdgeLine> lines;
    lines.reserve(layout.blocks.size() * 4);
    switch (layout.order) {
        case EdgeOrder::ByBlock:
            for (const Block& b : layout.blocks) {
                const auto edges = Edges(b, d);
                lines.insert(lines.end(), edges.begin(), edges.end());
            }
            break;
        case EdgeOrder::HorizontalFirst:
            for (const Block& b : layout.blocks) {
                const auto edges = Edges(b, d);
                lines.insert(lines.end(), edges.begin(), edges.begin() + 2);
            }
            for (const Block& b : layout.blocks) {
                const auto edges = Edges(b, d);
                lines.insert(lines.end(), edges.begin() + 2, edges.end());
            }
            break;
    }
    return lines;
}

Rotation::Rotation(double degrees) : zero_(degrees == 0), cos_(1), sin_(0) {
    if (!zero_) {
        const CosSin turn = CosSinDegrees(degrees);
        cos_ = turn.c;
        sin_ = turn.s;
    }
}

void Rotation::Apply(double x, double y, double& xr, double& yr) const {
    if (zero_) {
        xr = x;
        yr = y;
        return;
    }
    xr = x * cos_ - y * sin_;
    yr = x * sin_ + y * cos_;
}

const std::string& NumberTexts::operator()(double value) {
    const auto key = std::bit_cast<std::uint64_t>(value);
    for (std::size_t i = 0; i < used_; ++i) {
        if (keys_[i] == key) return texts_[i];
    }
    const std::size_t slot = next_;
    next_ = (next_ + 1) % kSize;
    used_ = std::max(used_, slot + 1);
    keys_[slot] = key;
    texts_[slot] = Fmt(value);
    return texts_[slot];
}

std::string LineText(const EdgeLine& line, const Dims& d, const Rotation& rotation,
                     LineTexts& texts) {
    NumberTexts& fmt = texts.lengths;
    std::string text;
    text.reserve(64);
    text += fmt(line.vertical ? d.R + 90 : d.R);
    if (line.bareOrigin) {
        text += line.spaced ? ", 0, 0 , 0, " : ", 0, 0, 0, ";
    } else {
        double x = line.x;
        double y = line.y;
        if (line.roundOrigin && !rotation.IsZero()) {
            x = RoundedAsWritten(x);
            y = RoundedAsWritten(y);
        }
        double xr = 0;
        double yr = 0;
        rotation.Apply(x, y, xr, yr);
        text += ", ";
        text += texts.origins(xr);
        text += ", ";
        text += texts.origins(yr);
        text += line.spaced ? " , 0, " : ", 0, ";
    }
    text += fmt(line.shift);
    text += ", ";
    text += fmt(line.dash);
    // The gap is never negated: a negative gap shows as a double minus.
    text += ", -";
    text += fmt(line.gap);
    return text;
}

PatternLine ToPatternLine(const EdgeLine& line, const Dims& d, const Rotation& rotation) {
    PatternLine p;
    p.angle = line.vertical ? d.R + 90 : d.R;
    if (!line.bareOrigin) rotation.Apply(line.x, line.y, p.x, p.y);
    p.shiftX = 0;
    p.shiftY = line.shift;
    p.dashes = {line.dash, -line.gap};
    return p;
}

}  // namespace murvex::bonds::detail
