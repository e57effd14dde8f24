// The dialog between a DXF drawing and the figure tab: the tile found, the layers to take, the
// chord tolerance, the import's report and a picture of what will come in.
#pragma once

#include <QDialog>
#include <optional>

#include "DxfImport.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace murvex::app {

class DxfPicture;

class TDxfImportForm : public QDialog {
    Q_OBJECT

  public:
    TDxfImportForm(dxf::Drawing drawing, QWidget* parent = nullptr);
    ~TDxfImportForm() override;

    // The figure OK brings in; nothing while the choices are refused.
    const std::optional<dxf::TileFigure>& Figure() const { return figure_; }

    // Imports again with the choices as they stand: report, picture and OK follow.
    void Recompute();

  private:
    void TileEdited();
    void Accept();

    dxf::Drawing drawing_;
    std::optional<dxf::TileFigure> figure_;
    bool tileGiven_ = false;  // the user typed a tile
    QLineEdit* tileEdits_[4] = {};
    QLabel* tileSource_ = nullptr;
    QListWidget* layers_ = nullptr;
    QLineEdit* chord_ = nullptr;
    QLineEdit* scale_ = nullptr;
    QLabel* report_ = nullptr;
    DxfPicture* picture_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace murvex::app
