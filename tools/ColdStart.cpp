// Measures the cold start of the window: from the process launch (the time the calling script
// took just before starting it, in nanoseconds since the epoch) to the first painted frame of
// the main window. Prints the milliseconds and exits.
//   murvex-coldstart LAUNCH_NS   (run by tools/coldstart under xvfb-run)
#include <QApplication>
#include <QTimer>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <iostream>
#include <string_view>

#include "MainForm.h"
#include "QtPlatform.h"
#include "StartUp.h"

namespace {

std::int64_t NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

class FirstFrame : public QObject {
  public:
    explicit FirstFrame(std::int64_t launchNs) : launchNs_(launchNs) {}

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            // The frame is on screen once the paint has been flushed: right after this event.
            QTimer::singleShot(0, [this] {
                const std::int64_t micro = (NowNs() - launchNs_) / 1000;
                char text[32];
                const auto end = std::to_chars(text, text + sizeof text, micro / 1000).ptr;
                char frac[8];
                const auto fracEnd = std::to_chars(frac, frac + sizeof frac, micro % 1000).ptr;
                std::string fraction(frac, fracEnd);
                fraction.insert(0, 3 - fraction.size(), '0');
                std::cout << "cold start to first frame: " << std::string_view(text, end - text)
                          << "." << fraction << " ms\n";
                QApplication::quit();
            });
        }
        return false;
    }

  private:
    std::int64_t launchNs_;
    bool seen_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    std::int64_t launch = 0;
    if (argc == 2) {
        const std::string_view arg(argv[1]);
        std::from_chars(arg.data(), arg.data() + arg.size(), launch);
    }
    if (launch <= 0) {
        std::cerr << "usage: murvex-coldstart LAUNCH_NS\n";
        return 2;
    }
    QApplication application(argc, argv);
    murvex::app::QtPlatform platform;
    murvex::app::Forms forms = murvex::app::StartUp(platform);
    FirstFrame probe(launch);
    forms.mainForm->installEventFilter(&probe);
    forms.mainForm->show();
    return application.exec();
}
