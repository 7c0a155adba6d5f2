#pragma once

#include "app/desktop/views.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

namespace faultward::win {

// The file-open and file-save dialogs, behind an interface so tests can script
// the answer.
class FileDialog {
public:
    virtual ~FileDialog() = default;
    // The chosen file's full path in WTF-8, which need not exist; nothing on
    // cancel.
    virtual std::optional<std::string> askOpenFile(HWND owner, const OpenFileRequest& request) = 0;
    // The chosen folder's full path in WTF-8, the dialog opened at preset
    // (path bytes) or its folder; nothing on cancel.
    virtual std::optional<std::string> askFolder(HWND owner, const std::string& preset) = 0;
    // The path to write, which the dialog asked to replace if it exists;
    // nothing on cancel. Leaves the current folder as it was.
    virtual std::optional<std::string> askSaveFile(HWND owner, const SaveFileRequest& request) = 0;
};

// The system's common dialog. A successful choice leaves the current folder
// at the chosen file's folder.
std::unique_ptr<FileDialog> makeCommonFileDialog();

// "description|pattern|..." as the common dialog takes it: each part ended
// by a zero character, the list by a second one.
std::wstring dialogFilter(std::string_view filter);

} // namespace faultward::win
