// The about box.
#pragma once

#include <QDialog>

#include "Platform.h"

class QLabel;
class QPushButton;

namespace murvex::app {

class THyperLabel;

class TAboutForm : public QDialog {
    Q_OBJECT

  public:
    static constexpr const char* kVersionText = "Version 1.1.0.1  (5 April 2011)";
    static constexpr const char* kSiteName = "www.murvex.nl";
    static constexpr const char* kSiteAddress = "http://www.murvex.nl";

    TAboutForm(Platform& platform, QWidget* parent = nullptr);

    QLabel* TitleLabel = nullptr;
    QLabel* Label2 = nullptr;
    THyperLabel* HyperLabel1 = nullptr;
    QLabel* Label4 = nullptr;
    QPushButton* BitBtn1 = nullptr;

  private:
    void FormCreate();
    void BitBtn1Click();
};

}  // namespace murvex::app
