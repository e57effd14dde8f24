// The dialog that asks the width and height of a new figure.
#include "NewVrijHatch.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "DesignFonts.h"

namespace murvex::app {
namespace {

constexpr int kWidth = 340;

}  // namespace

TNewVrijHatch::TNewVrijHatch(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("NewVrijHatch"));
    setWindowTitle(QStringLiteral("Nieuwe Hatch gaan maken"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    // Wide enough for the window system to show the whole title beside its frame buttons.
    setFixedSize(kWidth, 106);
    setFont(DesignFont("MS Sans Serif", 8));

    Label1 = new QLabel(QStringLiteral("Afmeting:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(6, 8);
    Label1->adjustSize();

    const auto sizeLabel = [this](const char* name, const char* text, int top) {
        auto* label = new QLabel(QString::fromLatin1(text), this);
        label->setObjectName(QString::fromLatin1(name));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setGeometry(4, top, 54, 13);
        return label;
    };
    Label2 = sizeLabel("Label2", "Breedte:", 26);
    Label3 = sizeLabel("Label3", "Hoogte:", 50);

    BreedteEdit = new QLineEdit(QStringLiteral("0"), this);
    BreedteEdit->setObjectName(QStringLiteral("BreedteEdit"));
    BreedteEdit->setGeometry(62, 22, kWidth - 69, 21);
    HoogteEdit = new QLineEdit(QStringLiteral("0"), this);
    HoogteEdit->setObjectName(QStringLiteral("HoogteEdit"));
    HoogteEdit->setGeometry(62, 46, kWidth - 69, 21);

    ButtonCancel = new QPushButton(QStringLiteral("Annuleren"), this);
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
    ButtonCancel->setGeometry(kWidth - 162, 74, 75, 25);
    // Enter presses the button that has the focus, else "Ok".
    ButtonCancel->setAutoDefault(true);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);

    ButtonOk = new QPushButton(QStringLiteral("Ok"), this);
    ButtonOk->setObjectName(QStringLiteral("ButtonOk"));
    ButtonOk->setGeometry(kWidth - 82, 74, 75, 25);
    ButtonOk->setAutoDefault(true);
    ButtonOk->setDefault(true);
    connect(ButtonOk, &QPushButton::clicked, this, &QDialog::accept);
}

void TNewVrijHatch::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Each time it opens the width comes first, its old text ready to be typed over.
    BreedteEdit->setFocus(Qt::OtherFocusReason);
    BreedteEdit->selectAll();
}

}  // namespace murvex::app
