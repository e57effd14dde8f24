// Every bond file, saved under its own pattern name, passes the check for CAD programs when written
// the compatible way; written as specified, its name line lacks a description, and a rotation
// can turn lines past half a turn.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BondGenerator.h"
#include "PatternCheck.h"
#include "PatternFile.h"

namespace murvex::bonds {
namespace {

TEST(BondCheck, NoWarningForAnyCompatibleBondSavedUnderItsName) {
    struct Size {
        double length, lengthJoint, height, heightJoint;
    };
    // The tab's defaults, a small tile and a large format brick.
    const Size sizes[] = {{210, 220, 50, 62.5}, {100, 102, 100, 102}, {490, 500, 90, 100}};
    for (int bond = 0; bond < kBondCount; ++bond) {
        const std::string name(BondNames()[bond]);
        for (const Size& s : sizes) {
            for (const double rotation : {0.0, 30.0, -45.0, 90.0, 123.456}) {
                SCOPED_TRACE(name + " " + std::to_string(s.length) + " rotated " +
                             std::to_string(rotation));
                const BondInput input{bond,          s.length, s.lengthJoint, s.height,
                                      s.heightJoint, rotation, name};
                const std::string text = JoinCrLf(GenerateBond(input, PatternStyle::Compatible));
                for (const PatternWarning& w : CheckPatternText(text, name + ".pat"))
                    ADD_FAILURE() << "line " << w.line << ": " << CheckCodeName(w.code) << ": "
                                  << w.message;
                const std::vector<PatternWarning> specified =
                    CheckPatternText(JoinCrLf(GenerateBond(input)), name + ".pat");
                ASSERT_FALSE(specified.empty());
                EXPECT_EQ(specified[0].code, CheckCode::NoDescription);
                for (std::size_t i = 1; i < specified.size(); ++i)
                    EXPECT_EQ(specified[i].code, CheckCode::AngleHalfTurnOrMore);
            }
        }
    }
}

}  // namespace
}  // namespace murvex::bonds
