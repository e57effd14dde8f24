// What the preview shows of a bond: its pattern file and the outline of one repeat.
#pragma once

#include <vector>

#include "BondGenerator.h"
#include "PreviewContent.h"

namespace murvex::bonds {

// One repeat of the bond: the rectangle of the largest periods of its bricks along and across
// the courses, turned with the pattern about the origin. Empty when a period is not a positive
// finite number.
std::vector<ViewPoint> BondRepeatOutline(const BondInput& input);

// The lines GenerateBond writes, the repeat outline and the pattern name as the file name.
PreviewContent BondPreviewContent(const BondInput& input,
                                  PatternStyle style = PatternStyle::Specified);

}  // namespace murvex::bonds
