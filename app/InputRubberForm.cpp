// The typed-length box of the figure canvas: a borderless form with one edit.
#include "InputRubberForm.h"

#include <QEvent>
#include <QLineEdit>
#include <QTimer>
#include <algorithm>

#include "DesignFonts.h"

namespace murvex::app {

TInputRubberForm::TInputRubberForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("InputRubberForm"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setFixedSize(122, 22);
    setFont(DesignFont("Tahoma", 8));

    InPutRubberEdit = new QLineEdit(this);
    InPutRubberEdit->setObjectName(QStringLiteral("InPutRubberEdit"));
    InPutRubberEdit->setGeometry(0, 0, 120, 21);
    QPalette p = InPutRubberEdit->palette();
    p.setColor(QPalette::Base, QColor(255, 255, 0));
    InPutRubberEdit->setPalette(p);
    setFocusProxy(InPutRubberEdit);
    InPutRubberEdit->installEventFilter(this);
    // Enter in the edit: OK; Escape reaches the dialog, which closes with Cancel.
    connect(InPutRubberEdit, &QLineEdit::returnPressed, this, &QDialog::accept);
}

void TInputRubberForm::FormShow() {
    InPutRubberEditEnter();
}

void TInputRubberForm::InPutRubberEditEnter() {
    InPutRubberEdit->deselect();
    InPutRubberEdit->setCursorPosition(std::min<int>(1, InPutRubberEdit->text().size()));
}

void TInputRubberForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

bool TInputRubberForm::eventFilter(QObject* watched, QEvent* event) {
    // The edit selects its text when it gets the focus; the caret is placed after that.
    if (watched == InPutRubberEdit && event->type() == QEvent::FocusIn) {
        QTimer::singleShot(0, this, &TInputRubberForm::InPutRubberEditEnter);
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace murvex::app
