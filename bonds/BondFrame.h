// The frame every bond shares: derived quantities, brick blocks, and the two shapes of a line.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "BondGenerator.h"
#include "PatternFile.h"

namespace murvex::bonds::detail {

// The inputs and the quantities derived from them, each computed once as a double.
struct Dims {
    double L = 0;   // brick length
    double Lv = 0;  // length plus head joint
    double H = 0;   // brick height
    double Hv = 0;  // height plus bed joint
    double R = 0;   // rotation, degrees
    double J = 0;   // head joint: Lv - L
    double B = 0;   // bed joint: Hv - H
    double K = 0;   // header: (L - J) / 2, or the brick's width where one is given
    double D = 0;   // three-quarter brick: K + K/2 + J/2 of the (L - J) / 2 header
    double D3 = 0;  // D / 3
    // The header is the brick's own width, not (L - J) / 2: a course no longer closes on the
    // period its bond has with (L - J) / 2 headers, and each course takes its own.
    bool ownWidth = false;
};
Dims Derive(const BondInput& input);

// Which horizontal edges of a block carry the blank before the comma ahead of the shift.
enum class Spaced { None, Top, BottomAndTop };

// Set by name in the bond tables: {.atOrigin = true, .roundOrigin = true}.
struct BlockFlags {
    // The block whose bottom and left edges are written with the bare origin "0, 0".
    bool atOrigin = false;
    // Its origins are rounded to three decimals before they are turned.
    bool roundOrigin = false;
};

// One brick of width `width` and height H at lower-left (x, y), repeated every periodX along its
// course and every periodY across the courses.
struct Block {
    double x = 0;
    double y = 0;
    double width = 0;
    double periodX = 0;
    double periodY = 0;
    Spaced spaced = Spaced::None;
    BlockFlags flags{};
};

// ByBlock: bottom, top, left, right of each block in turn. HorizontalFirst: bottom and top of
// every block, then left and right of every block (the order of the half-brick bond).
enum class EdgeOrder { ByBlock, HorizontalFirst };

struct Layout {
    std::vector<Block> blocks;
    EdgeOrder order = EdgeOrder::ByBlock;
};

// One routine per bond or group of bonds, each giving its blocks in the order of its lines.
Layout Halfsteensverband(const Dims& d);
Layout Tegelverband(const Dims& d);
Layout Kruisverband(const Dims& d);
Layout Engelsverband(const Dims& d);
Layout Kettingverband(const Dims& d);
Layout Koppenverband(const Dims& d);
Layout Klezoorverband(const Dims& d);
Layout Staandverband(const Dims& d);
Layout Vlaamsverband(const Dims& d);
Layout Wildverband(const Dims& d);

Layout LayoutOf(Bond bond, const Dims& d);

// One generated line before it is written: angle R or R + 90, origin before rotation, shift
// across, and one dash followed by one gap (the gap as a length, written after a minus sign).
struct EdgeLine {
    bool vertical = false;
    double x = 0;
    double y = 0;
    double shift = 0;
    double dash = 0;
    double gap = 0;
    bool bareOrigin = false;  // shape A: origin and shift along written as "0, 0, 0"
    bool spaced = false;
    bool roundOrigin = false;
};

std::vector<EdgeLine> Expand(const Layout& layout, const Dims& d);

// The origin rotation about (0, 0), with cos and sin of R computed once.
class Rotation {
  public:
    explicit Rotation(double degrees);
    bool IsZero() const { return zero_; }
    void Apply(double x, double y, double& xr, double& yr) const;

  private:
    bool zero_;
    double cos_;
    double sin_;
};

// Fmt texts of recent numbers: a bond repeats few distinct angles, shifts, dashes and gaps, and
// a block's coordinates recur in its four lines, so each is formatted once.
class NumberTexts {
  public:
    const std::string& operator()(double value);

  private:
    static constexpr std::size_t kSize = 32;
    std::array<std::uint64_t, kSize> keys_{};
    std::array<std::string, kSize> texts_{};
    std::size_t used_ = 0;
    std::size_t next_ = 0;
};

struct LineTexts {
    NumberTexts lengths;  // angles, shifts, dashes and gaps
    NumberTexts origins;  // origin coordinates
};
std::string LineText(const EdgeLine& line, const Dims& d, const Rotation& rotation,
                     LineTexts& texts);
PatternLine ToPatternLine(const EdgeLine& line, const Dims& d, const Rotation& rotation);

}  // namespace murvex::bonds::detail
