// The brick bond generator: four brick dimensions, a rotation and a name to the lines of a file.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "CompatiblePattern.h"
#include "PatternFile.h"

namespace murvex::bonds {

inline constexpr int kBondCount = 10;
// The bonds in the order of the bond combo box (item index 0 to 9).
const std::array<std::string_view, kBondCount>& BondNames();
// Index of a bond by its name (exact, case-insensitive) or by its index text "0".."9"; -2 when
// neither.
int BondIndexFromText(std::string_view text);
// Item index -1 (nothing selected) and anything out of range count as 0.
int EffectiveBondIndex(int itemIndex);

// The bonds by name, in the order of BondNames(). Switches over a Bond have no default, so a
// bond added here and missing from one stops the build.
enum class Bond {
    Halfsteensverband,
    Tegelverband,
    Kruisverband,
    Engelsverband,
    Kettingverband,
    Koppenverband,
    Klezoorverband,
    Staandverband,
    Vlaamsverband,
    Wildverband,
};
static_assert(static_cast<int>(Bond::Wildverband) == kBondCount - 1);
// The bond of a combo item index, after EffectiveBondIndex.
Bond BondOfItem(int itemIndex);

struct BondInput {
    int bondIndex = 0;       // -1 .. 9
    double length = 0;       // L
    double lengthJoint = 0;  // Lv
    double height = 0;       // H
    double heightJoint = 0;  // Hv
    double rotation = 0;     // R, degrees
    std::string name;
    // The brick's width, which is the length of a header seen in the wall. None, or (L - J) / 2,
    // draws the headers (L - J) / 2 long as always; another width draws them that long, the head
    // joint between, and the courses and repeats grow with them.
    std::optional<double> width = std::nullopt;
};

// The complete line list of the file: the four header lines, the bond's pattern lines in table
// order and the closing ";"; in the compatible style with a description and short numbers.
LineList GenerateBond(const BondInput& input, PatternStyle style = PatternStyle::Specified);

// The texts of the tab's edits as the user typed them.
struct BondTexts {
    std::string length;
    std::string lengthJoint;
    std::string height;
    std::string heightJoint;
    std::string rotation;
    std::string width{};  // empty: the header as long as (L - J) / 2
};

// Reads the edits the way "Maak Hatch" does: the rotation parsed (0 when it does not parse), the
// four dimension texts and the width normalised to the user's separator (to be written back into
// the edits) and parsed; valid is false when any of them did not parse (an empty width is none).
struct BondReading {
    BondTexts normalised;
    bool valid = false;
    BondInput input;
};
BondReading ReadBondTexts(int bondIndex, const BondTexts& texts, const std::string& name,
                          char userSeparator);

// One brick of a bond before rotation: lower-left corner, width (its height is the brick
// height), and its periods along and across the courses.
struct BrickBlock {
    double x = 0;
    double y = 0;
    double width = 0;
    double periodX = 0;
    double periodY = 0;
};
// The bricks the bond's lines outline, in the order of its lines.
std::vector<BrickBlock> BondBricks(const BondInput& input);
// The bond's pattern lines with their numbers as computed, before they are written with three
// decimals (and before the three-decimal rounding some origins get ahead of the rotation).
std::vector<PatternLine> BondPatternLines(const BondInput& input);

}  // namespace murvex::bonds
