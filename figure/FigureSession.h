// The figure tab without a window: the model, its undo history, the saved mark and the commands
// that change them, each run as the figure's undo steps say. The window builds its controls,
// translates its events into these calls and shows what they return (the Reaction, and the
// model as it now is).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Canvas.h"
#include "Conversion.h"
#include "FigureList.h"
#include "FigureModel.h"
#include "FigureUndo.h"
#include "GridHistory.h"
#include "Interaction.h"
#include "PreviewContent.h"
#include "Selection.h"
#include "UnsavedChanges.h"

namespace murvex::figure {

class FigureSession {
  public:
    // canvas is what the session draws on (the window's picture); it must outlive the session.
    // Without one the session draws nowhere until UseCanvas.
    explicit FigureSession(Canvas& canvas);
    FigureSession();
    FigureSession(const FigureSession&) = delete;
    FigureSession& operator=(const FigureSession&) = delete;
    void UseCanvas(Canvas& canvas) { canvas_ = &canvas; }

    FigureModel& Model() { return model_; }
    const FigureModel& Model() const { return model_; }
    Canvas& TheCanvas() { return *canvas_; }
    FigureHistory& History() { return history_; }
    const FigureHistory& History() const { return history_; }

    // Runs a command that may change the figure: one undo step when it changed grid or tile,
    // except that a drawn segment is one step from its first point to its second.
    template <class Command>
    void Step(Command&& command) {
        steps_.CatchUp(model_);
        std::forward<Command>(command)();
        Recorded();
    }
    // A text typed into a cell of the grid's view: before the view writes it, and after.
    void BeginTypedCell() { steps_.CatchUp(model_); }
    void EndTypedCell() { Recorded(); }
    // Ctrl+Z and Ctrl+Y; nothing while a segment is open. True when a state was put back;
    // tileReplaced tells whether it came with another tile (the picture under it goes).
    bool Undo(bool* tileReplaced = nullptr);
    bool Redo(bool* tileReplaced = nullptr);

    // Changes since the figure was last saved, opened or made new (none before the first).
    bool Changed() const;
    void MarkSaved();

    // "Nieuw" after OK: a tile of the typed size (false: refused, nothing changed). The first
    // figure starts the history; the new figure counts as saved.
    bool NewFigure(std::string_view widthText, std::string_view heightText);
    // A figure made elsewhere (a drawing, a pattern) into a new tile of width x height as one
    // step: the rows hold the segments as Fmt text, drawn and clipped as typed rows are. False
    // (nothing changed) when the tile is refused.
    bool LoadSegments(int width, int height, const std::vector<TileSegment>& segments);

    // A figure list read into the figure (message boxes owned by appWindow; units, type and name
    // into header) as one undo step; a list that set up the first figure starts the history, and
    // one read whole counts as saved. Nothing when the reading ended in the error box.
    std::optional<ListReadResult> OpenList(Platform& platform, const std::string& path,
                                           WindowHandle appWindow, PatternHeader& header);
    // The figure list's save flow; when written, the figure counts as saved.
    bool SaveList(Platform& platform, FileDialog& dialog, WindowHandle appWindow,
                  const PatternHeader& header);

    // The lines of a figure list (a pattern opened as a figure) as one undo step, the header's
    // texts into header; read into the first figure it starts the history.
    ListReadResult ReadListLines(const LineList& lines, PatternHeader& header);

    // The accuracy item chosen (its index in the combo box) with the text of "Max. afwijking",
    // which counts only for "Op maat"; nothing while "Op maat" has no usable deviation for the
    // tile.
    std::optional<ConversionSettings> ConversionChoice(int accuracyIndex,
                                                       std::string_view deviationText) const;
    // What "Maak hatch" writes for the figure as it now is.
    FigureHatch MakeHatch(const PatternHeader& header, const ConversionSettings& settings,
                          Platform* platform, PatternStyle style) const;
    // What the preview shows: the file, its rows over the tile and the report, or the problem
    // (no figure yet, no usable deviation).
    PreviewContent Preview(const PatternHeader& header, int accuracyIndex,
                           std::string_view deviationText, PatternStyle style) const;

    // The grid's commands.
    void AddRow();
    void DeleteSelected();
    void EnterRow();
    void SelectRow(int row);

    // The canvas's events (see Interaction.h).
    Reaction MouseMove(Pixel p);
    Reaction Click(Pixel p);
    Reaction Press(Pixel p);
    Reaction Release(Pixel p);
    Reaction KeyDown(Key key, bool shift, KeyFocus focus);
    Reaction TypedText(std::string_view text, char userSeparator);
    Reaction SelectionMode();
    EditResult EditSelection(SelectionEdit edit, long double a, long double b, bool keepOriginal);
    // The same with the value as typed into the edit's dialog: an offset "dx,dy" (as "@dx,dy" is
    // typed, so "dx;dy" with decimal commas) or the mirror line's x or y. Nothing for a text that
    // is none of these (nothing changed).
    std::optional<EditResult> EditSelectionTyped(SelectionEdit edit, std::string_view text,
                                                 bool keepOriginal);
    // The switches: the drawing mode, "Snap On", the thick screen pen; the text the typed length
    // box held when it was cancelled; a key coming up (shift: Shift still held); a typed
    // character (the box opens at the window's left and top).
    Reaction DrawingMode();
    Reaction SetSnap(bool on);
    void SetThickPen(bool thick);
    void TypedLengthCancelled();
    void KeyUp(bool shift);
    Reaction KeyPress(char c, KeyFocus focus, int windowLeft, int windowTop);
    // "Refresch", and a click on the grid after a background picture came: the canvas drawn
    // again from the grid (as a step: a redraw clips rows).
    void Redraw();
    void RedrawAfterBackground();
    // The view: a wheel step about p, a pan by pixels, "Passend", the canvas's extra room. True
    // when the view changed.
    bool Zoom(Pixel p, int delta);
    bool Pan(int dx, int dy);
    void Fit();
    void UseRoom(int extraWidth, int extraHeight);

    // "Rasterafstand...": the typed spacing; false (nothing changed) when refused.
    bool SetGridSpacingTyped(std::string_view text);

  private:
    // The step the last command made, if any, into the history.
    void Recorded();
    bool Put(std::optional<FigureChange> change, bool toRedo, bool* tileReplaced);

    FigureModel model_;
    NullCanvas nowhere_;
    Canvas* canvas_;
    FigureSteps steps_;
    FigureHistory history_;
    SavedStateMark<FigureSnapshot> saved_;
};

}  // namespace murvex::figure
