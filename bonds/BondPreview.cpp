// The bond's preview content.
#include "BondPreview.h"

#include <limits>
#include <utility>

#include "NumberText.h"
#include "PatternRepeat.h"

namespace murvex::bonds {

std::vector<ViewPoint> BondRepeatOutline(const BondInput& input) {
    // The repeat of the lines as the file writes them, found before the rotation turns them off
    // the axes; nothing is drawn, so the tile's segment count does not matter.
    BondInput upright = input;
    upright.rotation = 0;
    RepeatBounds bounds;
    bounds.maxSegments = std::numeric_limits<double>::infinity();
    const PatternRepeat repeat =
        FindPatternRepeat(ParsePatternLines(GenerateBond(upright)), bounds);
    if (repeat.status != RepeatStatus::Found) return {};
    const auto [c, s] = CosSinDegrees(input.rotation);
    std::vector<ViewPoint> outline;
    for (const auto& [x, y] :
         {std::pair{0.0, 0.0}, std::pair{repeat.width, 0.0}, std::pair{repeat.width, repeat.height},
          std::pair{0.0, repeat.height}}) {
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
