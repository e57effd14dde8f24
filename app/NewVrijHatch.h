// The dialog that asks the width and height of a new figure.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace murvex::app {

class TNewVrijHatch : public QDialog {
    Q_OBJECT

  public:
    explicit TNewVrijHatch(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;  // "Afmeting:"
    QLabel* Label2 = nullptr;  // "Breedte:"
    QLabel* Label3 = nullptr;  // "Hoogte:"
    QLineEdit* BreedteEdit = nullptr;
    QLineEdit* HoogteEdit = nullptr;
    QPushButton* ButtonOk = nullptr;
    QPushButton* ButtonCancel = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace murvex::app
