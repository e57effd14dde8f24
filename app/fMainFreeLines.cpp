// The tab "Vrije lijnarceringen" of the main window.
#include <QTabWidget>

#include "fMain.h"

namespace murvex::app {

void TMainForm::SetupFreeLineTab() {
    TabSheetVrijeLijn = new QWidget;
    TabSheetVrijeLijn->setObjectName(QStringLiteral("TabSheetVrijeLijn"));
    PageControl1->addTab(TabSheetVrijeLijn, QStringLiteral("Vrije lijnarceringen"));
}

}  // namespace murvex::app
