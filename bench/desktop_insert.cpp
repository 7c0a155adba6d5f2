// Times the desktop program's Insert, from the click to "Task Completed", on
// the real windows (headless with QT_QPA_PLATFORM=offscreen). The project is
// opened first, untimed, through a file dialog that answers with its path.
// Usage: desktop_insert PROJECT.vbp [MODE]. Prints the seconds of the Insert.
#include "app/help_opener.h"
#include "app/module1.h"
#include "app/sound_player.h"
#include "app/texts.h"
#include "ui/desktop_sys_info_platform.h"
#include "ui/file_dialog.h"
#include "ui/frmAbout.h"
#include "ui/mdi_form1.h"
#include "ui/message_boxes.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QWindow>

#include <cstdio>
#include <map>
#include <string>

namespace {

using namespace faultward;

class Silence final : public SoundPlayer, public HelpOpener {
public:
    void Play_Sound(int) override {}
    void Stop_Sound() override {}
    void sendHelpKey() override {}
};

class AnswerWith final : public FileDialog {
public:
    explicit AnswerWith(QString path) : path_(std::move(path)) {}
    std::optional<QString> askOpenFile(QWidget*, const FileDialogRequest&) override {
        return path_;
    }
    std::optional<QString> askSaveFile(QWidget*, const FileDialogRequest&) override {
        return std::nullopt;
    }

private:
    QString path_;
};

// Messages go to stderr, so a run that failed says so without waiting.
class PrintedMessages final : public MessageBoxes {
public:
    void showMessage(QWidget*, const QString& text, MessageIcon, const QString&) override {
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    }
};

class MemoryStore final : public ProfileStore {
public:
    std::string readString(std::string_view, std::string_view key, std::string_view fallback,
                           std::size_t) override {
        const auto found = values_.find(std::string(key));
        return found == values_.end() ? std::string(fallback) : found->second;
    }
    bool writeString(std::string_view, std::string_view key, std::string_view value) override {
        values_[std::string(key)] = value;
        return true;
    }

private:
    std::map<std::string, std::string> values_;
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: desktop_insert PROJECT.vbp [MODE]\n");
        return 2;
    }
    MemoryStore store;
    store.writeString("OS", "Error_Flag", argc > 2 ? argv[2] : "0");
    Module1 module(store, ".");
    Silence quiet;
    about::DesktopSysInfoPlatform sysInfo;
    AboutBox about(sysInfo);
    AnswerWith dialog(QFile::decodeName(argv[1]));
    PrintedMessages messages;
    MDIForm1 window(module, {quiet, quiet, about, dialog, messages, [] {}});
    module.Load_Settings(window);
    window.show();
    for (int i = 0; i < 20 && !window.windowHandle()->isExposed(); ++i)
        QApplication::processEvents(QEventLoop::AllEvents, 50);

    window.cmd_nav(Command::Open);
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
