#include "win_test_support.h"

#include "app/desktop/handler_settings_captions.h"
#include "app/desktop/handler_settings_dialog.h"
#include "app/desktop/menus.h"
#include "support/temp_folder.h"
#include "win/control_ids.h"
#include "win/resource_ids.h"

#include <gtest/gtest.h>

#include <utility>

namespace faultward::wintest {
namespace {

using faultward::testing::KeptCurrentFolder;
using faultward::testing::readFile;
using faultward::testing::TempFolder;

const std::string kTitle(kHandlerSettingsTitle);

bool isChecked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

void click(HWND dialog, int id) {
    SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void openSettings(WinProgram& program) {
    program.choose(win::kOptionItemBase + kHandlerSettingsItem);
}

// The Options item opens it; unlike the modes above it, the item is never
// checked, by a tick or a radio dot.
bool itemMarked(HMENU menu) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE;
    GetMenuItemInfoW(menu, win::kOptionItemBase + kHandlerSettingsItem, FALSE, &info);
    return (info.fType & MFT_RADIOCHECK) || (info.fState & MFS_CHECKED);
}

TEST(HandlerSettingsWindow, isAModalDialogOverTheMainWindow_showingTheStoredSettings) {
    WinProgram program;
    program.choose(win::kOptionItemBase + 2);
    EXPECT_FALSE(itemMarked(program.window->menu()));
    HandlerSettings stored;
    stored.procedures = {ProcedureKind::Function, ProcedureKind::Property};
    stored.files = {SourceKind::Class};
    stored.skipHandled = true;
    stored.lineNumbers = true;
    stored.handler = HandlerSource::Template;
    stored.templatePath = "C:\\Templates\\Log.txt";
    program.module.setHandlerSettings(stored);
    bool ran = false;
    whenShown(kTitle, [&](HWND dialog) {
        ran = true;
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), program.window->hwnd());
        EXPECT_FALSE(IsWindowEnabled(program.window->hwnd()));
        EXPECT_FALSE(isChecked(dialog, FW_IDC_PROC_SUB));
        EXPECT_TRUE(isChecked(dialog, FW_IDC_PROC_FUNCTION));
        EXPECT_TRUE(isChecked(dialog, FW_IDC_PROC_PROPERTY));
        EXPECT_FALSE(isChecked(dialog, FW_IDC_FILE_FRM));
        EXPECT_FALSE(isChecked(dialog, FW_IDC_FILE_BAS));
        EXPECT_TRUE(isChecked(dialog, FW_IDC_FILE_CLS));
        EXPECT_FALSE(isChecked(dialog, FW_IDC_FILE_CTL));
        EXPECT_TRUE(isChecked(dialog, FW_IDC_SKIP_HANDLED));
        EXPECT_TRUE(isChecked(dialog, FW_IDC_LINE_NUMBERS));
        EXPECT_FALSE(isChecked(dialog, FW_IDC_HANDLER_MODE));
        EXPECT_TRUE(isChecked(dialog, FW_IDC_HANDLER_FILE));
        EXPECT_EQ(narrow(windowText(GetDlgItem(dialog, FW_IDC_TEMPLATE_PATH))),
                  "C:\\Templates\\Log.txt");
        // The system's dialog font, not the old System font.
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)), sizeof font,
                   &font);
        EXPECT_NE(std::wstring(font.lfFaceName), L"System");
        EXPECT_EQ(SendMessageW(dialog, DM_GETDEFID, 0, 0), MAKELRESULT(IDOK, DC_HASDEFID));
        // Escape is Cancel: nothing changes.
        PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
    });
    openSettings(program);
    EXPECT_TRUE(ran);
    EXPECT_EQ(scriptsWaiting(), 0u);
    EXPECT_EQ(program.module.handlerSettings(), stored);
    EXPECT_TRUE(IsWindowEnabled(program.window->hwnd()));
    EXPECT_FALSE(itemMarked(program.window->menu()));
}

TEST(HandlerSettingsWindow, okHandsEveryControlToTheCore_aRefusalKeepsTheDialogOpen) {
    TempFolder folder;
    const auto pattern =
        folder.write("T.txt", "[trap]\nOn Error GoTo Fail\n[handler]\n{exit}\nFail:\n");
    WinProgram program;
    whenShown(kTitle, [&](HWND dialog) {
        // No procedure kind: the core's message, over the dialog, which stays.
        click(dialog, FW_IDC_PROC_SUB);
        click(dialog, IDOK);
        ASSERT_EQ(program.messages.shown.size(), 1u);
        EXPECT_EQ(program.messages.shown[0].text, kNoProcedureKindText);
        EXPECT_EQ(program.messages.shown[0].owner, dialog);
        EXPECT_TRUE(IsWindow(dialog));

        click(dialog, FW_IDC_PROC_FUNCTION);
        click(dialog, FW_IDC_FILE_FRM);
        click(dialog, FW_IDC_FILE_CTL);
        click(dialog, FW_IDC_FILE_DOC);
        click(dialog, FW_IDC_SKIP_HANDLED);
        click(dialog, FW_IDC_LINE_NUMBERS);
        click(dialog, FW_IDC_HANDLER_FILE);
        SetDlgItemTextW(dialog, FW_IDC_TEMPLATE_PATH, pattern.wstring().c_str());
        click(dialog, IDOK);
    });
    openSettings(program);
    EXPECT_EQ(scriptsWaiting(), 0u);
    EXPECT_EQ(program.messages.shown.size(), 1u);
    const HandlerSettings& settings = program.module.handlerSettings();
    EXPECT_EQ(settings.procedures, ProcedureKinds{ProcedureKind::Function});
    EXPECT_EQ(settings.files,
              (SourceKinds{SourceKind::Module, SourceKind::UserControl, SourceKind::Document}));
    EXPECT_TRUE(settings.skipHandled);
    EXPECT_TRUE(settings.lineNumbers);
    EXPECT_EQ(settings.handler, HandlerSource::Template);
    EXPECT_EQ(settings.templatePath, pattern.string());

    // Back to the mode through the dialog; the path stays for next time.
    whenShown(kTitle, [&](HWND dialog) {
        click(dialog, FW_IDC_HANDLER_MODE);
        click(dialog, IDOK);
    });
    openSettings(program);
    EXPECT_EQ(program.module.handlerSettings().handler, HandlerSource::Mode);
    EXPECT_EQ(program.module.handlerSettings().templatePath, pattern.string());
}

TEST(HandlerSettingsWindow, pathAndBrowseServeOnlyATemplate_helpAndF1OpenTheSection) {
    WinProgram program;
    program.dialog.answer = "C:\\Templates\\Chosen.txt";
    whenShown(kTitle, [&](HWND dialog) {
        const auto usable = [dialog](int id) { return IsWindowEnabled(GetDlgItem(dialog, id)); };
        EXPECT_FALSE(usable(FW_IDC_TEMPLATE_PATH));
        EXPECT_FALSE(usable(FW_IDC_BROWSE));
        click(dialog, FW_IDC_HANDLER_FILE);
        EXPECT_TRUE(usable(FW_IDC_TEMPLATE_PATH));
        EXPECT_TRUE(usable(FW_IDC_BROWSE));
        SetDlgItemTextW(dialog, FW_IDC_TEMPLATE_PATH, L"C:\\Typed.txt");
        click(dialog, FW_IDC_BROWSE);
        ASSERT_EQ(program.dialog.asked.size(), 1u);
        // The open dialog starts at what was typed, and belongs to this dialog.
        EXPECT_EQ(program.dialog.asked[0].fileName, "C:\\Typed.txt");
        EXPECT_EQ(program.dialog.asked[0].filter, kTemplateFilter);
        EXPECT_EQ(narrow(windowText(GetDlgItem(dialog, FW_IDC_TEMPLATE_PATH))),
                  "C:\\Templates\\Chosen.txt");
        click(dialog, FW_IDC_HANDLER_MODE);
        EXPECT_FALSE(usable(FW_IDC_TEMPLATE_PATH));
        EXPECT_FALSE(usable(FW_IDC_BROWSE));

        click(dialog, IDHELP);
        EXPECT_EQ(program.help.sections, std::vector<std::string>{"handlersettings"});
        // F1 on a control: what the system posts to it for the key. Then the
        // close box, which cancels Browse's choice too.
        constexpr UINT kKeyF1 = 0x004D;
        PostMessageW(GetDlgItem(dialog, FW_IDC_PROC_SUB), kKeyF1, 0, 0);
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    });
    openSettings(program);
    EXPECT_EQ(scriptsWaiting(), 0u);
    EXPECT_EQ(program.help.sections,
              (std::vector<std::string>{"handlersettings", "handlersettings"}));
    EXPECT_EQ(program.module.handlerSettings(), HandlerSettings());
}

TEST(HandlerSettingsWindow, tabVisitsEveryUsableControlOnce_inReadingOrder_captionsFromTheTable) {
    WinProgram program;
    whenShown(kTitle, [&](HWND dialog) {
        std::vector<int> order;
        HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
        HWND at = first;
        do {
            order.push_back(GetDlgCtrlID(at));
            at = GetNextDlgTabItem(dialog, at, FALSE);
        } while (at && at != first && order.size() < 40);
        // One stop for the radio group, at its chosen button; the template
        // path and Browse wait until a template is chosen.
        EXPECT_EQ(order, (std::vector<int>{FW_IDC_PROC_SUB, FW_IDC_PROC_FUNCTION,
                                           FW_IDC_PROC_PROPERTY, FW_IDC_FILE_FRM, FW_IDC_FILE_BAS,
                                           FW_IDC_FILE_CLS, FW_IDC_FILE_CTL, FW_IDC_FILE_DOC,
                                           FW_IDC_SKIP_HANDLED, FW_IDC_LINE_NUMBERS,
                                           FW_IDC_HANDLER_MODE, IDOK, IDCANCEL, IDHELP}));
        const std::pair<int, SettingsControl> captioned[] = {
            {FW_IDC_PROCEDURES, SettingsControl::ProceduresGroup},
            {FW_IDC_PROC_SUB, SettingsControl::Sub},
            {FW_IDC_PROC_FUNCTION, SettingsControl::Function},
            {FW_IDC_PROC_PROPERTY, SettingsControl::Property},
            {FW_IDC_FILES, SettingsControl::FilesGroup},
            {FW_IDC_FILE_FRM, SettingsControl::Forms},
            {FW_IDC_FILE_BAS, SettingsControl::Modules},
            {FW_IDC_FILE_CLS, SettingsControl::Classes},
            {FW_IDC_FILE_CTL, SettingsControl::UserControls},
            {FW_IDC_FILE_DOC, SettingsControl::Documents},
            {FW_IDC_SKIP_HANDLED, SettingsControl::SkipHandled},
            {FW_IDC_LINE_NUMBERS, SettingsControl::LineNumbers},
            {FW_IDC_KEEP_PROJECT, SettingsControl::KeepWithProject},
            {FW_IDC_HANDLER_CODE, SettingsControl::HandlerGroup},
            {FW_IDC_HANDLER_MODE, SettingsControl::ModeChoice},
            {FW_IDC_HANDLER_FILE, SettingsControl::TemplateChoice},
            {FW_IDC_BROWSE, SettingsControl::Browse},
            {IDOK, SettingsControl::Ok},
            {IDCANCEL, SettingsControl::Cancel},
            {IDHELP, SettingsControl::Help},
        };
        for (const auto& [id, which] : captioned)
            EXPECT_EQ(narrow(windowText(GetDlgItem(dialog, id))), settingsCaption(which)) << id;
        // No project to keep the settings with.
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, FW_IDC_KEEP_PROJECT)));
        click(dialog, IDCANCEL);
    });
    openSettings(program);
    EXPECT_EQ(scriptsWaiting(), 0u);
}

// With a project open the box names its file and takes its Tab stop before
// OK; ticked, OK keeps the settings in that file.
TEST(HandlerSettingsWindow, keepWithTheProject_namesItsFileAndReachesTheCore) {
    TempFolder folder;
    KeptCurrentFolder keptFolder;
    WinProgram program;
    program.dialog.answer = folder.write("P.vbp", "Module=A; A.bas\r\n").string();
    program.click(program.form1().cmd_tbl(0));
    whenShown(kTitle, [&](HWND dialog) {
        HWND box = GetDlgItem(dialog, FW_IDC_KEEP_PROJECT);
        EXPECT_EQ(narrow(windowText(box)), "&Keep with the project (P.faultward)");
        EXPECT_FALSE(isChecked(dialog, FW_IDC_KEEP_PROJECT));
        EXPECT_EQ(GetNextDlgTabItem(dialog, GetDlgItem(dialog, FW_IDC_HANDLER_MODE), FALSE), box);
        EXPECT_EQ(GetNextDlgTabItem(dialog, box, FALSE), GetDlgItem(dialog, IDOK));
        click(dialog, FW_IDC_KEEP_PROJECT);
        click(dialog, IDOK);
    });
    openSettings(program);
    EXPECT_EQ(scriptsWaiting(), 0u);
    EXPECT_NE(readFile(folder / "P.faultward").find("[Handler]"), std::string::npos);
    EXPECT_TRUE(program.messages.shown.empty());
}

} // namespace
} // namespace faultward::wintest
