// Times the Qt program's Preview Insertion from the menu command to the
// window shown with its text painted, on the real windows (under a display,
// or headless with QT_QPA_PLATFORM=offscreen). The project is opened first,
// untimed. Usage: desktop_preview PROJECT.vbp [ROUNDS]. Prints each round's
// seconds, one round a line: the wall clock's, then the processor's (every
// thread of the program; on a loaded machine the steadier of the two).
#include "desktop_session.h"

#include "ui/report_dialog.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <ctime>

using namespace faultward;

namespace {

double processorSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: desktop_preview PROJECT.vbp [ROUNDS]\n");
        return 2;
    }
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    bench::DesktopSession session(argv[1], "0");
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        qint64 shown = -1;
        double processor = 0;
        // Runs in the window's own loop, once it is open: the text is drawn
        // at once, and the window closed.
        std::function<void()> whenOpen = [&] {
            auto* window = dynamic_cast<ReportDialog*>(QApplication::activeModalWidget());
            if (!window) {
                QTimer::singleShot(1, whenOpen);
                return;
            }
            window->findChild<QAbstractScrollArea*>(QStringLiteral("txt_report"))
                ->viewport()
                ->repaint();
            shown = timer.nsecsElapsed();
            processor += processorSeconds();
            window->reject();
        };
        QTimer::singleShot(0, whenOpen);
        processor = -processorSeconds();
        timer.start();
        session.window.cmd_nav(Command::Preview);
        if (shown < 0) {
            std::fprintf(stderr, "the preview did not open\n");
            return 1;
        }
        std::printf("%.6f %.6f\n", static_cast<double>(shown) / 1e9, processor);
        std::fflush(stdout);
    }
    return 0;
}
