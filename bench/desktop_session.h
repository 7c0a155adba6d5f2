#pragma once

// The Qt program's main window over a project, as the desktop benchmarks
// drive it: shown, with the project opened through a file dialog that
// answers with its path, sound and help silent, messages on stderr and the
// settings in memory.
#include "app/commands/consent_records.h"
#include "app/desktop/help_opener.h"
#include "app/desktop/module1.h"
#include "app/desktop/sound_player.h"
#include "app/texts/texts.h"
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

namespace faultward::bench {

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
    // A timed run never writes outside its generated project.
    bool askYesNo(QWidget*, const QString& text) override {
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
        return false;
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

// The window, shown, with the project open.
struct DesktopSession {
    DesktopSession(const char* project, const char* mode)
        : store(withMode(mode)), dialog(QFile::decodeName(project)) {
        module.Load_Settings(window);
        window.show();
        for (int i = 0; i < 20 && !window.windowHandle()->isExposed(); ++i)
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        window.cmd_nav(Command::Open);
    }

    static MemoryStore withMode(const char* mode) {
        MemoryStore store;
        store.writeString("OS", "Error_Flag", mode);
        return store;
    }

    MemoryStore store;
    Module1 module{store, "."};
    Silence quiet;
    about::DesktopSysInfoPlatform sysInfo;
    AboutBox about{sysInfo};
    AnswerWith dialog;
    PrintedMessages messages;
    ConsentRecords consent{std::nullopt}; // nothing remembered between runs
    MDIForm1 window{module, {quiet, quiet, about, dialog, messages, consent, [] {}}};
};

} // namespace faultward::bench
