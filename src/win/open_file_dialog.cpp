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

class CommonFileDialog final : public FileDialog {
public:
    std::optional<std::string> askOpenFile(HWND owner, const OpenFileRequest& request) override {
        const std::wstring filter = dialogFilter(request.filter);
        std::vector<wchar_t> file(kPathRoom, L'\0');
        const std::wstring preset = win32::wideFromBytes(request.fileName);
        preset.copy(file.data(), std::min(preset.size(), kPathRoom - 1));

        OPENFILENAMEW dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = owner;
        dialog.lpstrFilter = filter.c_str();
        dialog.nFilterIndex = static_cast<DWORD>(request.filterIndex);
        dialog.lpstrFile = file.data();
        dialog.nMaxFile = static_cast<DWORD>(file.size());
        // Hide the read-only box; nothing else. The file need not exist, and
        // the chosen file's folder becomes the current folder.
        dialog.Flags = OFN_HIDEREADONLY | OFN_EXPLORER;
        if (GetOpenFileNameW(&dialog))
            return win32::bytesFromWide(file.data());
        // A stored path the dialog cannot take (a name with characters no
        // file name has) would keep it from ever opening again: it opens
        // once more without the preset instead.
        if (CommDlgExtendedError() != FNERR_INVALIDFILENAME || preset.empty())
            return std::nullopt;
        std::fill(file.begin(), file.end(), L'\0');
        if (GetOpenFileNameW(&dialog))
            return win32::bytesFromWide(file.data());
        return std::nullopt;
    }

    std::optional<std::string> askSaveFile(HWND owner, const SaveFileRequest& request) override {
        const std::wstring filter = dialogFilter(request.filter);
        const std::wstring extension = win32::wideFromBytes(request.defaultExtension);
        std::vector<wchar_t> file(kPathRoom, L'\0');
        const std::wstring preset = win32::wideFromBytes(request.fileName);
        preset.copy(file.data(), std::min(preset.size(), kPathRoom - 1));

        OPENFILENAMEW dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = owner;
        dialog.lpstrFilter = filter.c_str();
        dialog.nFilterIndex = static_cast<DWORD>(request.filterIndex);
        dialog.lpstrFile = file.data();
        dialog.nMaxFile = static_cast<DWORD>(file.size());
        dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
        // The list's entries may be relative to the current folder: saving
        // a report elsewhere must not move it.
        dialog.Flags = OFN_HIDEREADONLY | OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST |
                       OFN_NOCHANGEDIR;
        if (GetSaveFileNameW(&dialog))
            return win32::bytesFromWide(file.data());
        return std::nullopt;
    }
};

} // namespace

std::unique_ptr<FileDialog> makeCommonFileDialog() {
    return std::make_unique<CommonFileDialog>();
}

} // namespace faultward::win
