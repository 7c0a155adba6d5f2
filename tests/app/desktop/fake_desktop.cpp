#include "fake_desktop.h"

#include <stdexcept>

namespace faultward::coretest {

void FakeDesktop::setCaption(std::string_view text) {
    caption = text;
    log.push_back("caption " + caption);
}
void FakeDesktop::setModeChecked(HandlingMode mode, bool checked) {
    log.push_back("mode " + std::to_string(storedValue(mode)) +
                  (checked ? " checked" : " cleared"));
}
void FakeDesktop::showBusyPointer() {
    log.push_back("pointer busy");
}
void FakeDesktop::showDefaultPointer() {
    log.push_back("pointer default");
}
void FakeDesktop::showMessage(std::string_view text, MessageIcon icon, std::string_view detail) {
    messages.emplace_back(text);
    details.emplace_back(detail);
    log.push_back(icon == MessageIcon::Warning ? "message warning" : "message plain");
}
bool FakeDesktop::askYesNo(std::string_view text) {
    questions.emplace_back(text);
    log.push_back("question");
    if (questionAnswers.empty())
        return false;
    const bool answer = questionAnswers.front();
    questionAnswers.pop_front();
    return answer;
}

bool FakeDesktop::showMessageWithChoice(std::string_view text, MessageIcon icon,
                                        std::string_view detail, std::string_view choice) {
    showMessage(text, icon, detail);
    log.back() += " choice " + std::string(choice);
    const bool chosen = !choiceAnswers.empty() && choiceAnswers.front();
    if (!choiceAnswers.empty())
        choiceAnswers.pop_front();
    return chosen;
}

std::optional<std::string> FakeDesktop::askOpenFile(const OpenFileRequest& request) {
    dialogRequests.push_back(request);
    log.push_back("dialog");
    if (dialogAnswers.empty())
        throw std::logic_error("the test gave the dialog no answer");
    std::optional<std::string> answer = dialogAnswers.front();
    dialogAnswers.pop_front();
    return answer;
}
std::optional<std::string> FakeDesktop::askOpenFolder(const std::string& preset) {
    dialogRequests.push_back({preset, {}, 0});
    log.push_back("folder dialog");
    if (dialogAnswers.empty())
        throw std::logic_error("the test gave the dialog no answer");
    std::optional<std::string> answer = dialogAnswers.front();
    dialogAnswers.pop_front();
    return answer;
}

std::optional<std::string> FakeDesktop::askSaveFile(const SaveFileRequest& request) {
    saveRequests.push_back(request);
    log.push_back("save dialog");
    if (saveAnswers.empty())
        throw std::logic_error("the test gave the save dialog no answer");
    std::optional<std::string> answer = saveAnswers.front();
    saveAnswers.pop_front();
    return answer;
}
void FakeDesktop::showHandlerSettings(HandlerSettingsDialog& dialog) {
    log.push_back("settings dialog");
    if (onSettings)
        onSettings(dialog);
}
void FakeDesktop::showReport(ReportWindow& window) {
    std::string shown = "report " + std::string(window.title());
    for (const ReportButton button : window.buttons())
        shown += " [" + std::string(ReportWindow::caption(button)) + "]";
    log.push_back(shown);
    reports.push_back(window.text());
    if (onReport)
        onReport(window);
}
void FakeDesktop::showAbout() {
    log.push_back("about");
}
void FakeDesktop::endProgramNow() {
    log.push_back("end program");
}
void FakeDesktop::showEntries(std::span<const ListEntry> entries) {
    std::string shown = "entries";
    for (const ListEntry& entry : entries)
        shown += " " + entry.text + (entry.selected ? "+" : "-");
    log.push_back(shown);
}
void FakeDesktop::showProcedures(int entry, std::span<const ProcedureRow> rows) {
    procedures[entry].assign(rows.begin(), rows.end());
    log.push_back("procedures " + std::to_string(entry));
}
void FakeDesktop::setEntrySelected(int index, bool selected) {
    log.push_back("tick " + std::to_string(index) + (selected ? " on" : " off"));
}
void FakeDesktop::setCurrentEntry(int index) {
    log.push_back("current " + std::to_string(index));
}
void FakeDesktop::setProjectLabel(std::string_view projectPath) {
    log.push_back("label " + std::string(projectPath));
}
void FakeDesktop::enableInsertAndRemove() {
    log.push_back("enable insert remove");
}
void FakeDesktop::setProgressRange(int minimum, int maximum) {
    log.push_back("bar range " + std::to_string(minimum) + " " + std::to_string(maximum));
}
void FakeDesktop::setProgressValue(int value) {
    log.push_back("bar value " + std::to_string(value));
}
void FakeDesktop::setProgressVisible(bool visible) {
    log.push_back(visible ? "bar shown" : "bar hidden");
}
void FakeDesktop::Play_Sound(int id) {
    if (id == kClickCue && clickFails)
        throw std::runtime_error("no click cue");
    log.push_back("play " + std::to_string(id));
}
void FakeDesktop::Stop_Sound() {
    log.push_back("stop");
}
void FakeDesktop::restorePlacement(const WindowPlacement& stored) {
    const ScreenRect& rect = stored.normal;
    log.push_back("placement " + std::to_string(rect.left) + " " + std::to_string(rect.top) + " " +
                  std::to_string(rect.width) + " " + std::to_string(rect.height) +
                  (stored.maximized ? " maximized" : ""));
}
void FakeDesktop::focusList() {
    log.push_back("focus list");
}
void FakeDesktop::sendHelpKey() {
    log.push_back("help key");
}
void FakeDesktop::showHelpSection(std::string_view section) {
    log.push_back("help section " + std::string(section));
}

std::vector<std::string> FakeDesktop::only(std::initializer_list<std::string_view> prefixes) const {
    std::vector<std::string> kept;
    for (const std::string& entry : log)
        for (std::string_view prefix : prefixes)
            if (entry.starts_with(prefix)) {
                kept.push_back(entry);
                break;
            }
    return kept;
}

CoreProgram::CoreProgram() {
    main.MDIForm_Load();
    module.Load_Settings(desktop);
}

} // namespace faultward::coretest
