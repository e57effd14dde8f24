// The tab "Metselverbanden": brick dimensions, name and rotation to a bond's pattern file.
#pragma once

#include <QWidget>
#include <array>
#include <functional>

#include "BondGenerator.h"
#include "Text.h"

#include "PreviewContent.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace murvex::app {

class TabHost;

class TBondTab : public QWidget {
    Q_OBJECT

  public:
    // The window lends the platform, the shared save dialog and the comma rule.
    explicit TBondTab(TabHost& form);

    void CreateHatchButtonClick();
    void ComboBoxMetselverbandenChange();
    // The combo's item index: -1 while its edit field holds a text that is not the chosen item.
    int BondItemIndex() const;
    // The control that gets the keyboard focus when the window opens.
    QWidget* FirstInput() const;
    // What "Maak Hatch" would write now, for the preview window; the edits stay as they are.
    PreviewContent PreviewNow() const;

  private:
    QGroupBox* ParametersGroupBox = nullptr;
    QComboBox* ComboBoxMetselverbanden = nullptr;
    QLineEdit* SteenlengteEdit = nullptr;
    QLineEdit* SteenLengteVoegEdit = nullptr;
    QLineEdit* SteenhoogteEdit = nullptr;
    QLineEdit* SteenhoogteVoegEdit = nullptr;
    QLineEdit* NaamEdit = nullptr;
    QLineEdit* HoekverdraaiingEdit = nullptr;
    // "Steenbreedte": the header's length; empty draws it (L - J) / 2 long.
    QLineEdit* SteenbreedteEdit = nullptr;
    QPushButton* CreateHatchButton = nullptr;
    // Opens the preview window, beside "Maak Hatch".
    QPushButton* VoorbeeldButton = nullptr;
    // UitlegImageHalfsteensverband ... UitlegImageWildverband, in the order of the combo's items.
    std::array<QLabel*, 10> UitlegImages{};

    // Reads the edits as "Maak Hatch" does and hands the bond's lines to save.
    void MakeBondThen(const std::function<void(const LineList&)>& save);
    // "Formaat": fills the four dimension edits and the width with the chosen brick format and
    // its joints.
    void FormatChosen(int item);
    void AddToLibraryClick();
    bonds::BondTexts EditTexts() const;

    TabHost& form_;  // the main window, as the tabs see it
    QComboBox* formatCombo_ = nullptr;
    QPushButton* libraryAddButton_ = nullptr;
    // "Compatibel opslaan": "Maak Hatch" and the preview write the compatible way.
    QCheckBox* CompatibelOpslaan = nullptr;
};

}  // namespace murvex::app
