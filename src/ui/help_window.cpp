#include "ui/help_window.h"

#include "ui/window_placement.h"

#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace faultward::help {
namespace {

QPointer<HelpWindow>& loadedWindow() {
    static QPointer<HelpWindow> window;
    return window;
}

} // namespace

HelpWindow* HelpWindow::showFile(const QString& path, const QWidget* over, const QString& section) {
    QPointer<HelpWindow>& window = loadedWindow();
    const bool loading = !window;
    if (loading) {
        window = new HelpWindow;
        placeOver(*window, over);
    }
    if (window->file_ != path || !section.isEmpty())
        window->load(path, section);
    window->show();
    // Shown, the window has its frame; a second look keeps the frame on screen.
    if (loading)
        placeOver(*window, over);
    window->raise();
    window->activateWindow();
    return window;
}

HelpWindow* HelpWindow::loaded() {
    return loadedWindow();
}

HelpWindow::HelpWindow() {
    setObjectName("HelpWindow");
    setWindowTitle(QStringLiteral("Faultward Help"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(720, 600);

    browser_ = new QTextBrowser(this);
    browser_->setObjectName("helpBrowser");
    browser_->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
}

void HelpWindow::load(const QString& path, const QString& section) {
    file_ = path;
    QUrl url = QUrl::fromLocalFile(path);
    if (!section.isEmpty())
        url.setFragment(section);
    browser_->setSource(url);
}

} // namespace faultward::help
