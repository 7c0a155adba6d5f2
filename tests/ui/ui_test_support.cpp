#include "ui_test_support.h"

#include "settings.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFile>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace faultward::uitest {

ScratchFolder::ScratchFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "faultward-ui-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a scratch folder");
    path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(path_, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error))
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, error);
    std::filesystem::remove_all(path_, error);
}

std::filesystem::path ScratchFolder::write(const std::string& name, std::string_view bytes) const {
    const std::filesystem::path file = path_ / name;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file;
}

std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::string crlf(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (std::string_view line : lines)
        text.append(line).append("\r\n");
    return text;
}

QString qpath(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

std::optional<QString> ScriptedFileDialog::askOpenFile(QWidget*, const OpenFileRequest& request) {
    requests.push_back(request);
    if (answers.empty())
        throw std::logic_error("the test gave the file dialog no answer");
    std::optional<QString> answer = answers.front();
    answers.pop_front();
    return answer;
}

void RecordingMessageBoxes::showMessage(QWidget*, const QString& text, MessageIcon icon) {
    texts.push_back(text);
    icons.push_back(icon);
}

RunningProgram::RunningProgram(std::optional<std::string> settingsText) {
    std::error_code error;
    startFolder_ = std::filesystem::current_path(error);
    const std::filesystem::path appFolder = scratch_.path() / "app";
    std::filesystem::create_directories(appFolder);
    if (settingsText)
        scratch_.write("app/ERRH.ini", *settingsText);
    store_ = std::make_unique<IniFileStore>(settingsFilePath(appFolder));
    module_ = std::make_unique<Module1>(*store_, appFolder);
    window_ = std::make_unique<MDIForm1>(*module_);
    auto dialog = std::make_unique<ScriptedFileDialog>();
    dialog_ = dialog.get();
    window_->setFileDialog(std::move(dialog));
    auto messages = std::make_unique<RecordingMessageBoxes>();
    messages_ = messages.get();
    window_->setMessageBoxes(std::move(messages));
    window_->terminate = [this] { ++terminations_; };
    module_->Load_Settings(*window_);
    window_->show();
}

RunningProgram::~RunningProgram() {
    // Open leaves the current folder in the project; give it back before the
    // scratch folder goes.
    std::error_code error;
    std::filesystem::current_path(startFolder_, error);
}

void RunningProgram::openProject(const std::filesystem::path& project) {
    dialog_->answers.push_back(qpath(project));
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
