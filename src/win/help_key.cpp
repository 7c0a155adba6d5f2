#include "win/help_key.h"

#include "app/desktop/help_file.h"
#include "platform/win32_text.h"

#include <shellapi.h>
#include <shlwapi.h>

namespace faultward::win {
namespace {

// WM_KEYDOWN's data for one press of F1: repeat count 1, the key's scan code.
constexpr LPARAM kF1KeyData = (0x3B << 16) | 1;

// file:///C:/Program%20Files/... for the page at path.
std::wstring fileUrl(const std::wstring& path) {
    // Room for the longest path, each character escaped as %XX.
    std::wstring url(3 * (path.size() + 16), L'\0');
    DWORD length = static_cast<DWORD>(url.size());
    if (FAILED(UrlCreateFromPathW(path.c_str(), url.data(), &length, 0)))
        return L"file:///" + path;
    url.resize(length);
    return url;
}

} // namespace

HelpKey::HelpKey(std::filesystem::path helpFile, MessageBoxes& messages, Opener open)
    : helpFile_(std::move(helpFile)), messages_(messages), open_(std::move(open)) {}

void HelpKey::sendHelpKey() {
    HWND target = GetFocus();
    if (!target)
        target = GetActiveWindow();
    // While the program is not the active one no window of it has the
    // focus; the key then goes to the thread, where the loop finds it too.
    if (target)
        PostMessageW(target, WM_KEYDOWN, VK_F1, kF1KeyData);
    else
        PostThreadMessageW(GetCurrentThreadId(), WM_KEYDOWN, VK_F1, kF1KeyData);
}

bool HelpKey::handleKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_F1)
        return false;
    // Held down, the key repeats; one press opens the help once.
    if (!(msg.lParam & (1 << 30)))
        showHelp(GetActiveWindow());
    return true;
}

void HelpKey::showHelp(HWND owner) {
    show(owner, helpFile_.wstring());
}

void HelpKey::showHelpSection(std::string_view section) {
    show(GetActiveWindow(), fileUrl(helpFile_.wstring()) + L"#" + win32::wideFromBytes(section));
}

void HelpKey::show(HWND owner, const std::wstring& target) {
    const std::wstring file = helpFile_.wstring();
    const DWORD attributes = GetFileAttributesW(file.c_str());
    const std::string shown = win32::utf8FromWide(file);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        messages_.showMessage(owner, missingHelpText(shown), MessageIcon::Warning);
    else if (!open_(owner, target))
        messages_.showMessage(owner, unopenedHelpText(shown), MessageIcon::Warning);
}

bool HelpKey::openInBrowser(HWND owner, const std::wstring& file) {
    if (file.find(L'#') != std::wstring::npos) {
        std::wstring browser(MAX_PATH, L'\0');
        DWORD length = static_cast<DWORD>(browser.size());
        if (SUCCEEDED(AssocQueryStringW(ASSOCF_NONE, ASSOCSTR_EXECUTABLE, L".html", L"open",
                                        browser.data(), &length))) {
            browser.resize(wcslen(browser.c_str()));
            const std::wstring argument = L"\"" + file + L"\"";
            const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(
                owner, L"open", browser.c_str(), argument.c_str(), nullptr, SW_SHOWNORMAL));
            if (result > 32)
                return true;
        }
    }
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(owner, L"open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

} // namespace faultward::win
