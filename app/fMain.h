// The main window: title, About and close buttons, and the three tabs.
#pragma once

#include <QList>
#include <QWidget>
#include <array>

#include "Platform.h"

class QAction;
class QComboBox;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableView;
class QToolButton;

namespace murvex::app {

class TNewVrijHatch;
class TErrorForm;
class TInputRubberForm;
class TextGridModel;

class TMainForm : public QWidget {
    Q_OBJECT

  public:
    explicit TMainForm(Platform& platform, QWidget* parent = nullptr);
    ~TMainForm() override;

    // The handle that owns this window's message boxes.
    WindowHandle Handle();
    Platform& ThePlatform() { return platform_; }

    // The hidden forms created at start-up, for the commands that show them.
    void AttachForms(TNewVrijHatch* newVrijHatch, TErrorForm* errorForm,
                     TInputRubberForm* inputRubberForm);
    TNewVrijHatch* NewVrijHatch = nullptr;
    TErrorForm* ErrorForm = nullptr;
    TInputRubberForm* InputRubberForm = nullptr;

    // A typed comma becomes a point while one of these controls itself has the keyboard focus.
    void AddCommaToPointWidget(QWidget* widget);

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

    void AboutActionExecute();
    void CloseButtonClick();
    void FormShow();

    // ---- Tab "Metselverbanden" (fMainBonds.cpp) ----
    QWidget* MetselverbandenTab = nullptr;
    QGroupBox* ParametersGroupBox = nullptr;
    QComboBox* ComboBoxMetselverbanden = nullptr;
    QLineEdit* SteenlengteEdit = nullptr;
    QLineEdit* SteenLengteVoegEdit = nullptr;
    QLineEdit* SteenhoogteEdit = nullptr;
    QLineEdit* SteenhoogteVoegEdit = nullptr;
    QLineEdit* NaamEdit = nullptr;
    QLineEdit* HoekverdraaiingEdit = nullptr;
    QPushButton* CreateHatchButton = nullptr;
    // UitlegImageHalfsteensverband ... UitlegImageWildverband, in the order of the combo's items.
    std::array<QLabel*, 10> UitlegImages{};

    void CreateHatchButtonClick();
    void ComboBoxMetselverbandenChange();
    // The combo's item index: -1 while its edit field holds a text that is not the chosen item.
    int BondItemIndex() const;

    // ---- Tab "Vrije lijnarceringen" (fMainFreeLines.cpp) ----
    QWidget* TabSheetVrijeLijn = nullptr;
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
    QPushButton* VrijeLijnMaakHatch = nullptr;
    QAction* OpenHatchAction = nullptr;

    void VrijLijnPlusClick();
    void VrijLijnMinClick();
    void VrijeLijnMaakHatchClick();
    void VrijeLijnHelpClick();
    void OpenHatchActionExecute();

    // ---- Tab "Vrij figuur" (fMainFigure.cpp) ----
    QWidget* VrijFiguurTabSheet = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FormCreate();
    // Key preview: every key typed in this window passes here before the focused control gets
    // it. Returns true when the key was dealt with here.
    bool FormKeyPress(QWidget* receiver, QKeyEvent* event);

    void SetupWindowControls();
    void SetupBondTab();
    void SetupFreeLineTab();
    void SetupFigureTab();

    Platform& platform_;
    QList<QWidget*> commaToPointWidgets_;
};

}  // namespace murvex::app
