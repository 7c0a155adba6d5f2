#pragma once

#include "app/desktop/views.h"
#include "app/desktop/window_layout.h"
#include "win/dpi.h"
#include "win/file_tree.h"

#include <commctrl.h>
#include <windows.h>

#include <map>
#include <memory>

namespace faultward::win {

class MDIForm1;

// The project files window, a child of the main window without a caption:
// the tool row, the etched rule, the project's path, the list of its source
// files with a check box per entry, each of which opens into its procedures,
// Select All / Select None, and the progress bar of the passes. Made larger
// than its first size, its parts follow the core's anchors. What it does
// lives in the core; this window shows it and hands the user's clicks and
// ticks over.
class Form1 final : public ProjectFilesView {
public:
    static constexpr const wchar_t* kClassName = L"Form1";

    explicit Form1(MDIForm1& main);
    ~Form1() override;
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    void show();
    // Notes the control with the focus, for when the window has it again.
    void rememberFocus();
    // Places and sizes everything again for a new DPI.
    void applyDpi(int dpi);
    // Takes the size of its first, grown by the main window's growth.
    void fitTo(Growth growth);

    // Tool row: hands the button's index to the main window as a command number.
    void cmd_tbl_Click(int Index);
    // 0 ticks every entry, any other index clears every tick.
    void cmd_sel_Click(int Index);

    HWND hwnd() const { return hwnd_; }
    HWND List1() const { return list_->hwnd(); }
    const FileTree& fileTree() const { return *list_; }
    HWND lbl_proh() const { return label_; }
    HWND ProgressBar1() const { return progressBar_; }
    HWND tooltips() const { return tooltips_; }
    // Index 0, 2, 4 or 7.
    HWND cmd_tbl(int Index) const { return toolButtons_.at(Index); }
    // Index 0 or 1.
    HWND cmd_sel(int Index) const { return selectButtons_.at(Index); }

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

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    void createToolRow();
    void setPictures();
    // The fonts and pictures at the window's DPI, then the places.
    void layout();
    // Each part where its anchor puts it for the window's size.
    void placeParts();
    Growth growth() const;
    // What handle does for the messages that need more than a line.
    bool buttonClicked(int id);
    LRESULT labelColours(HDC dc) const;
    void paint() const;
    void passFocusOn() const;
    // The list's notifications, each to its own function.
    LRESULT listNotified(NMHDR& header);
    void itemOpening(const NMTREEVIEWW& change);
    LRESULT keyPressed(const NMTVKEYDOWN& key);
    void clicked();
    // The tree view changes a check box after it tells of the key or click
    // that changes it: the place is posted, and its tick read back then.
    void postTickTaken(HTREEITEM item);
    void tickTaken(TreePlace place);
    HWND createControl(const wchar_t* windowClass, const std::wstring& text, DWORD style, int id,
                       DWORD exStyle = 0);

    MDIForm1& main_;
    HWND hwnd_ = nullptr;
    int dpi_ = USER_DEFAULT_SCREEN_DPI;
    std::map<int, HWND> toolButtons_;
    std::map<int, HWND> selectButtons_;
    std::unique_ptr<FileTree> list_;
    HWND label_ = nullptr;
    HWND progressBar_ = nullptr;
    HWND tooltips_ = nullptr;
    HIMAGELIST pictures_[4] = {};
    OwnedFont font_;
    OwnedFont labelFont_;
    OwnedFont captionFont_;
    HWND lastFocus_ = nullptr;
};

} // namespace faultward::win
