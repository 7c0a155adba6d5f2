// Times the desktop program's Insert, from the click to "Task Completed", on
// the real windows (headless with QT_QPA_PLATFORM=offscreen). The project is
// opened first, untimed, through a file dialog that answers with its path.
// Usage: desktop_insert PROJECT.vbp [MODE]. Prints the seconds of the Insert.
#include "desktop_session.h"

#include "app/texts/texts.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>

using namespace faultward;

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: desktop_insert PROJECT.vbp [MODE]\n");
        return 2;
    }
    bench::DesktopSession session(argv[1], argc > 2 ? argv[2] : "0");
    MDIForm1& window = session.window;
    QElapsedTimer timer;
    timer.start();
    window.cmd_nav(Command::Insert);
    const qint64 nanoseconds = timer.nsecsElapsed();
    if (window.windowTitle() != QString::fromUtf8(kCompletedCaption)) {
        std::fprintf(stderr, "the Insert did not complete\n");
        return 1;
    }
    std::printf("%.6f\n", static_cast<double>(nanoseconds) / 1e9);
    return 0;
}
