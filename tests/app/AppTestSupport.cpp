// A main window on a scripted platform, shown offscreen, for the window tests.
#include "AppTestSupport.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QTest>
#include <QTimer>

namespace murvex::test {

ShownMainForm::ShownMainForm() : form(std::make_unique<app::TMainForm>(platform)) {
    form->show();
    QApplication::setActiveWindow(form.get());
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
}

ShownMainForm::~ShownMainForm() = default;

void WhenModalOpens(const std::function<void(QWidget*)>& check) {
    auto attempts = std::make_shared<int>(0);
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [attempts, poll, check] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal) {
            check(modal);
            modal->close();
            return;
        }
        if (++*attempts > 200) {
            ADD_FAILURE() << "no modal window opened";
            return;
        }
        QTimer::singleShot(10, *poll);
    };
    QTimer::singleShot(0, *poll);
}

}  // namespace murvex::test
