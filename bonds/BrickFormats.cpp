// The standard Dutch brick formats that the bond tab and the command line offer by name.
#include "BrickFormats.h"

#include <array>

#include "NumberText.h"
#include "Text.h"

namespace murvex::bonds {

namespace {

// Sizes as the trade publishes them. Waalformaat: KNB (the Dutch brick makers' association),
// 21 x 10 x 5 cm; Waaldikformaat and Moduul M50/M65 (188 x 88 x 48 and 63): the format lists of
// brick makers and building guides. The older regional formats varied from kiln to kiln; these
// are the sizes commonly given for them.
constexpr std::array<BrickFormat, 10> kFormats{{
    {"Waalformaat", 210, 100, 50},
    {"Waaldikformaat", 210, 100, 65},
    {"Dikformaat", 210, 100, 65},
    {"Vechtformaat", 210, 100, 40},
    {"IJsselformaat", 160, 78, 41},
    {"Rijnformaat", 180, 87, 41},
    {"Hilversums formaat", 225, 90, 42},
    {"Kloostermop", 300, 140, 80},
    {"Moduul M50", 188, 88, 48},
    {"Moduul M65", 188, 88, 63},
}};

// Fmt's three decimals without the zeros at the end.
std::string Short(double value) {
    std::string text = Fmt(value);
    while (!text.empty() && text.back() == '0')
        text.pop_back();
    if (!text.empty() && text.back() == '.') text.pop_back();
    return text;
}

}  // namespace

std::span<const BrickFormat> BrickFormats() {
    return kFormats;
}

const BrickFormat* FindBrickFormat(std::string_view name) {
    for (const BrickFormat& f : kFormats) {
        if (EqualsNoCase(f.name, Trim(name))) return &f;
    }
    return nullptr;
}

FormatTexts TextsOfFormat(const BrickFormat& format) {
    return {Short(format.length), Short(format.length + kHeadJoint), Short(format.height),
            Short(format.height + kBedJoint), Short(format.width)};
}

std::string SizeText(const BrickFormat& format) {
    return Short(format.length) + " x " + Short(format.width) + " x " + Short(format.height) +
           " mm";
}

}  // namespace murvex::bonds
