// Peak resident memory (VmHWM) of the window program: after start-up with the main window shown,
// and after drawing a figure of 10,000 segments with the mouse handlers of the free figure tab
// and redrawing it. Prints both in KiB.
//   murvex-peakmem [SEGMENTS]   (offscreen; run by tools/bench-table)
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QTabWidget>
#include <QTimer>
#include <charconv>
#include <iostream>
#include <random>
#include <string>
#include <string_view>

#include "FigureModel.h"
#include "FigureTab.h"
#include "MainForm.h"
#include "NewVrijHatch.h"
#include "QtPlatform.h"
#include "StartUp.h"
#include "ToolControls.h"

using murvex::tools::Control;
using murvex::tools::GridModelOf;

namespace {

// The "VmHWM:" line of /proc/self/status, in KiB; -1 when it cannot be read.
long PeakResidentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    // A /proc file reports size 0: read it whole rather than testing atEnd().
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (!line.startsWith("VmHWM:")) continue;
        const QByteArray digits = line.mid(6).trimmed().split(' ').value(0);
        long kib = -1;
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), kib);
        return ec == std::errc() && end == digits.data() + digits.size() ? kib : -1;
    }
    return -1;
}

std::string Text(long value) {
    char text[24];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return std::string(text, end);
}

int CompleteRows(const murvex::figure::FigureModel& model) {
    int count = 0;
    for (int row = 1; row < model.grid.RowCount(); ++row)
        count += murvex::figure::RowComplete(model.grid, row) ? 1 : 0;
    return count;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    long segments = 10000;
    if (argc == 2) {
        const std::string_view arg(argv[1]);
        const auto [end, ec] = std::from_chars(arg.data(), arg.data() + arg.size(), segments);
        if (ec != std::errc() || end != arg.data() + arg.size() || segments < 1) {
            std::cerr << "usage: murvex-peakmem [SEGMENTS]\n";
            return 2;
        }
    }
    murvex::app::QtPlatform platform;
    murvex::app::Forms forms = murvex::app::StartUp(platform);
    murvex::app::TMainForm& main = *forms.mainForm;
    main.show();
    QApplication::processEvents();
    const long afterStart = PeakResidentKiB();

    using murvex::app::TFigureTab;
    TFigureTab& tab = *main.VrijFiguurTabSheet;
    main.PageControl1->setCurrentWidget(&tab);
    QApplication::processEvents();
    forms.newVrijHatch->BreedteEdit->setText(QStringLiteral("600"));
    forms.newVrijHatch->HoogteEdit->setText(QStringLiteral("300"));
    QTimer::singleShot(0, [&] { forms.newVrijHatch->accept(); });
    tab.NieuwFiguurClick();
    // Without snapping every click lands where it is made, so each pair of clicks adds one
    // segment between two different random pixels of the 302 x 152 canvas.
    if (Control<QCheckBox>(tab, "CheckBoxSnap")->isChecked())
        Control<QCheckBox>(tab, "CheckBoxSnap")->click();

    std::mt19937 rng(1);
    std::uniform_int_distribution<int> x(1, 300);
    std::uniform_int_distribution<int> y(1, 150);
    for (long i = 0; i < segments; ++i) {
        const QPoint start(x(rng), y(rng));
        QPoint end(x(rng), y(rng));
        while (end == start)
            end = QPoint(x(rng), y(rng));
        tab.HatchImageMouseMove(start);
        tab.HatchImageClick(start);
        tab.HatchImageMouseMove(end);
        tab.HatchImageClick(end);
        if (i % 500 == 0) QApplication::processEvents();
    }
    tab.RefreschButtonClick();
    main.repaint();
    QApplication::processEvents();
    const long afterDrawing = PeakResidentKiB();
    const int drawn = CompleteRows(tab.Model());

    std::cout << "peak resident memory after start-up: " << Text(afterStart) << " KiB\n"
              << "peak resident memory after drawing " << Text(drawn)
              << " segments and redrawing: " << Text(afterDrawing) << " KiB\n";
    if (drawn != segments) {
        std::cerr << "murvex-peakmem: " << Text(drawn) << " segments in the grid, expected "
                  << Text(segments) << "\n";
        return 1;
    }
    return afterStart > 0 && afterDrawing > 0 ? 0 : 1;
}
