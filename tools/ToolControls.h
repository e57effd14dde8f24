// The tabs keep their controls to themselves: the tools find them by object name, as a user
// finds them by their place.
#pragma once

#include <QObject>
#include <QString>
#include <QTableView>
#include <cstdlib>
#include <iostream>

#include "TextGridModel.h"

namespace murvex::tools {

// The control of that object name inside root; a missing one stops the tool, since every shot
// after it would show the wrong thing.
template <class T>
T* Control(const QObject& root, const char* name) {
    T* found = root.findChild<T*>(QString::fromLatin1(name));
    if (!found) {
        std::cerr << "murvex tools: no control named " << name << "\n";
        std::abort();
    }
    return found;
}

// The cells behind a grid view of that object name.
inline app::TextGridModel* GridModelOf(const QObject& root, const char* view) {
    return static_cast<app::TextGridModel*>(Control<QTableView>(root, view)->model());
}

}  // namespace murvex::tools
