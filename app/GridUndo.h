// Undo and redo for one tab whose state lives in its grid (or in the figure session): the history
// and the tab's shortcuts.
#pragma once

#include <QObject>
#include <concepts>
#include <functional>
#include <optional>
#include <utility>

#include "FigureSession.h"
#include "GridHistory.h"
#include "TextGrid.h"
#include "TextGridModel.h"

class QShortcut;
class QTableView;
class QWidget;

namespace murvex::app {

// Ctrl+Z takes the tab's last grid command back, Ctrl+Y and Ctrl+Shift+Z do it again. The keys
// belong to the tab page and count only while it is the page shown; while a text editor holds the
// focus (a grid's open cell, a name field) they are that editor's own undo and redo. A text
// typed into a cell is a step by itself. This part does not depend on what a state holds.
class GridUndoKeys : public QObject {
    Q_OBJECT

  public:
    // True when a step was taken back (redone); the grid and its view are refreshed.
    virtual bool Undo() = 0;
    virtual bool Redo() = 0;

    // While true, undo and redo do nothing (a command of the tab is half done).
    std::function<bool()> Blocked;

    QShortcut* UndoShortcut = nullptr;
    QShortcut* RedoShortcut = nullptr;       // Ctrl+Y
    QShortcut* RedoShiftShortcut = nullptr;  // Ctrl+Shift+Z

  signals:
    // After undo or redo put another state into the grid, for what the tab shows beside it.
    void GridRestored();

  protected:
    GridUndoKeys(QWidget* tab, QTableView* view, TextGridModel* model);

    // A typed text: the state just before the model writes it, and the step once it is written.
    virtual void KeepBeforeCell() = 0;
    virtual void RecordCell() = 0;
    // Not blocked, and an open cell editor's text committed as a step of its own.
    bool MayTakeStep();
    // After a state was put back: the view shows it.
    void Restored();

    int running_ = 0;  // texts a command writes through the model belong to its one step

  private:
    // The key went to a text editor's own undo or redo.
    bool EditorTakes(bool redo);

    QTableView* view_;
    TextGridModel* model_;
};

// The history of one tab's states. A tab whose grid means something only with more of its state
// (the figure's tile) keeps a state of its own type: Capture gives it, Put takes it back (and
// shows it). A grid state is the model's grid alone.
template <class State>
class GridUndo : public GridUndoKeys {
  public:
    GridUndo(QWidget* tab, QTableView* view, TextGridModel* model)
        : GridUndoKeys(tab, view, model) {
        if constexpr (std::same_as<State, TextGrid>) {
            Capture = [model] { return model->Grid(); };
            Put = [model](const TextGrid& state) { RestoreGrid(model->Grid(), state); };
        }
    }

    // Runs a command that may change the grid; one step when it changed the state. Commit an
    // open cell editor before, so that its text is a step of its own.
    template <class Command>
    void Run(Command&& command) {
        State before = Capture();
        ++running_;
        std::forward<Command>(command)();
        --running_;
        Record(before);
    }
    // Records the state before a command that has just run (not a step when the same).
    void Record(const State& before) { history_->Record(before, Capture()); }

    bool Undo() override { return MayTakeStep() && Show(history_->Undo(Capture())); }
    bool Redo() override { return MayTakeStep() && Show(history_->Redo(Capture())); }

    StateHistory<State>& History() { return *history_; }
    // Keeps the steps in a history the tab's library owns instead of its own.
    void UseHistory(StateHistory<State>& history) { history_ = &history; }

    std::function<State()> Capture;
    std::function<void(const State&)> Put;

  private:
    bool Show(const std::optional<State>& state) {
        if (!state) return false;
        Put(*state);
        Restored();
        return true;
    }
    void KeepBeforeCell() override { beforeCell_ = Capture(); }
    void RecordCell() override {
        if (!beforeCell_) return;
        const State before = std::move(*beforeCell_);
        beforeCell_.reset();
        Record(before);
    }

    StateHistory<State> ownHistory_;
    StateHistory<State>* history_ = &ownHistory_;
    std::optional<State> beforeCell_;  // the state while a typed text is being written
};

// Ctrl+Z and Ctrl+Y of the figure tab walk the figure session's history; a text typed into a cell
// is a step of the session too. shown runs after a step was put back (true: with another tile).
class FigureUndoKeys final : public GridUndoKeys {
  public:
    FigureUndoKeys(QWidget* tab, QTableView* view, TextGridModel* model,
                   figure::FigureSession& session, std::function<void(bool)> shown)
        : GridUndoKeys(tab, view, model), session_(session), shown_(std::move(shown)) {}

    bool Undo() override { return MayTakeStep() && Show(&figure::FigureSession::Undo); }
    bool Redo() override { return MayTakeStep() && Show(&figure::FigureSession::Redo); }

  private:
    bool Show(bool (figure::FigureSession::*step)(bool*)) {
        bool replaced = false;
        if (!(session_.*step)(&replaced)) return false;
        shown_(replaced);
        Restored();
        return true;
    }
    void KeepBeforeCell() override {
        session_.BeginTypedCell();
        typing_ = true;
    }
    void RecordCell() override {
        if (!typing_) return;
        typing_ = false;
        session_.EndTypedCell();
    }

    figure::FigureSession& session_;
    std::function<void(bool)> shown_;
    bool typing_ = false;  // a typed text is being written
};

}  // namespace murvex::app
