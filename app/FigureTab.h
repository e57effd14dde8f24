// The tab "Vrij figuur": a figure of segments in a tile, drawn and typed, as a pattern file.
#pragma once

#include <QWidget>

namespace murvex::app {

class TMainForm;

// Empty for now; the figure canvas, its grid and its commands come here.
class TFigureTab : public QWidget {
    Q_OBJECT

  public:
    explicit TFigureTab(TMainForm& form);

  private:
    [[maybe_unused]] TMainForm& form_;
};

}  // namespace murvex::app
