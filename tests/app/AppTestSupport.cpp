// A main window on a scripted platform, shown offscreen, for the window tests.
#include "AppTestSupport.h"

#include "Choices.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QTest>
#include <QTimer>

namespace murvex::test {

// Each window starts from the choices of a first run.
ShownMainForm::ShownMainForm()
    : form((app::SetChoicesFile(QString()), std::make_unique<app::TMainForm>(platform))) {
    form->show();
    QApplication::setActiveWindow(form.get());
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
}

ShownMainForm::~ShownMainForm() = default;

ScopedEnv::ScopedEnv(const char* name, const char* value)
    : name_(name), wasSet_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
    if (value) {
        qputenv(name, value);
    } else {
        qunsetenv(name);
    }
}

ScopedEnv::~ScopedEnv() {
    if (wasSet_) {
        qputenv(name_, old_);
    } else {
        qunsetenv(name_);
    }
}

namespace {

// Polls every 10 ms until a modal window is open; each timer owns its own copy of the check,
// so nothing is left behind when polling ends.
void PollForModal(const std::function<void(QWidget*)>& check, int attempts) {
    if (QWidget* modal = QApplication::activeModalWidget()) {
        check(modal);
        modal->close();
        return;
    }
    if (attempts > 200) {
        ADD_FAILURE() << "no modal window opened";
        return;
    }
    QTimer::singleShot(10, [check, attempts] { PollForModal(check, attempts + 1); });
}

}  // namespace

void WhenModalOpens(const std::function<void(QWidget*)>& check) {
    QTimer::singleShot(0, [check] { PollForModal(check, 0); });
}

}  // namespace murvex::test
