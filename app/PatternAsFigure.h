// "Als figuur openen": a pattern's rectangular repeat and what it draws there into the figure
// tab.
#pragma once

#include <string_view>

namespace murvex::app {

class TabHost;

inline constexpr const char* kAsFigureTitle = "Als figuur openen";

// Finds the repeat of the text's first pattern and fills the figure tab with its tile (one undo
// step, after the unsaved changes question there), the hatch named after the pattern and its
// units and type kept; tells the user why when the pattern has no rectangular repeat of whole
// units.
void OpenPatternAsFigure(TabHost& form, std::string_view patternText);

}  // namespace murvex::app
