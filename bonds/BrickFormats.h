// The standard Dutch brick formats that the bond tab and the command line offer by name.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace murvex::bonds {

// A brick's size in millimetres, length x width x height. The width is the length of a header
// in the wall.
struct BrickFormat {
    std::string_view name;
    double length = 0;
    double width = 0;
    double height = 0;
};

// The joints a chosen format comes with: the head joint between two bricks of a course and the
// bed joint between two courses, in millimetres.
inline constexpr double kHeadJoint = 10.0;
inline constexpr double kBedJoint = 12.5;

// The formats in the order the combo box lists them.
std::span<const BrickFormat> BrickFormats();
// A format by name, case ignored; nullptr when there is none of that name.
const BrickFormat* FindBrickFormat(std::string_view name);

// A format's dimension texts as the bond tab's edits show them: length, length plus head joint,
// height, height plus bed joint and width, with a point and without trailing zeros ("62.5").
struct FormatTexts {
    std::string length;
    std::string lengthJoint;
    std::string height;
    std::string heightJoint;
    std::string width;
};
FormatTexts TextsOfFormat(const BrickFormat& format);

// "210 x 100 x 50 mm".
std::string SizeText(const BrickFormat& format);

}  // namespace murvex::bonds
