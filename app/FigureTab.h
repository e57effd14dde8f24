// The tab "Vrij figuur": a figure of segments in a tile, drawn and typed, as a pattern file.
#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "CompatiblePattern.h"
#include "Conversion.h"
#include "FigureModel.h"
#include "FigureSession.h"
#include "FigureUndo.h"
#include "GridHistory.h"
#include "Platform.h"
#include "PreviewContent.h"
#include "Text.h"
#include "UnsavedChanges.h"

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableView;
class QToolButton;

namespace murvex::figure {
struct Reaction;
struct TypedLengthBox;
enum class KeyFocus;
}  // namespace murvex::figure

namespace murvex::app {

class FigureCanvas;
class GridUndoKeys;
class TabHost;
class TextGridModel;

// The handlers only translate: the figure library changes the model (grid, canvas, interaction
// state), and the tab then shows the grid, the canvas and the status text as they now are.
class TFigureTab : public QWidget {
    Q_OBJECT

  public:
    explicit TFigureTab(TabHost& host);
    ~TFigureTab() override;

    figure::FigureModel& Model() { return model_; }
    // The figure without the window: undo steps, saved mark and the commands. Segments made
    // elsewhere come in through its LoadSegments (one undo step); call ShowFigure afterwards.
    figure::FigureSession& Session() { return session_; }
    void ShowFigure();

    // The grid's undo history (a step keeps the tile too), as Ctrl+Z and Ctrl+Y walk it.
    const figure::FigureHistory& UndoHistory() const;
    // What "Maak hatch" would write now (no busy cursor, no error window), the figure's rows as
    // an overlay with the failed ones marked, the tile as the outline and the report as the
    // table.
    PreviewContent PreviewNow() const;
    // The accuracy chosen, with "Max. afwijking" for "Op maat"; nothing while "Op maat" is
    // chosen and the edit holds no usable deviation for the tile (MaxDeviationValid).
    std::optional<figure::ConversionSettings> ConversionChoice() const;

    // The figure list and picture dialogs; each remembers the name chosen last.
    FileDialog SaveDialogVrijFiguur;
    FileDialog OpenDialogVrijFiguur;
    FileDialog OpenPictureDialog;

    void NieuwFiguurClick();
    void AddfiguurLijnExecute();
    void DeleteFiguurLijnActionExecute();
    void FiguurGridKeyDown();  // Enter
    void FiguurGridSelectCell(int row);
    void FiguurGridClick();
    void DikkePenClick();
    void RefreschButtonClick();
    void OpenPictureActionExecute();
    void DeleteBackGroundImageActionExecute();
    void HelpVrijeFiguurActionExecute();
    void SafeVrijFiguurlistExecute();
    // The open command: the unsaved changes question, its own question and the open dialog, then
    // OpenFigureListFile.
    void OpenVrijfiguurListExecute();
    // Reads a figure list (8-bit name, as the open dialog gives it) into the tab, as after
    // choosing it in the open dialog, with that command's message boxes.
    void OpenFigureListFile(const std::string& path);
    // Fills the tab from the lines of a figure list (a pattern opened as a figure), after the
    // unsaved changes question, as one undo step; the tab is shown. False when the user kept the
    // figure.
    bool OpenFigureListLines(const LineList& lines);
    // Reads a DXF drawing, lets the user choose in the import dialog and fills tile and grid as
    // one undo step.
    void OpenDxfDrawing(const std::string& path);
    void ButtonCreateHatchClick();
    void HatchImageMouseMove(QPoint pixel);
    void HatchImageClick(QPoint pixel);
    void SpeedButtonSelectieModeClick();
    void SpeedButtonTekenmodeClick();
    void CheckBoxSnapClick();
    // Before the figure's changes since it was last saved, opened or made new are thrown away:
    // asks whether to save them first. True when the caller may go on.
    bool MayDropChanges();
    // How "Maak hatch" and the preview write the pattern: "Compatibel opslaan".
    PatternStyle SaveStyle() const;

    // The main window's key preview. Each returns true when the key must not reach the focused
    // control.
    bool FormKeyDown(QKeyEvent* event);
    bool FormKeyPress(QKeyEvent* event);
    void FormKeyUp(QKeyEvent* event);
    // Where a key of the main window goes, for the typed-length rule and Escape.
    figure::KeyFocus KeyFocus() const;
    // Delete acts as "Lijn wissen" with the focus on the grid (no cell editor open) or the
    // canvas, while no segment is open.
    bool DeleteKeyDeletesSegment(const QKeyEvent* event) const;

    // The drawing tools beside the specified protocol: zoom and pan, the switchable snaps, polar
    // angles and chain drawing, end point drags and window selection.
    void HatchImageWheel(QPoint pixel, int delta);
    void HatchImagePan(QPoint delta);
    void HatchImagePress(QPoint pixel);
    void HatchImageRelease(QPoint pixel, bool inside);
    void PassendClick();
    void GridSpacingClick();
    // Copy, move or mirror the selection (figure::SelectionEdit as a number) by a typed offset.
    void SelectionEditClick(int edit);
  signals:
    // The accuracy item or "Max. afwijking" changed.
    void ConversionChoiceChanged();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QPushButton* NieuwFiguur = nullptr;
    QLabel* XYPos = nullptr;
    QFrame* DP = nullptr;
    QLabel* BackGroundImage = nullptr;
    FigureCanvas* HatchImage = nullptr;
    QTableView* FiguurGrid = nullptr;
    // The cells of FiguurGrid: a view of the figure model's grid, the only store of the texts.
    TextGridModel* FiguurGridModel = nullptr;
    // Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z over the grid's commands; a step keeps the tile too.
    GridUndoKeys* FiguurGridUndo = nullptr;
    QToolButton* SpeedButtonSelectieMode = nullptr;
    QToolButton* SpeedButtonTekenmode = nullptr;
    QCheckBox* CheckBoxSnap = nullptr;
    QPushButton* RefreschButton = nullptr;
    QCheckBox* DikkePen = nullptr;
    QComboBox* VrijeFiguurType = nullptr;
    QComboBox* VrijeFiguurUnits = nullptr;
    QLabel* LabelHatchName = nullptr;
    QLineEdit* NaamEditVrij = nullptr;
    // What follows the name after a comma ("*NAME, description"), read and written with it.
    QLabel* LabelBeschrijvingVrij = nullptr;
    QLineEdit* BeschrijvingEditVrij = nullptr;
    QLabel* LabelNauwkeurigheid = nullptr;
    QComboBox* ComboBoxNaukeurigheid = nullptr;
    QPushButton* ButtonCreateHatch = nullptr;
    // Opens the preview window; the tab's preview source is in FigurePreview.cpp.
    QPushButton* VoorbeeldButton = nullptr;

    // The tab's actions, in the window's action list.
    QAction* AddfiguurLijn = nullptr;
    QAction* DeleteFiguurLijnAction = nullptr;
    QAction* SafeVrijFiguurlist = nullptr;
    QAction* OpenVrijfiguurList = nullptr;
    QAction* OpenPictureAction = nullptr;
    QAction* DeleteBackGroundImageAction = nullptr;
    QAction* HelpVrijeFiguurAction = nullptr;

    // "Max. afwijking": the deviation "Op maat" keeps, in drawing units; usable with that item.
    QLabel* LabelMaxAfwijking = nullptr;
    QLineEdit* MaxAfwijkingEdit = nullptr;
    // "Aan bibliotheek toevoegen...": what "Maak hatch" writes, into a library file.
    void AddToLibraryClick();
    // "Maak hatch"'s lines handed to save (which gives the file's name when it wrote one), then
    // the readers that misread the file and the rows without a solution shown.
    void MakeHatchThen(const std::function<std::optional<std::string>(const LineList&)>& save);
    // At once after writing: which CAD programs misread the file, and the remedy, unless the
    // user asked not to be told again.
    void TellMisreadingReaders(const LineList& lines, const std::string& fileName);
    QToolButton* libraryAddButton_ = nullptr;

    void BuildControls();
    // Registers the tab's preview source, following its grid, accuracy, units, type and name,
    // with a report row choosing its grid row; returns the tab's "Voorbeeld" button. Called once
    // the tab's controls exist.
    QPushButton* AddPreview();
    void Connect();
    // Carries out what an interaction event asks of the window.
    // gridChanged: the grid may have changed and its view is refreshed.
    void Apply(const figure::Reaction& reaction, bool gridChanged = true);
    void ShowTypedLengthBox(const figure::TypedLengthBox& box);
    // After the library changed the model: panel and canvas sizes, the grid view, the canvas.
    void ShowModel();
    void EnableFigureCommands();
    // "Max. afwijking" is usable with "Op maat" only.
    void ShowMaxDeviationState();
    void RemoveBackgroundPicture();
    void MoveGridCurrent(int row);

    TabHost& form_;  // the main window, as the tabs see it
    figure::FigureSession session_;
    figure::FigureModel& model_ = session_.Model();
    // Set while the tab itself moves the grid view's current cell, so that the cell selection
    // handler does not draw the rows a second time.
    bool movingCurrent_ = false;
    // The figure list's save flow; true when the list was written.
    bool SaveFigureListNow();
    QCheckBox* CompatibelOpslaan = nullptr;

    // Drawing tools (zoom, snaps, polar angles, chain) and the window's extra room. The snap
    // menu holds the polar angles and the chain switch too.
    void BuildDrawingTools();
    void ShowViewChange(QPoint mouse);
    void LayoutForExtraRoom();
    // The canvas's size for the window's room (the tile refitted when it was fitted).
    void FitCanvasToRoom();
    // The background picture under the canvas as the view shows the tile: at the designed view
    // exactly as loaded, zoomed or moved its visible part scaled along.
    void ShowBackgroundForView(const QRect& area);
    QImage backgroundPicture_;    // as loaded, fitted to the tile at the designed view
    QString backgroundShownFor_;  // the view the picture was last shown for
    QToolButton* PassendButton_ = nullptr;
    QToolButton* SnapsButton_ = nullptr;
    QMenu* SnapsMenu_ = nullptr;
    QMenu* PolarMenu_ = nullptr;
    QMenu* SelectionEditMenu_ = nullptr;  // the canvas's context menu
    // Each control's place at the window's designed size, taken before the window first grows.
    std::vector<std::pair<QWidget*, QRect>> designedPlaces_;
};

}  // namespace murvex::app
