// The about box.
#include "AboutForm.h"

#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "DesignFonts.h"
#include "HyperLabel.h"

namespace murvex::app {

TAboutForm::TAboutForm(Platform& platform, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutForm"));
    setWindowTitle(QStringLiteral("About"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(260, 227);
    setFont(DesignFont("Tahoma", 8));

    TitleLabel = new QLabel(QStringLiteral("Murvex Beta"), this);
    TitleLabel->setObjectName(QStringLiteral("TitleLabel"));
    TitleLabel->setGeometry(8, 8, 241, 33);
    TitleLabel->setWordWrap(true);
    QFont title = DesignFont("Tahoma", 8);
    title.setPixelSize(19);
    SetBoldItalic(title);
    TitleLabel->setFont(title);

    Label2 = new QLabel(QString::fromLatin1(kVersionText), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->move(8, 56);

    HyperLabel1 = new THyperLabel(platform, this);
    HyperLabel1->setObjectName(QStringLiteral("HyperLabel1"));
    HyperLabel1->setText(QString::fromLatin1(kSiteName));
    HyperLabel1->SetHyperlink(QString::fromLatin1(kSiteAddress));
    HyperLabel1->move(8, 72);

    Label4 = new QLabel(QStringLiteral("Alle rechten voorbehouden. Murvex schrijft arceringen "
                                       "(.pat) voor teken- en bouwprogramma's."),
                        this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setWordWrap(true);
    Label4->setGeometry(8, 104, 241, 60);
    Label4->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    BitBtn1 = new QPushButton(QStringLiteral("Sluiten"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    BitBtn1->setGeometry(88, 182, 75, 25);
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &TAboutForm::BitBtn1Click);

    FormCreate();
    for (QLabel* label : {Label2, static_cast<QLabel*>(HyperLabel1)})
        label->adjustSize();
}

void TAboutForm::FormCreate() {
    SubstituteFormFont(this);
    // The title takes the form's new face but keeps its own size and style. A face that
    // exists only as small bitmaps (as "MS Sans Serif" may) would shrink the title, so then the
    // title keeps the face it was designed in.
    QFont title = TitleLabel->font();
    title.setFamily(font().family());
    SetBoldItalic(title);
    if (QFontInfo(title).pixelSize() == title.pixelSize()) TitleLabel->setFont(title);
}

void TAboutForm::BitBtn1Click() {
    close();
}

}  // namespace murvex::app
