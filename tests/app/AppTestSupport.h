// A main window on a scripted platform, shown offscreen, for the window tests.
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

#include "BondTab.h"
#include "FakePlatform.h"
#include "FreeLineTab.h"
#include "MainForm.h"

namespace murvex::test {

struct ShownMainForm {
    FakePlatform platform;
    std::unique_ptr<app::TMainForm> form;

    ShownMainForm();
    ~ShownMainForm();
    template <class T>
    T* Find(const QString& name) const {
        return form->findChild<T*>(name);
    }
};

// Sets (or, with nullptr, removes) an environment variable until the end of the scope.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    const char* name_;
    bool wasSet_;
    QByteArray old_;
};

// Runs check on the modal window once it is open, then closes it through close; fails the test
// (and closes the window) when no modal window opened.
void WhenModalOpens(const std::function<void(QWidget*)>& check);

}  // namespace murvex::test
