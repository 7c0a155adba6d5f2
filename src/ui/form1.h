#pragma once

#include "app/desktop/views.h"

#include <QWidget>

#include <map>

class QProgressBar;
class QPushButton;

namespace faultward {

class MDIForm1;
class PathLabel;
class ProjectFilesTree;

// The project files window: the tool row, the list of the project's source
// files with a tick per entry, each opening into its procedures, Select All /
// Select None, and the progress bar of the passes. Made larger than its first
// size, its parts follow the core's anchors. What it does lives in the core;
// this window shows it and hands the user's clicks and ticks over.
class Form1 : public QWidget, public ProjectFilesView {
    Q_OBJECT
public:
    explicit Form1(MDIForm1& main, QWidget* parent = nullptr);

    // Tool row: hands the button's index to the main window as a command number.
    void cmd_tbl_Click(int Index);
    // 0 ticks every entry, any other index clears every tick.
    void cmd_sel_Click(int Index);

    ProjectFilesTree& List1() { return *list_; }
    PathLabel& lbl_proh() { return *label_; }
    QProgressBar& ProgressBar1() { return *progressBar_; }
    // Index 0, 2, 4 or 7.
    QPushButton& cmd_tbl(int Index) { return *toolButtons_.at(Index); }

    void showEntries(std::span<const ListEntry> entries) override;
    void setEntrySelected(int index, bool selected) override;
    void setCurrentEntry(int index) override;
    void setProjectLabel(std::string_view projectPath) override;
    void enableInsertAndRemove() override;
    void setProgressRange(int minimum, int maximum) override;
    void setProgressValue(int value) override;
    void setProgressVisible(bool visible) override;
    void showProcedures(int entry, std::span<const ProcedureRow> rows) override;
    void focusList() override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void createToolRow();
    void createRule();
    void createSelectButtons();
    // Each part where its anchor puts it for the window's size.
    void placeParts();

    MDIForm1& main_;
    std::map<int, QPushButton*> toolButtons_;
    std::map<int, QPushButton*> selectButtons_;
    QWidget* ruleLines_[2] = {};
    ProjectFilesTree* list_ = nullptr;
    PathLabel* label_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
};

} // namespace faultward
