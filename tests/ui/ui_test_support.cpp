#include "ui_test_support.h"

#include "app/settings/settings.h"
#include "ui/code_page_text.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFile>

#include <stdexcept>

namespace faultward::uitest {

QString qpath(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

QString shownReport(std::string_view bytes) {
    std::string lines;
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        if (bytes[at] == '\r' && at + 1 < bytes.size() && bytes[at + 1] == '\n')
            continue;
        lines += bytes[at] == '\r' ? '\n' : bytes[at];
    }
    return decodedText(lines, TextEncoding::Windows1252);
}

std::optional<QString> ScriptedFileDialog::askOpenFile(QWidget*, const FileDialogRequest& request) {
    requests.push_back(request);
    return nextAnswer();
}

std::optional<QString> ScriptedFileDialog::askSaveFile(QWidget*, const FileDialogRequest& request) {
    saveRequests.push_back(request);
    return nextAnswer();
}

std::optional<QString> ScriptedFileDialog::askFolder(QWidget*, const QString& preset) {
    folderRequests.push_back(preset);
    return nextAnswer();
}

std::optional<QString> ScriptedFileDialog::nextAnswer() {
    if (answers.empty())
        throw std::logic_error("the test gave the file dialog no answer");
    std::optional<QString> answer = answers.front();
    answers.pop_front();
    return answer;
}

OnNextModal::OnNextModal(std::function<void(QWidget&)> steps) {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this, steps = std::move(steps)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        timer_.stop();
        ran_ = true;
        // As a window manager would: the new window gets the keyboard.
        modal->activateWindow();
        QApplication::processEvents();
        steps(*modal);
    });
    timer_.start();
}

void RecordingMessageBoxes::showMessage(QWidget*, const QString& text, MessageIcon icon,
                                        const QString& detailText) {
    details.push_back(detailText);
    texts.push_back(text);
    icons.push_back(icon);
    choices.emplace_back();
}

bool RecordingMessageBoxes::showMessageWithChoice(QWidget* parent, const QString& text,
                                                  MessageIcon icon, const QString& detailText,
                                                  const QString& choice) {
    showMessage(parent, text, icon, detailText);
    choices.back() = choice;
    const bool chosen = !choiceAnswers.empty() && choiceAnswers.front();
    if (!choiceAnswers.empty())
        choiceAnswers.pop_front();
    return chosen;
}

bool RecordingMessageBoxes::askYesNo(QWidget*, const QString& text) {
    questions.push_back(text);
    if (answers.empty())
        return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

void RecordingSoundPlayer::Play_Sound(int id) {
    if (clickFails && id == kClickCue)
        throw std::runtime_error("no click cue");
    calls.push_back("play " + std::to_string(id));
}

void RecordingSoundPlayer::Stop_Sound() {
    calls.push_back("stop");
}

RunningProgram::RunningProgram(std::optional<std::string> settingsText) {
    const std::filesystem::path appFolder = scratch_.path() / "app";
    std::filesystem::create_directories(appFolder);
    if (settingsText)
        scratch_.write("app/ERRH.ini", *settingsText);
    store_ = std::make_unique<IniFileStore>(settingsFilePath(appFolder));
    module_ = std::make_unique<Module1>(*store_, appFolder);
    consent_ = std::make_unique<ConsentRecords>(scratch_.path() / "state");
    window_ = std::make_unique<MDIForm1>(*module_, DesktopServices{sound_, helpKeySender_, about_,
                                                                   dialog_, messages_, *consent_,
                                                                   [this] { ++terminations_; }});
    module_->Load_Settings(*window_);
    window_->show();
}

RunningProgram::~RunningProgram() {
    if (about::frmAbout* window = about_.loaded())
        delete window;
}

void RunningProgram::openProject(const std::filesystem::path& project) {
    dialog_.answers.push_back(qpath(project));
    click("cmd_tbl_0");
}

void RunningProgram::click(const char* objectName) {
    auto* button = window_->findChild<QAbstractButton*>(QString::fromUtf8(objectName));
    if (!button)
        throw std::logic_error(std::string("no button ") + objectName);
    button->click();
}

void RunningProgram::trigger(const char* objectName) {
    auto* action = window_->findChild<QAction*>(QString::fromUtf8(objectName));
    if (!action)
        throw std::logic_error(std::string("no menu item ") + objectName);
    action->trigger();
}

} // namespace faultward::uitest
