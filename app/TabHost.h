// What a tab asks of the main window: the tabs depend on this, not on the window's class.
#pragma once

#include "Platform.h"
#include "Text.h"

class QTabWidget;
class QWidget;

namespace murvex::app {

class TErrorForm;
class TInputRubberForm;
class TNewVrijHatch;

class TabHost {
  public:
    virtual Platform& ThePlatform() = 0;
    // The handle that owns the window's message boxes.
    virtual WindowHandle Handle() = 0;
    // The window itself: the parent of the tabs and their dialogs, the owner of their actions.
    virtual QWidget& Window() = 0;
    // The tab control holding the tabs; nullptr while the window is being built.
    virtual QTabWidget* Pages() = 0;
    // The save dialog of pattern files and the library file dialog, shared by the tabs; each
    // remembers the name chosen last.
    virtual FileDialog& HatchSaveDialog() = 0;
    virtual FileDialog& LibraryFileDialog() = 0;
    // The open dialog of pattern files.
    virtual FileDialog& PatternOpenDialog() = 0;
    // The forms made once and reused: the new figure dialog, the error window and the typed
    // length box.
    virtual TNewVrijHatch& NewFigureDialog() = 0;
    virtual TErrorForm& ErrorWindow() = 0;
    virtual TInputRubberForm& TypedLengthBox() = 0;
    // A typed comma becomes a point while the widget itself has the keyboard focus.
    virtual void AddCommaToPointWidget(QWidget* widget) = 0;
    // Opens the window's preview of the tab shown.
    virtual void ShowPreview() = 0;
    // A figure list's lines (a pattern opened as a figure) into the figure tab, after its unsaved
    // changes question; false when the user kept the figure.
    virtual bool OpenFigureListLines(const LineList& lines) = 0;

  protected:
    ~TabHost() = default;
};

}  // namespace murvex::app
