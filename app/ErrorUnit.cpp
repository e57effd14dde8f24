// The error window: a list of messages that a command fills and shows.
#include "ErrorUnit.h"

#include <QPlainTextEdit>
#include <QPushButton>

#include "uVistaFuncs.h"

namespace murvex::app {

TErrorForm::TErrorForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ErrorForm"));
    setWindowTitle(QStringLiteral("Murvex"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(438, 312);
    setFont(DesignFont("MS Sans Serif", 8));

    ErrorMemo = new QPlainTextEdit(this);
    ErrorMemo->setObjectName(QStringLiteral("ErrorMemo"));
    ErrorMemo->setGeometry(10, 8, 417, 263);
    ErrorMemo->setPlainText(QString());  // one empty line

    OkButton = new QPushButton(QStringLiteral("Ok"), this);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    OkButton->setGeometry(354, 280, 75, 25);
    OkButton->setDefault(true);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace murvex::app
