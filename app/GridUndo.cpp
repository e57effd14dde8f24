// Undo and redo for one tab whose state lives in its grid: the keys and the typed texts.
#include "GridUndo.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QKeySequence>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QTableView>
#include <QTextEdit>

namespace murvex::app {

namespace {

QShortcut* TabShortcut(QWidget* tab, QKeyCombination keys) {
    // A window shortcut of a hidden page does not count, so each tab may own the same keys.
    auto* shortcut = new QShortcut(QKeySequence(keys), tab);
    shortcut->setContext(Qt::WindowShortcut);
    shortcut->setAutoRepeat(true);
    return shortcut;
}

}  // namespace

GridUndoKeys::GridUndoKeys(QWidget* tab, QTableView* view, TextGridModel* model)
    : QObject(tab), view_(view), model_(model) {
    UndoShortcut = TabShortcut(tab, Qt::CTRL | Qt::Key_Z);
    RedoShortcut = TabShortcut(tab, Qt::CTRL | Qt::Key_Y);
    RedoShiftShortcut = TabShortcut(tab, Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
    connect(UndoShortcut, &QShortcut::activated, this, [this] {
        if (!EditorTakes(false)) Undo();
    });
    for (QShortcut* redo : {RedoShortcut, RedoShiftShortcut}) {
        connect(redo, &QShortcut::activated, this, [this] {
            if (!EditorTakes(true)) Redo();
        });
    }
    // A typed text: the state as it was just before the model writes it, recorded once written.
    connect(model_, &TextGridModel::CellAboutToChange, this, [this] {
        if (running_ == 0) KeepBeforeCell();
    });
    connect(model_, &QAbstractItemModel::dataChanged, this, [this] { RecordCell(); });
}

bool GridUndoKeys::MayTakeStep() {
    if (Blocked && Blocked()) return false;
    CommitOpenCell(view_);
    return true;
}

void GridUndoKeys::Restored() {
    RefreshGridView(view_, model_);
    emit GridRestored();
}

bool GridUndoKeys::EditorTakes(bool redo) {
    QWidget* focus = QApplication::focusWidget();
    if (!focus) return false;
    if (auto* edit = qobject_cast<QLineEdit*>(focus)) {
        if (redo) {
            edit->redo();
        } else {
            edit->undo();
        }
        return true;
    }
    // Editors whose own undo is not reachable from here keep the keys from the grid anyway.
    return qobject_cast<QAbstractSpinBox*>(focus) || qobject_cast<QTextEdit*>(focus) ||
           qobject_cast<QPlainTextEdit*>(focus);
}

}  // namespace murvex::app
