#include "platform/win32_text.h"
#include "win/file_dialog.h"

#include <cderr.h>
#include <commdlg.h>
#include <shobjidl.h>

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

// Releases a COM interface when it goes.
template <typename Interface> struct Held {
    Interface* object = nullptr;
    ~Held() {
        if (object)
            object->Release();
    }
};

// The folder picker: opened at the preset folder (or the preset file's),
// gives back the chosen folder's path.
std::optional<std::string> pickFolder(HWND owner, const std::string& preset) {
    Held<IFileOpenDialog> dialog;
    if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IFileOpenDialog, reinterpret_cast<void**>(&dialog.object))))
        return std::nullopt;
    FILEOPENDIALOGOPTIONS options = 0;
    dialog.object->GetOptions(&options);
    dialog.object->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
    if (!preset.empty()) {
        const std::wstring wide = win32::wideFromBytes(preset);
        Held<IShellItem> start;
        if (SUCCEEDED(SHCreateItemFromParsingName(wide.c_str(), nullptr, IID_IShellItem,
                                                  reinterpret_cast<void**>(&start.object))))
            dialog.object->SetFolder(start.object);
    }
    if (FAILED(dialog.object->Show(owner)))
        return std::nullopt; // cancelled, or no dialog to show
    Held<IShellItem> result;
    if (FAILED(dialog.object->GetResult(&result.object)))
        return std::nullopt;
    PWSTR path = nullptr;
    if (FAILED(result.object->GetDisplayName(SIGDN_FILESYSPATH, &path)))
        return std::nullopt;
    std::string bytes = win32::bytesFromWide(path);
    CoTaskMemFree(path);
    return bytes;
}

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

    std::optional<std::string> askFolder(HWND owner, const std::string& preset) override {
        // The system's folder picker is a COM object; the thread may not
        // have COM yet, and gives it back as it found it.
        const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        std::optional<std::string> chosen = pickFolder(owner, preset);
        if (SUCCEEDED(com))
            CoUninitialize();
        return chosen;
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
