// The main window: title, About and close buttons, the tab control with its three tabs, the
// shared actions and dialogs, and the key preview.
#pragma once

#include <QList>
#include <QWidget>

#include "Platform.h"
#include "TabHost.h"

class QAction;
class QKeyEvent;
class QLabel;
class QPushButton;
class QTabWidget;

namespace murvex::app {

class TBondTab;
class TErrorForm;
class TFigureTab;
class TFreeLineTab;
class TInputRubberForm;
class TNewVrijHatch;

class TMainForm : public QWidget, public TabHost {
    Q_OBJECT

  public:
    explicit TMainForm(Platform& platform, QWidget* parent = nullptr);
    ~TMainForm() override;

    // The handle that owns this window's message boxes.
    WindowHandle Handle() override;
    Platform& ThePlatform() override { return platform_; }

    // What the tabs ask of the window.
    QWidget& Window() override { return *this; }
    QTabWidget* Pages() override { return PageControl1; }
    FileDialog& HatchSaveDialog() override { return SaveDialog; }
    FileDialog& LibraryFileDialog() override { return LibraryDialog; }
    FileDialog& PatternOpenDialog() override { return OpenDialogHatchfile; }
    bool OpenFigureListLines(const LineList& lines) override;
    TNewVrijHatch& NewFigureDialog() override;
    TErrorForm& ErrorWindow() override;
    TInputRubberForm& TypedLengthBox() override;
    void ShowPreview() override;

    // The hidden forms created at start-up, for the commands that show them.
    void AttachForms(TNewVrijHatch* newVrijHatch, TErrorForm* errorForm,
                     TInputRubberForm* inputRubberForm);
    TNewVrijHatch* NewVrijHatch = nullptr;
    TErrorForm* ErrorForm = nullptr;
    TInputRubberForm* InputRubberForm = nullptr;

    // A typed comma becomes a point while one of these controls itself has the keyboard focus.
    void AddCommaToPointWidget(QWidget* widget) override;

    // Controls of the window itself.
    QLabel* Label2 = nullptr;
    QPushButton* AboutButton = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QPushButton* CloseButton = nullptr;
    QWidget* BottomPanel = nullptr;
    QAction* AboutAction = nullptr;

    // The shared dialogs; each remembers the name chosen last.
    FileDialog SaveDialog;
    FileDialog OpenDialogHatchfile;
    // The library file that "Uit bibliotheek openen..." and "Aan bibliotheek toevoegen..." pick.
    FileDialog LibraryDialog;

    void AboutActionExecute();
    void CloseButtonClick();
    void FormShow();

    // The tabs, in this order; each owns its controls and their handlers.
    TBondTab* MetselverbandenTab = nullptr;
    TFreeLineTab* TabSheetVrijeLijn = nullptr;
    TFigureTab* VrijFiguurTabSheet = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // "Sluiten" and the title bar: each tab with unsaved changes asks first, and may stop it.
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FormCreate();
    // Key preview: every key typed in this window passes here before the focused control gets
    // it. Returns true when the key was dealt with here.
    bool FormKeyPress(QWidget* receiver, QKeyEvent* event);
    // The key going down and up, before FormKeyPress: the figure tab's Escape and Shift state.
    bool FormKeyDown(QWidget* receiver, QKeyEvent* event);
    void FormKeyUp(QWidget* receiver, QKeyEvent* event);
    // The control the key preview acts for: the one holding the focus in this window.
    QWidget* ActiveControl(QWidget* receiver) const;

    void SetupWindowControls();
    void SetupTabs();

    Platform& platform_;
    QList<QWidget*> commaToPointWidgets_;
};

}  // namespace murvex::app
