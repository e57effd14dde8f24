// The typed-length box of the figure canvas: a borderless form with one edit.
#pragma once

#include <QDialog>

class QLineEdit;

namespace murvex::app {

class TInputRubberForm : public QDialog {
    Q_OBJECT

  public:
    explicit TInputRubberForm(QWidget* parent = nullptr);

    QLineEdit* InPutRubberEdit = nullptr;
};

}  // namespace murvex::app
