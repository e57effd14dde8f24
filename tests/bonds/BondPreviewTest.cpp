// The bond's preview: one repeat of the wall, turned with the pattern.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "BondPreview.h"

namespace murvex::bonds {
namespace {

TEST(BondRepeatOutline, IsTheWrittenLinesRepeatTurnedWithThePattern) {
    struct Case {
        const char* name;
        int bond;
        double lengthJoint;
        double rotation;
        std::vector<ViewPoint> corners;
        std::optional<double> width = std::nullopt;
    };
    const std::vector<Case> cases = {
        {"half bond, two courses of half a brick offset",
         0,
         220,
         0,
         {{0, 0}, {220, 0}, {220, 125}, {0, 125}}},
        {"turned a quarter left", 0, 220, 90, {{0, 0}, {0, 220}, {-125, 220}, {-125, 0}}},
        {"no length: no repeat to show", 0, 0, 0, {}},
        // Kruisverband's courses close on 220 and 1210 (2420 together); with headers 90 wide
        // on 100, 220 and 1200.
        {"kruis", 2, 220, 0, {{0, 0}, {2420, 0}, {2420, 250}, {0, 250}}},
        {"kruis, headers 90 wide", 2, 220, 0, {{0, 0}, {13200, 0}, {13200, 250}, {0, 250}}, 90},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const BondInput input{c.bond, 210, c.lengthJoint, 50, 62.5, c.rotation, "muur", c.width};
        const std::vector<ViewPoint> outline = BondRepeatOutline(input);
        ASSERT_EQ(outline.size(), c.corners.size());
        for (std::size_t i = 0; i < outline.size(); ++i) {
            EXPECT_NEAR(outline[i].x, c.corners[i].x, 1e-9);
            EXPECT_NEAR(outline[i].y, c.corners[i].y, 1e-9);
        }
    }
}

TEST(BondPreviewContent, ShowsTheFileMaakHatchWritesWithItsRepeat) {
    const BondInput input{3, 210, 220, 50, 62.5, 30, "engels"};
    const PreviewContent content = BondPreviewContent(input);
    EXPECT_EQ(content.patternLines, GenerateBond(input));
    EXPECT_EQ(content.fileName, "engels");
    EXPECT_EQ(content.outline.size(), 4u);
    EXPECT_TRUE(content.problem.empty());
}

}  // namespace
}  // namespace murvex::bonds
