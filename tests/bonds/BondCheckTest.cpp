// Every bond file, saved under its own pattern name, passes the check for CAD programs.
#include <gtest/gtest.h>

#include <string>

#include "BondGenerator.h"
#include "PatternCheck.h"
#include "PatternFile.h"

namespace murvex::bonds {
namespace {

TEST(BondCheck, NoWarningForAnyBondSavedUnderItsName) {
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
                const std::string text = JoinCrLf(GenerateBond(
                    {bond, s.length, s.lengthJoint, s.height, s.heightJoint, rotation, name}));
                for (const PatternWarning& w : CheckPatternText(text, name + ".pat"))
                    ADD_FAILURE() << "line " << w.line << ": " << CheckCodeName(w.code) << ": "
                                  << w.message;
            }
        }
    }
}

}  // namespace
}  // namespace murvex::bonds
