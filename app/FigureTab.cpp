// The tab "Vrij figuur".
#include "FigureTab.h"

#include "fMain.h"

namespace murvex::app {

TFigureTab::TFigureTab(TMainForm& form) : QWidget(&form), form_(form) {
    setObjectName(QStringLiteral("VrijFiguurTabSheet"));
}

}  // namespace murvex::app
