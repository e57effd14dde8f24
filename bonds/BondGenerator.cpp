// The brick bond generator: four brick dimensions, a rotation and a name to the lines of a file.
#include "BondGenerator.h"

#include "BondFrame.h"
#include "NumberText.h"
#include "PatternHeader.h"
#include "Text.h"

namespace murvex::bonds {

const std::array<std::string_view, kBondCount>& BondNames() {
    static constexpr std::array<std::string_view, kBondCount> kNames = {
        "Halfsteensverband", "Tegelverband",   "Kruisverband",  "Engelsverband", "Kettingverband",
        "Koppenverband",     "Klezoorverband", "Staandverband", "Vlaamsverband", "Wildverband",
    };
    return kNames;
}

int BondIndexFromText(std::string_view text) {
    if (text.size() == 1 && text[0] >= '0' && text[0] <= '9') return text[0] - '0';
    const auto& names = BondNames();
    for (int i = 0; i < kBondCount; ++i) {
        if (EqualsNoCase(text, names[static_cast<std::size_t>(i)])) return i;
    }
    return -2;
}

int EffectiveBondIndex(int itemIndex) {
    return itemIndex >= 0 && itemIndex < kBondCount ? itemIndex : 0;
}

Bond BondOfItem(int itemIndex) {
    return static_cast<Bond>(EffectiveBondIndex(itemIndex));
}

LineList GenerateBond(const BondInput& input, PatternStyle style) {
    const detail::Dims d = detail::Derive(input);
    const detail::Rotation rotation(d.R);
    const std::vector<detail::EdgeLine> edges =
        detail::Expand(detail::LayoutOf(BondOfItem(input.bondIndex), d), d);
    LineList lines;
    lines.reserve(edges.size() + 5);
    AppendHeaderLines(lines, {"MM", "MODEL", input.name});
    detail::LineTexts texts;
    for (const detail::EdgeLine& e : edges) {
        lines.push_back(detail::LineText(e, d, rotation, texts));
    }
    lines.push_back(kSeparatorLine);
    if (style == PatternStyle::Compatible) MakeCompatible(lines);
    return lines;
}

std::vector<BrickBlock> BondBricks(const BondInput& input) {
    const detail::Dims d = detail::Derive(input);
    std::vector<BrickBlock> bricks;
    for (const detail::Block& b : detail::LayoutOf(BondOfItem(input.bondIndex), d).blocks) {
        bricks.push_back({b.x, b.y, b.width, b.periodX, b.periodY});
    }
    return bricks;
}

std::vector<PatternLine> BondPatternLines(const BondInput& input) {
    const detail::Dims d = detail::Derive(input);
    const detail::Rotation rotation(d.R);
    std::vector<PatternLine> lines;
    for (const detail::EdgeLine& e :
         detail::Expand(detail::LayoutOf(BondOfItem(input.bondIndex), d), d)) {
        lines.push_back(detail::ToPatternLine(e, d, rotation));
    }
    return lines;
}

BondReading ReadBondTexts(int bondIndex, const BondTexts& texts, const std::string& name,
                          char userSeparator) {
    BondReading reading;
    const ParseResult rotation = ParseDecimal(texts.rotation);
    reading.input.rotation = rotation.ok ? rotation.value : 0.0;
    reading.normalised.rotation = texts.rotation;

    reading.normalised.length = LocalizeSeparator(texts.length, userSeparator);
    reading.normalised.lengthJoint = LocalizeSeparator(texts.lengthJoint, userSeparator);
    reading.normalised.height = LocalizeSeparator(texts.height, userSeparator);
    reading.normalised.heightJoint = LocalizeSeparator(texts.heightJoint, userSeparator);
    reading.normalised.width = LocalizeSeparator(texts.width, userSeparator);

    bool valid = true;
    const auto parse = [&valid](const std::string& text, double& out) {
        const ParseResult r = ParseDecimal(text);
        if (!r.ok) valid = false;
        out = r.value;
    };
    parse(reading.normalised.length, reading.input.length);
    parse(reading.normalised.lengthJoint, reading.input.lengthJoint);
    parse(reading.normalised.height, reading.input.height);
    parse(reading.normalised.heightJoint, reading.input.heightJoint);
    if (!Trim(reading.normalised.width).empty()) {
        double width = 0;
        parse(reading.normalised.width, width);
        reading.input.width = width;
    }
    reading.valid = valid;
    reading.input.bondIndex = bondIndex;
    reading.input.name = name;
    return reading;
}

}  // namespace murvex::bonds
