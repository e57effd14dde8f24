// A label that opens its web address in the browser when clicked.
#pragma once

#include <QColor>
#include <QLabel>

#include "Platform.h"

namespace murvex::app {

class THyperLabel : public QLabel {
    Q_OBJECT
    Q_PROPERTY(QString Hyperlink READ Hyperlink WRITE SetHyperlink)

  public:
    // The default address: the bare prefix, without any host.
    static constexpr const char* kDefaultHyperlink = "http://";

    THyperLabel(Platform& platform, QWidget* parent = nullptr);

    QString Hyperlink() const { return hyperlink_; }
    void SetHyperlink(const QString& address) { hyperlink_ = address; }

  protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    Platform& platform_;
    QString hyperlink_;
    QColor rememberedColor_;  // the font colour while the mouse is over the label
};

}  // namespace murvex::app
