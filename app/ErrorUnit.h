// The error window: a list of messages that a command fills and shows.
#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace murvex::app {

class TErrorForm : public QDialog {
    Q_OBJECT

  public:
    explicit TErrorForm(QWidget* parent = nullptr);

    QPlainTextEdit* ErrorMemo = nullptr;
    QPushButton* OkButton = nullptr;
};

}  // namespace murvex::app
