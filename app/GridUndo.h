// Undo and redo for one tab whose grid is its only store: the history and the tab's shortcuts.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <utility>

#include "TextGrid.h"

class QShortcut;
class QTableView;
class QWidget;

namespace murvex {
class GridHistory;
}

namespace murvex::app {

class TextGridModel;

// Ctrl+Z takes the tab's last grid command back, Ctrl+Y and Ctrl+Shift+Z do it again. The keys
// belong to the tab page and count only while it is the page shown; while a text editor holds the
// focus (a grid's open cell, a name field) they are that editor's own undo and redo. A text
// typed into a cell is a step by itself; any other command is one step when run through Run.
class GridUndo : public QObject {
    Q_OBJECT

  public:
    GridUndo(QWidget* tab, QTableView* view, TextGridModel* model);
    ~GridUndo() override;

    // Runs a command that may change the grid; one step when it changed any text or row. Commit
    // an open cell editor before, so that its text is a step of its own.
    template <class Command>
    void Run(Command&& command) {
        TextGrid before = State();
        ++running_;  // texts the command writes through the model belong to its one step
        std::forward<Command>(command)();
        --running_;
        Record(before);
    }
    // Records the grid's state before a command that has just run (not a step when equal).
    void Record(const TextGrid& before);

    // True when a step was taken back (redone); the grid and its view are refreshed.
    bool Undo();
    bool Redo();

    GridHistory& History() { return *history_; }

    // A tab whose grid means something only with more of its state (the figure's tile) keeps
    // that in the snapshot too: Capture gives the grid with it, Put takes such a snapshot back
    // (and shows it). Unset, a step is the grid alone.
    std::function<TextGrid()> Capture;
    std::function<void(const TextGrid&)> Put;
    // While true, undo and redo do nothing (a command of the tab is half done).
    std::function<bool()> Blocked;

    QShortcut* UndoShortcut = nullptr;
    QShortcut* RedoShortcut = nullptr;       // Ctrl+Y
    QShortcut* RedoShiftShortcut = nullptr;  // Ctrl+Shift+Z

  signals:
    // After undo or redo put another state into the grid, for what the tab shows beside it.
    void GridRestored();

  private:
    TextGrid State() const;
    void Restore(const TextGrid& state);
    // The key went to a text editor's own undo or redo.
    bool EditorTakes(bool redo);

    QTableView* view_;
    TextGridModel* model_;
    std::unique_ptr<GridHistory> history_;
    std::unique_ptr<TextGrid> beforeCell_;  // the grid while a typed text is being written
    int running_ = 0;
};

}  // namespace murvex::app
