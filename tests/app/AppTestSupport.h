// A main window on a scripted platform, shown offscreen, for the window tests.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <QTableView>
#include <functional>
#include <memory>

#include "BondTab.h"
#include "FakePlatform.h"
#include "FreeLineTab.h"
#include "MainForm.h"
#include "TextGridModel.h"

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

// The control of that object name inside root (a tab, the window); fails the test when there is
// none, as the tabs keep their controls to themselves.
template <class T>
T* Control(const QObject& root, const char* name) {
    T* found = root.findChild<T*>(QString::fromLatin1(name));
    if (!found) ADD_FAILURE() << "no control named " << name;
    return found;
}

// The cells behind a grid view of that object name.
inline app::TextGridModel* GridModelOf(const QObject& root, const char* view) {
    return static_cast<app::TextGridModel*>(Control<QTableView>(root, view)->model());
}

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
