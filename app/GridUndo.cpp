// Undo and redo for one tab whose grid is its only store.
#include "GridUndo.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QKeySequence>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QTableView>
#include <QTextEdit>
#include <optional>

#include "GridHistory.h"
#include "TextGridModel.h"

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

GridUndo::GridUndo(QWidget* tab, QTableView* view, TextGridModel* model)
    : QObject(tab), view_(view), model_(model), history_(std::make_unique<GridHistory>()) {
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
    // A typed text: the grid as it was just before the model writes it, recorded once written.
    connect(model_, &TextGridModel::CellAboutToChange, this, [this] {
        if (running_ == 0) beforeCell_ = std::make_unique<TextGrid>(State());
    });
    connect(model_, &QAbstractItemModel::dataChanged, this, [this] {
        if (!beforeCell_) return;
        const std::unique_ptr<TextGrid> before = std::move(beforeCell_);
        Record(*before);
    });
}

GridUndo::~GridUndo() = default;

TextGrid GridUndo::State() const {
    return Capture ? Capture() : model_->Grid();
}

void GridUndo::Record(const TextGrid& before) {
    history_->Record(before, State());
}

bool GridUndo::Undo() {
    if (Blocked && Blocked()) return false;
    CommitOpenCell(view_);
    std::optional<TextGrid> state = history_->Undo(State());
    if (!state) return false;
    Restore(*state);
    return true;
}

bool GridUndo::Redo() {
    if (Blocked && Blocked()) return false;
    CommitOpenCell(view_);
    std::optional<TextGrid> state = history_->Redo(State());
    if (!state) return false;
    Restore(*state);
    return true;
}

void GridUndo::Restore(const TextGrid& state) {
    if (Put) {
        Put(state);
    } else {
        RestoreGrid(model_->Grid(), state);
    }
    RefreshGridView(view_, model_);
    emit GridRestored();
}

bool GridUndo::EditorTakes(bool redo) {
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
