// The tab "Vrije lijnarceringen": pattern lines typed into a grid, written and read back.
#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "GridHistory.h"
#include "PreviewContent.h"
#include "UnsavedChanges.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QToolButton;

namespace murvex::app {

template <class State>
class GridUndo;
class TabHost;
class TextGridModel;

class TFreeLineTab : public QWidget {
    Q_OBJECT

  public:
    // The window lends the platform, the shared dialogs, its action list and the comma rule.
    explicit TFreeLineTab(TabHost& form);

    // The grid's undo history, as Ctrl+Z and Ctrl+Y walk it.
    const StateHistory<TextGrid>& UndoHistory() const;

    void VrijLijnPlusClick();
    void VrijLijnMinClick();
    void VrijeLijnMaakHatchClick();
    void VrijeLijnHelpClick();
    // The open command: the unsaved changes question, the open dialog, then OpenPatternFile.
    void OpenHatchActionExecute();
    // Reads a pattern file (8-bit name, as the open dialog gives it) into the tab, as after
    // choosing it in the open dialog; a file that cannot be read gets the read error box.
    void OpenPatternFile(const std::string& path);
    // Before the grid's changes since it was last saved, opened or made are thrown away: asks
    // whether to save them first. True when the caller may go on.
    bool MayDropChanges();
    // What "Maak Hatch" would write now, for the preview window (the cells as committed).
    PreviewContent PreviewNow() const;

  private:
    QToolButton* VrijLijnPlus = nullptr;
    QToolButton* VrijLijnMin = nullptr;
    QToolButton* VrijeLijnHelp = nullptr;
    QToolButton* VrijeLijnOpenHatch = nullptr;
    QTableView* LijnGrid = nullptr;
    // The cells of LijnGrid: the model holds the grid, the only store of the texts.
    TextGridModel* LijnGridModel = nullptr;
    QComboBox* VrijeLijnType = nullptr;
    QComboBox* VrijeLijnUnits = nullptr;
    QLabel* LabelNameHatchLine = nullptr;
    QLineEdit* NaamVrijeLijnArcering = nullptr;
    // What follows the name after a comma ("*NAME, description"), read and written with it.
    QLabel* LabelBeschrijving = nullptr;
    QLineEdit* BeschrijvingVrijeLijn = nullptr;
    QPushButton* VrijeLijnMaakHatch = nullptr;
    // Opens the preview window, beside "Maak Hatch".
    QPushButton* VoorbeeldButton = nullptr;
    QAction* OpenHatchAction = nullptr;
    // Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z over LijnGrid: typed cells, rows added or deleted, files
    // opened.
    GridUndo<TextGrid>* LijnGridUndo = nullptr;

    // "Maak Hatch"'s save flow; true when the file was written.
    bool SavePattern();
    // "Uit bibliotheek openen...": a library file, then one of its patterns, into the grid.
    void OpenFromLibraryExecute();
    // "Aan bibliotheek toevoegen...": what "Maak Hatch" writes, into a library file.
    void AddToLibraryExecute();
    // "Als figuur openen": the pattern in the grid into the figure tab.
    void OpenAsFigureExecute();
    // Fills the grid and the header controls through read, as opening a file does.
    void OpenPattern(const std::function<bool(TextGrid&, PatternHeader&)>& read);

    QToolButton* libraryOpenButton_ = nullptr;
    QToolButton* libraryAddButton_ = nullptr;

    TabHost& form_;  // the main window, as the tabs see it
    SavedMark saved_;
    // "Compatibel opslaan": "Maak Hatch" and the preview write the compatible way.
    QCheckBox* CompatibelOpslaan = nullptr;
};

}  // namespace murvex::app
