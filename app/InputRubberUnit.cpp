// The typed-length box of the figure canvas: a borderless form with one edit.
#include "InputRubberUnit.h"

#include <QLineEdit>

#include "uVistaFuncs.h"

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
}

}  // namespace murvex::app
