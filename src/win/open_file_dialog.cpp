#include "platform/win32_text.h"
#include "win/file_dialog.h"

#include <cderr.h>
#include <commdlg.h>

#include <algorithm>
#include <vector>

namespace faultward::win {

std::wstring dialogFilter(std::string_view filter) {
    std::wstring parts = win32::wideFromBytes(filter);
    for (wchar_t& c : parts)
        if (c == L'|')
            c = L'\0';
    // One zero ends the last part, another the list.
    parts.push_back(L'\0');
    parts.push_back(L'\0');
    return parts;
}

namespace {

// Room for the longest path Windows names, with its terminator.
constexpr std::size_t kPathRoom = 32768;

// What the open and the save dialog set alike: the owner, the filters, and
// the buffer for the chosen path with the preset in it. The structure points
// into the object, which therefore stays where it was made.
struct FileNameDialog {
    FileNameDialog(HWND owner, std::string_view filterText, int filterIndex,
                   std::string_view fileName)
        : filter(dialogFilter(filterText)), file(kPathRoom, L'\0'),
          preset(win32::wideFromBytes(fileName)) {
        preset.copy(file.data(), std::min(preset.size(), kPathRoom - 1));
        fields.lStructSize = sizeof fields;
        fields.hwndOwner = owner;
        fields.lpstrFilter = filter.c_str();
        fields.nFilterIndex = static_cast<DWORD>(filterIndex);
        fields.lpstrFile = file.data();
        fields.nMaxFile = static_cast<DWORD>(file.size());
    }
    FileNameDialog(const FileNameDialog&) = delete;
    FileNameDialog& operator=(const FileNameDialog&) = delete;

    std::string chosen() const { return win32::bytesFromWide(file.data()); }

    std::wstring filter;
    std::vector<wchar_t> file;
    std::wstring preset;
    OPENFILENAMEW fields{};
};

class CommonFileDialog final : public FileDialog {
public:
    std::optional<std::string> askOpenFile(HWND owner, const OpenFileRequest& request) override {
        FileNameDialog dialog(owner, request.filter, request.filterIndex, request.fileName);
        // Hide the read-only box; nothing else. The file need not exist, and
        // the chosen file's folder becomes the current folder.
        dialog.fields.Flags = OFN_HIDEREADONLY | OFN_EXPLORER;
        if (GetOpenFileNameW(&dialog.fields))
            return dialog.chosen();
        // A stored path the dialog cannot take (a name with characters no
        // file name has) would keep it from ever opening again: it opens
        // once more without the preset instead.
        if (CommDlgExtendedError() != FNERR_INVALIDFILENAME || dialog.preset.empty())
            return std::nullopt;
        std::fill(dialog.file.begin(), dialog.file.end(), L'\0');
        if (GetOpenFileNameW(&dialog.fields))
            return dialog.chosen();
        return std::nullopt;
    }

    std::optional<std::string> askSaveFile(HWND owner, const SaveFileRequest& request) override {
        FileNameDialog dialog(owner, request.filter, request.filterIndex, request.fileName);
        const std::wstring extension = win32::wideFromBytes(request.defaultExtension);
        dialog.fields.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
        // The list's entries may be relative to the current folder: saving
        // a report elsewhere must not move it.
        dialog.fields.Flags = OFN_HIDEREADONLY | OFN_EXPLORER | OFN_OVERWRITEPROMPT |
                              OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
        if (GetSaveFileNameW(&dialog.fields))
            return dialog.chosen();
        return std::nullopt;
    }
};

} // namespace

std::unique_ptr<FileDialog> makeCommonFileDialog() {
    return std::make_unique<CommonFileDialog>();
}

} // namespace faultward::win
