// What the preview shows of a bond: its pattern file and the outline of one repeat.
#pragma once

#include <vector>

#include "BondGenerator.h"
#include "PreviewContent.h"

namespace murvex::bonds {

// One repeat of the bond: the smallest rectangle whose moves along and across the courses map the
// unturned pattern's written lines onto themselves, turned with the pattern about the origin.
// Empty when the lines have no such repeat within 100,000 units a side (courses that close on
// lengths with a larger common multiple) or draw nothing.
std::vector<ViewPoint> BondRepeatOutline(const BondInput& input);

// The lines GenerateBond writes, the repeat outline and the pattern name as the file name.
PreviewContent BondPreviewContent(const BondInput& input,
                                  PatternStyle style = PatternStyle::Specified);

}  // namespace murvex::bonds
