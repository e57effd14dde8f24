// Murvex: the window program.
#include <QApplication>

#include "QtPlatform.h"
#include "StartUp.h"
#include "fMain.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    murvex::app::QtPlatform platform;
    murvex::app::Forms forms = murvex::app::StartUp(platform);
    forms.mainForm->show();
    return application.exec();
}
