#pragma once

#include <QString>
#include <QWidget>

class QTextBrowser;

namespace faultward::help {

// The program's help viewer: one window that shows the HTML help file.
// Closing it unloads it; it does not keep the program running on its own.
class HelpWindow final : public QWidget {
public:
    // Loads the window if needed, over the given window (or the screen's
    // middle) and wholly on screen; shows the file in it, at the section (an
    // anchor) when one is named, and brings it forward.
    static HelpWindow* showFile(const QString& path, const QWidget* over = nullptr,
                                const QString& section = {});
    // The loaded window, or nullptr.
    static HelpWindow* loaded();

    QTextBrowser* browser() const { return browser_; }
    QString file() const { return file_; }

private:
    HelpWindow();
    void load(const QString& path, const QString& section);

    QTextBrowser* browser_ = nullptr;
    QString file_;
};

} // namespace faultward::help
