// The bond's preview content.
#include "BondPreview.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "NumberText.h"

namespace murvex::bonds {

std::vector<ViewPoint> BondRepeatOutline(const BondInput& input) {
    double periodX = 0;
    double periodY = 0;
    for (const BrickBlock& b : BondBricks(input)) {
        periodX = std::max(periodX, b.periodX);
        periodY = std::max(periodY, b.periodY);
    }
    if (!(periodX > 0 && periodY > 0 && std::isfinite(periodX) && std::isfinite(periodY)))
        return {};
    const auto [c, s] = CosSinDegrees(input.rotation);
    std::vector<ViewPoint> outline;
    for (const auto& [x, y] : {std::pair{0.0, 0.0}, std::pair{periodX, 0.0},
                               std::pair{periodX, periodY}, std::pair{0.0, periodY}}) {
        outline.push_back({x * c - y * s, x * s + y * c});
    }
    return outline;
}

PreviewContent BondPreviewContent(const BondInput& input, PatternStyle style) {
    PreviewContent content;
    content.fileName = input.name;
    content.patternLines = GenerateBond(input, style);
    content.outline = BondRepeatOutline(input);
    return content;
}

}  // namespace murvex::bonds
