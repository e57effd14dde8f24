// The figure tab without a window.
#include "FigureSession.h"

#include <algorithm>
#include <string>

#include "FigureEditing.h"
#include "FigurePreviewContent.h"
#include "NumberText.h"
#include "SaveHatch.h"
#include "Snaps.h"
#include "Text.h"
#include "TypedInput.h"
#include "View.h"

namespace murvex::figure {

FigureSession::FigureSession(Canvas& canvas) : canvas_(&canvas) {
    steps_.Reset(model_);
    saved_.Set(Snapshot(model_));
}

FigureSession::FigureSession() : FigureSession(nowhere_) {}

void FigureSession::Recorded() {
    if (std::optional<FigureChange> step = steps_.Ran(model_)) history_.Record(std::move(*step));
}

bool FigureSession::Put(std::optional<FigureChange> change, bool toRedo, bool* tileReplaced) {
    if (!change) return false;
    FigureChange back = Apply(model_, *canvas_, *change, tileReplaced);
    if (toRedo) {
        history_.PushRedo(std::move(back));
    } else {
        history_.PushUndo(std::move(back));
    }
    // What was put back is no step of its own.
    steps_.CatchUp(model_);
    return true;
}

bool FigureSession::Undo(bool* tileReplaced) {
    if (model_.interaction.drawing) return false;
    steps_.CatchUp(model_);
    return Put(history_.PopUndo(), true, tileReplaced);
}

bool FigureSession::Redo(bool* tileReplaced) {
    if (model_.interaction.drawing) return false;
    steps_.CatchUp(model_);
    return Put(history_.PopRedo(), false, tileReplaced);
}

bool FigureSession::Changed() const {
    // Only a figure can be saved as a list; before the first one there is nothing to lose.
    return model_.HasFigure() && saved_.Changed(Snapshot(model_));
}

void FigureSession::MarkSaved() {
    saved_.Set(Snapshot(model_));
}

bool FigureSession::NewFigure(std::string_view widthText, std::string_view heightText) {
    if (model_.interaction.drawing) return false;
    const bool hadFigure = model_.HasFigure();
    bool made = false;
    Step([&] { made = NewFigureFromTexts(model_, *canvas_, widthText, heightText); });
    if (!made) return false;
    // Before the first figure there is nothing to go back to.
    if (!hadFigure) history_.Clear();
    MarkSaved();
    return true;
}

bool FigureSession::LoadSegments(int width, int height, const std::vector<TileSegment>& segments) {
    if (model_.interaction.drawing) return false;
    const bool hadFigure = model_.HasFigure();
    bool made = false;
    Step([&] { made = FillTile(model_, *canvas_, width, height, segments); });
    if (made && !hadFigure) history_.Clear();
    return made;
}

std::optional<ListReadResult> FigureSession::OpenList(Platform& platform, const std::string& path,
                                                      WindowHandle appWindow,
                                                      PatternHeader& header) {
    std::optional<ListReadResult> result;
    const bool hadFigure = model_.HasFigure();
    // What was read before a failure stays, as one step.
    Step([&] {
        RunCommand(platform, [&] {
            result = OpenFigureListFile(platform, path, appWindow, model_, *canvas_, header);
        });
    });
    if (!hadFigure && model_.HasFigure()) history_.Clear();
    if (result && result->status == ListReadStatus::Ok) MarkSaved();
    return result;
}

bool FigureSession::SaveList(Platform& platform, FileDialog& dialog, WindowHandle appWindow,
                             const PatternHeader& header) {
    bool saved = false;
    RunCommand(platform,
               [&] { saved = SaveFigureList(platform, dialog, appWindow, model_, header); });
    if (saved) MarkSaved();
    return saved;
}

ListReadResult FigureSession::ReadListLines(const LineList& lines, PatternHeader& header) {
    const bool hadFigure = model_.HasFigure();
    ListReadResult result;
    Step([&] { result = ReadFigureListLines(lines, model_, *canvas_, header); });
    if (!hadFigure && model_.HasFigure()) history_.Clear();
    return result;
}

std::optional<ConversionSettings> FigureSession::ConversionChoice(
    int accuracyIndex, std::string_view deviationText) const {
    const Accuracy accuracy = AccuracyFromIndex(accuracyIndex);
    if (accuracy != Accuracy::OpMaat) return ConversionSettings(accuracy);
    const std::optional<long double> deviation =
        ParseMaxDeviation({model_.TileWidth(), model_.TileHeight()}, deviationText);
    if (!deviation) return std::nullopt;
    return ConversionSettings(accuracy, *deviation);
}

FigureHatch FigureSession::MakeHatch(const PatternHeader& header,
                                     const ConversionSettings& settings, Platform* platform,
                                     PatternStyle style) const {
    return FigureHatchLines({model_.TileWidth(), model_.TileHeight()}, model_.grid, header,
                            settings, platform, style);
}

PreviewContent FigureSession::Preview(const PatternHeader& header, int accuracyIndex,
                                      std::string_view deviationText, PatternStyle style) const {
    const std::optional<ConversionSettings> choice = ConversionChoice(accuracyIndex, deviationText);
    if (!model_.HasFigure() || !choice) {
        PreviewContent content;
        content.fileName = header.name;
        content.problem =
            model_.HasFigure() ? kInvalidValueText : "Nog geen figuur: begin met \"Nieuw\"";
        return content;
    }
    return FigurePreviewContent({model_.TileWidth(), model_.TileHeight()}, model_.grid, header,
                                *choice, style);
}

void FigureSession::AddRow() {
    Step([&] { AddCurrentSegmentRow(model_, *canvas_); });
}

void FigureSession::DeleteSelected() {
    Step([&] { DeleteSelection(model_, *canvas_); });
}

void FigureSession::EnterRow() {
    Step([&] { DrawEnteredRow(model_, *canvas_); });
}

void FigureSession::SelectRow(int row) {
    // Drawing the row clips it when it leaves the tile.
    Step([&] { ShowSelectedRow(model_, *canvas_, row); });
}

Reaction FigureSession::MouseMove(Pixel p) {
    return figure::MouseMove(model_, *canvas_, p);
}

Reaction FigureSession::Click(Pixel p) {
    Reaction r;
    Step([&] { r = figure::Click(model_, *canvas_, p); });
    return r;
}

Reaction FigureSession::Press(Pixel p) {
    return figure::Press(model_, *canvas_, p);
}

Reaction FigureSession::Release(Pixel p) {
    Reaction r;
    // A dragged end point is one step.
    Step([&] { r = figure::Release(model_, *canvas_, p); });
    return r;
}

Reaction FigureSession::KeyDown(Key key, bool shift, KeyFocus focus) {
    const Reaction r = figure::KeyDown(model_, *canvas_, key, shift, focus);
    steps_.ForgetAbandonedSegment(model_);
    return r;
}

Reaction FigureSession::TypedText(std::string_view text, char userSeparator) {
    Reaction r;
    // The text comes from the box that a key opened while the segment was open.
    if (model_.interaction.drawing) model_.interaction.typedLengthMode = true;
    Step([&] { r = TypedLengthAccepted(model_, *canvas_, text, userSeparator); });
    return r;
}

Reaction FigureSession::SelectionMode() {
    const Reaction r = EnterSelectionMode(model_, *canvas_);
    steps_.ForgetAbandonedSegment(model_);
    return r;
}

EditResult FigureSession::EditSelection(SelectionEdit edit, long double a, long double b,
                                        bool keepOriginal) {
    EditResult result = EditResult::NothingSelected;
    Step([&] { result = figure::EditSelection(model_, *canvas_, edit, a, b, keepOriginal); });
    return result;
}

std::optional<EditResult> FigureSession::EditSelectionTyped(SelectionEdit edit,
                                                            std::string_view text,
                                                            bool keepOriginal) {
    const bool mirror =
        edit == SelectionEdit::MirrorLeftRight || edit == SelectionEdit::MirrorUpDown;
    if (mirror) {
        const ParseResult line = ParseDecimal(text);
        if (!line.ok) return std::nullopt;
        return EditSelection(edit, line.value, 0, keepOriginal);
    }
    // An offset reads as a point typed relative to the start: two numbers are wanted.
    std::string relative = "@";
    relative += text;
    const std::optional<TypedInput> offset = ParseTypedInput(relative);
    if (!offset || offset->form != TypedInput::Form::Relative) return std::nullopt;
    return EditSelection(edit, offset->a, offset->b, keepOriginal);
}

Reaction FigureSession::DrawingMode() {
    return EnterDrawingMode(model_);
}

Reaction FigureSession::SetSnap(bool on) {
    return figure::SetSnap(model_, on);
}

void FigureSession::SetThickPen(bool thick) {
    Step([&] {
        model_.thickPen = thick;
        RedrawWithSelection(model_, *canvas_);
    });
}

void FigureSession::TypedLengthCancelled() {
    figure::TypedLengthCancelled(model_);
}

void FigureSession::KeyUp(bool shift) {
    figure::KeyUp(model_, shift);
}

Reaction FigureSession::KeyPress(char c, KeyFocus focus, int windowLeft, int windowTop) {
    return figure::KeyPress(model_, c, focus, windowLeft, windowTop);
}

void FigureSession::Redraw() {
    Step([&] { RedrawWithSelection(model_, *canvas_); });
}

void FigureSession::RedrawAfterBackground() {
    Step([&] { RedrawAfterBackgroundChange(model_, *canvas_); });
}

bool FigureSession::Zoom(Pixel p, int delta) {
    return WheelZoom(model_, *canvas_, p, delta);
}

bool FigureSession::Pan(int dx, int dy) {
    return PanBy(model_, *canvas_, dx, dy);
}

void FigureSession::Fit() {
    FitTile(model_, *canvas_);
}

void FigureSession::UseRoom(int extraWidth, int extraHeight) {
    SetExtraCanvasSize(model_, *canvas_, extraWidth, extraHeight);
}

bool FigureSession::SetGridSpacingTyped(std::string_view text) {
    const ParseResult spacing = ParseDecimal(text);
    return spacing.ok && SetGridSpacing(model_, static_cast<double>(spacing.value));
}

}  // namespace murvex::figure
