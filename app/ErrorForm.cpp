// The error window: a list of messages that a command fills and shows.
#include "ErrorForm.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "DesignFonts.h"

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
    // A list to read and copy from, not to edit.
    ErrorMemo->setReadOnly(true);
    ErrorMemo->setGeometry(10, 8, 417, 243);
    ErrorMemo->setPlainText(QString());  // one empty line

    SummaryLabel = new QLabel(this);
    SummaryLabel->setObjectName(QStringLiteral("SummaryLabel"));
    SummaryLabel->setGeometry(10, 256, 417, 18);

    OkButton = new QPushButton(QStringLiteral("Ok"), this);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    OkButton->setGeometry(354, 280, 75, 25);
    OkButton->setDefault(true);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
}

void TErrorForm::ShowFailedRows(const QString& messages, std::size_t count, bool custom) {
    ErrorMemo->setPlainText(messages);
    SummaryLabel->setText(FailedRowsSummary(count, custom));
}

void TErrorForm::Clear() {
    ErrorMemo->clear();
    SummaryLabel->clear();
}

QString FailedRowsSummary(std::size_t count, bool custom) {
    return QStringLiteral("%1 %2 zonder oplossing; probeer %3")
        .arg(static_cast<qulonglong>(count))
        .arg(count == 1 ? QStringLiteral("lijn") : QStringLiteral("lijnen"))
        .arg(custom ? QStringLiteral("een grotere max. afwijking")
                    : QStringLiteral("een lagere nauwkeurigheid"));
}

}  // namespace murvex::app
