#pragma once

#include <QWidget>

#include <filesystem>
#include <map>

class QListWidget;
class QProgressBar;
class QPushButton;

namespace faultward {

class FailureCollector;
class MDIForm1;
class Module1;
class PassObserver;
class PathLabel;

// The project files window: the tool row, the list of the project's source
// files with a tick per entry, Select All / Select None, and the progress bar
// of the two passes it owns.
class Form1 : public QWidget {
    Q_OBJECT
public:
    Form1(MDIForm1& main, Module1& module, QWidget* parent = nullptr);

    // The passes over the ticked entries, in list order; files that could not
    // be processed are added to failures when given.
    void Insert_ErrH(FailureCollector* failures = nullptr);
    void Remove_ErrH(FailureCollector* failures = nullptr);

    // Tool row: hands the button's index to the main window as a command number.
    void cmd_tbl_Click(int Index);
    // 0 ticks every entry, any other index clears every tick.
    void cmd_sel_Click(int Index);

    QListWidget& List1() { return *list_; }
    PathLabel& lbl_proh() { return *label_; }
    QProgressBar& ProgressBar1() { return *progressBar_; }
    // Index 0, 2, 4 or 7.
    QPushButton& cmd_tbl(int Index) { return *toolButtons_.at(Index); }

    // Where relative entries are found; the Open command sets the project's folder.
    void setProjectFolder(std::filesystem::path folder) { projectFolder_ = std::move(folder); }
    // Also told everything the passes report, after the window has shown it.
    void setPassWatcher(PassObserver* watcher) { watcher_ = watcher; }

private:
    void createToolRow();
    void createRule();
    std::filesystem::path baseFolder() const;

    MDIForm1& main_;
    Module1& module_;
    std::map<int, QPushButton*> toolButtons_;
    QListWidget* list_ = nullptr;
    PathLabel* label_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    std::filesystem::path projectFolder_;
    PassObserver* watcher_ = nullptr;
};

} // namespace faultward
