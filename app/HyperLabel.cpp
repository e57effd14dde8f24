// A label that opens its web address in the browser when clicked.
#include "HyperLabel.h"

#include <QMouseEvent>

#include "OpenPage.h"
#include "WindowHandles.h"

namespace murvex::app {

THyperLabel::THyperLabel(Platform& platform, QWidget* parent)
    : QLabel(parent), platform_(platform), hyperlink_(QString::fromLatin1(kDefaultHyperlink)) {
    setCursor(Qt::PointingHandCursor);
}

void THyperLabel::enterEvent(QEnterEvent* event) {
    QPalette p = palette();
    rememberedColor_ = p.color(QPalette::WindowText);
    p.setColor(QPalette::WindowText, QColor(0, 0, 255));
    setPalette(p);
    QFont f = font();
    f.setBold(false);
    f.setItalic(false);
    f.setStrikeOut(false);
    f.setUnderline(true);
    setFont(f);
    QLabel::enterEvent(event);
}

void THyperLabel::leaveEvent(QEvent* event) {
    QPalette p = palette();
    if (rememberedColor_.isValid()) p.setColor(QPalette::WindowText, rememberedColor_);
    setPalette(p);
    QFont f = font();
    f.setBold(false);
    f.setItalic(false);
    f.setStrikeOut(false);
    f.setUnderline(false);
    setFont(f);
    QLabel::leaveEvent(event);
}

void THyperLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QLabel::mousePressEvent(event);
        return;
    }
    if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
    QLabel::mousePressEvent(event);
    // Whether the browser opens is not reported.
    OpenPageOrTell(platform_, hyperlink_, ApplicationHandle());
}

}  // namespace murvex::app
