// The free figure tab's part in the preview window: the pattern "Maak hatch" would write, the
// drawn segments over it in colour, and the conversion report beside it.
#pragma once

#include "PreviewContent.h"

class QPushButton;

namespace murvex::app {

class TFigureTab;
class TMainForm;

// What "Maak hatch" would write now (no busy cursor, no error window), the figure's rows as an
// overlay with the failed ones marked, the tile as the outline and the report as the table.
PreviewContent FigurePreviewNow(TFigureTab& tab);

// Registers the tab's preview source, following its grid, accuracy, units, type and name, with
// a report row choosing its grid row; returns the tab's "Voorbeeld" button, which opens the
// window's preview. Called once the tab's controls exist.
QPushButton* AddFigurePreview(TFigureTab& tab, TMainForm& form);

}  // namespace murvex::app
