// Parts that several tabs build the same way: the speed-button pictures and the edit combo boxes.
#include "TabParts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace murvex::app {

QIcon GlyphIcon(Glyph glyph) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const auto picture = [&p] {
        p.setPen(QPen(QColor(60, 60, 60), 1));
        p.setBrush(QColor(170, 210, 250));
        p.drawRect(QRectF(1.5, 2.5, 13, 11));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 150, 60));
        QPainterPath hill;
        hill.moveTo(2, 13);
        hill.lineTo(6, 7);
        hill.lineTo(9, 10);
        hill.lineTo(11, 8);
        hill.lineTo(14, 13);
        hill.closeSubpath();
        p.drawPath(hill);
        p.setBrush(QColor(250, 200, 40));
        p.drawEllipse(QRectF(10, 4, 3, 3));
    };
    switch (glyph) {
        case Glyph::Picture:
            picture();
            break;
        case Glyph::NoPicture:
            picture();
            p.setPen(QPen(QColor(200, 0, 0), 2.2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(3, 3), QPointF(13, 13));
            p.drawLine(QPointF(13, 3), QPointF(3, 13));
            break;
        case Glyph::Plus:
            p.setPen(QPen(QColor(0, 128, 0), 3, Qt::SolidLine, Qt::FlatCap));
            p.drawLine(QPointF(8, 2.5), QPointF(8, 13.5));
            p.drawLine(QPointF(2.5, 8), QPointF(13.5, 8));
            break;
        case Glyph::Minus:
            p.setPen(QPen(QColor(192, 0, 0), 3, Qt::SolidLine, Qt::FlatCap));
            p.drawLine(QPointF(2.5, 8), QPointF(13.5, 8));
            break;
        case Glyph::Save:
            p.setPen(QPen(QColor(20, 40, 110), 1));
            p.setBrush(QColor(60, 90, 180));
            p.drawRect(QRectF(1.5, 1.5, 13, 13));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(4.5, 1.5, 7, 5));
            p.setBrush(QColor(200, 200, 200));
            p.drawRect(QRectF(4.5, 9.5, 7, 5));
            break;
        case Glyph::Open: {
            QPainterPath back;
            back.moveTo(1.5, 3.5);
            back.lineTo(6, 3.5);
            back.lineTo(7.5, 5);
            back.lineTo(13.5, 5);
            back.lineTo(13.5, 13.5);
            back.lineTo(1.5, 13.5);
            back.closeSubpath();
            p.setPen(QPen(QColor(128, 96, 0), 1));
            p.setBrush(QColor(230, 190, 70));
            p.drawPath(back);
            QPainterPath front;
            front.moveTo(1.5, 13.5);
            front.lineTo(4, 7.5);
            front.lineTo(15.5, 7.5);
            front.lineTo(13.5, 13.5);
            front.closeSubpath();
            p.setBrush(QColor(250, 220, 110));
            p.drawPath(front);
            break;
        }
        case Glyph::Help: {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(30, 90, 200));
            p.drawEllipse(QRectF(1, 1, 14, 14));
            QFont font(QStringLiteral("Tahoma"));
            font.setPixelSize(12);
            font.setBold(true);
            p.setFont(font);
            p.setPen(Qt::white);
            p.drawText(QRectF(1, 1, 14, 14), Qt::AlignCenter, QStringLiteral("?"));
            break;
        }
        case Glyph::Arrow: {
            QPainterPath arrow;
            arrow.moveTo(4, 1.5);
            arrow.lineTo(4, 13);
            arrow.lineTo(6.8, 10.3);
            arrow.lineTo(9, 15);
            arrow.lineTo(10.8, 14.2);
            arrow.lineTo(8.7, 9.6);
            arrow.lineTo(12.5, 9.6);
            arrow.closeSubpath();
            p.setPen(QPen(Qt::black, 1));
            p.setBrush(Qt::white);
            p.drawPath(arrow);
            break;
        }
        case Glyph::Pencil: {
            p.setPen(QPen(QColor(90, 60, 0), 1));
            p.setBrush(QColor(240, 190, 60));
            QPainterPath body;
            body.moveTo(12, 1.5);
            body.lineTo(14.5, 4);
            body.lineTo(5, 13.5);
            body.lineTo(2.5, 11);
            body.closeSubpath();
            p.drawPath(body);
            p.setBrush(QColor(60, 60, 60));
            QPainterPath tip;
            tip.moveTo(2.5, 11);
            tip.lineTo(5, 13.5);
            tip.lineTo(1.5, 14.5);
            tip.closeSubpath();
            p.drawPath(tip);
            break;
        }
    }
    return QIcon(pixmap);
}

QComboBox* TextCombo(QWidget* parent, const char* name, const QStringList& items, int left,
                     int width, const char* hint) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    combo->setGeometry(left, 410, width, 21);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(items);
    combo->setCurrentIndex(0);
    if (hint) combo->setToolTip(QString::fromLatin1(hint));
    return combo;
}

QCheckBox* CompatibleBox(QWidget* parent, const char* name, int left, int top) {
    auto* box = new QCheckBox(QStringLiteral("Compatibel opslaan"), parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setToolTip(QStringLiteral(
        "Een patroonbestand dat elk CAD-programma leest: naam met beschrijving, korte getallen, "
        "regels van hoogstens 80 tekens"));
    box->move(left, top);
    box->adjustSize();
    return box;
}

PatternStyle StyleOf(const QCheckBox* box) {
    return box->isChecked() ? PatternStyle::Compatible : PatternStyle::Specified;
}

void SetComboText(QComboBox* combo, const QString& text) {
    if (combo->currentText() == text) return;
    const int item = combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (item >= 0) {
        combo->setCurrentIndex(item);
    } else {
        combo->setEditText(text);
    }
}

}  // namespace murvex::app
