#pragma once

#include "app/desktop/window_placement.h"
#include "rewrite/handling_mode.h"
#include "rewrite/pass_types.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace faultward {

// What the core asks of the windows a front end shows. Texts for people are
// UTF-8; paths and list entries are the bytes the program works with, and the
// front end turns them into what it shows.

enum class MessageIcon { None, Warning };

class HandlerSettingsDialog;
class ReportWindow;

// The file-open dialog: the preset file (path bytes), whose folder is where
// the dialog opens, the filters and the filter shown first, counting from 1.
struct OpenFileRequest {
    std::string fileName;
    std::string_view filter;
    int filterIndex = 1;
};

// The file-save dialog: the preset file, the filters, the filter shown first
// and the extension added to a name typed without one (no dot).
struct SaveFileRequest {
    std::string fileName;
    std::string_view filter;
    int filterIndex = 1;
    std::string_view defaultExtension;
};

// The main window: caption, menus, the application-wide pointer, message
// boxes and the dialogs it owns.
class MainWindowView {
public:
    virtual ~MainWindowView() = default;
    virtual void setCaption(std::string_view text) = 0;
    // The Options item of a mode that has one (isModeItem).
    virtual void setModeChecked(HandlingMode mode, bool checked) = 0;
    virtual void showBusyPointer() = 0;
    virtual void showDefaultPointer() = 0;
    // Returns once the user has closed the box (OK only). details, when not
    // empty, is more text the box offers on request, to read and to copy.
    virtual void showMessage(std::string_view text, MessageIcon icon, std::string_view details) = 0;
    // A question with a warning, Yes and No (the default): true for Yes.
    virtual bool askYesNo(std::string_view text) = 0;
    // The same box with a button captioned choice (its access key marked
    // with &) beside OK; true when the user closed it with that button.
    virtual bool showMessageWithChoice(std::string_view text, MessageIcon icon,
                                       std::string_view details, std::string_view choice) = 0;
    // The chosen file's full path, which need not exist; nothing on cancel.
    virtual std::optional<std::string> askOpenFile(const OpenFileRequest& request) = 0;
    // The folder-choosing dialog, opened where preset (path bytes) is: the
    // chosen folder's full path; nothing on cancel.
    virtual std::optional<std::string> askOpenFolder(const std::string& preset) = 0;
    // The chosen path, which may exist (the dialog asked to replace it);
    // nothing on cancel.
    virtual std::optional<std::string> askSaveFile(const SaveFileRequest& request) = 0;
    // Shows the Handler Settings dialog, modal over the main window, and
    // returns once the dialog has closed.
    virtual void showHandlerSettings(HandlerSettingsDialog& dialog) = 0;
    // Shows a modal, read-only text window and returns once it has closed.
    virtual void showReport(ReportWindow& window) = 0;
    virtual void showAbout() = 0;
    // Ends the program at once: no window is told, nothing is saved.
    virtual void endProgramNow() = 0;
    // Where the user left the window last time, before it first shows.
    virtual void restorePlacement(const WindowPlacement& /*stored*/) {}
    // Where the window is now, kept as it closes; nothing to keep none.
    virtual std::optional<WindowPlacement> placement() const { return std::nullopt; }
};

// A procedure of an entry's file, as the list shows it under the entry: its
// head ("Sub Form_Load"), its state ("has a handler", "left alone:
// one-line") and whether it is ticked, that is not left alone by choice.
struct ProcedureRow {
    std::string text;
    std::string state;
    bool selected = true;
    bool operator==(const ProcedureRow&) const = default;
};

// Between a procedure's head and its state where a row reads as one line: to
// a screen reader, and in the Win32 tree's items.
inline constexpr std::string_view kHeadStateSeparator = " \u2014 ";

// The project files window: the list with a tick per entry, the label above
// it, the Insert and Remove buttons and the progress bar over the label.
class ProjectFilesView {
public:
    virtual ~ProjectFilesView() = default;
    // Replaces the list's entries, in this order, with these ticks.
    virtual void showEntries(std::span<const ListEntry> entries) = 0;
    virtual void setEntrySelected(int index, bool selected) = 0;
    // -1 for none; never changes a tick.
    virtual void setCurrentEntry(int index) = 0;
    virtual void setProjectLabel(std::string_view projectPath) = 0;
    virtual void enableInsertAndRemove() = 0;
    // Only ranges with room in them (maximum above minimum) are given.
    virtual void setProgressRange(int minimum, int maximum) = 0;
    virtual void setProgressValue(int value) = 0;
    virtual void setProgressVisible(bool visible) = 0;
    // The procedures under an entry, once the user opened it.
    virtual void showProcedures(int /*entry*/, std::span<const ProcedureRow> /*rows*/) {}
    // The list takes the keyboard, with a mark on its current row.
    virtual void focusList() {}
};

} // namespace faultward
