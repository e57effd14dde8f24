// The tab "Vrij figuur" of the main window.
#include <QTabWidget>

#include "fMain.h"

namespace murvex::app {

void TMainForm::SetupFigureTab() {
    VrijFiguurTabSheet = new QWidget;
    VrijFiguurTabSheet->setObjectName(QStringLiteral("VrijFiguurTabSheet"));
    PageControl1->addTab(VrijFiguurTabSheet, QStringLiteral("Vrij figuur"));
}

}  // namespace murvex::app
