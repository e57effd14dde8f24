// The typed-length box of the figure canvas: a borderless form with one edit.
#pragma once

#include <QDialog>

class QLineEdit;

namespace murvex::app {

// Enter closes it with OK, Escape with Cancel. On showing and whenever the edit gets the focus,
// the caret stands after the first character (the digit that opened the box), nothing selected.
class TInputRubberForm : public QDialog {
    Q_OBJECT

  public:
    explicit TInputRubberForm(QWidget* parent = nullptr);

    QLineEdit* InPutRubberEdit = nullptr;

    void FormShow();
    void InPutRubberEditEnter();

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace murvex::app
