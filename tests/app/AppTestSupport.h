// A main window on a scripted platform, shown offscreen, for the window tests.
#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "BondTab.h"
#include "FakePlatform.h"
#include "FreeLineTab.h"
#include "fMain.h"

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

// Runs check on the modal window once it is open, then closes it through close; fails the test
// (and closes the window) when no modal window opened.
void WhenModalOpens(const std::function<void(QWidget*)>& check);

}  // namespace murvex::test
