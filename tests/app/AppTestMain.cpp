// Runs the window tests inside one QApplication on the offscreen platform.
#include <gtest/gtest.h>
#include <QApplication>

#include "Choices.h"
#include "StartUp.h"

int main(int argc, char** argv) {
    // Never a real window from a test, whatever the environment says.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    murvex::app::KeepNoSettings();  // the real file dialogs in the tests leave no settings file
    murvex::app::SetChoicesFile(QString());  // nor do the remembered choices
    murvex::app::InitResources();
    murvex::app::RegisterDesignFonts();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
