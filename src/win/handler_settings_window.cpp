#include "win/handler_settings_window.h"

#include "app/desktop/handler_settings_captions.h"
#include "app/desktop/handler_settings_dialog.h"
#include "platform/win32_text.h"
#include "win/message_boxes.h"
#include "win/resource_ids.h"

#include <array>

namespace faultward::win {
namespace {

struct Session {
    HandlerSettingsDialog& dialog;
    MessageBoxes& messages;
    HWND& shownAt;
};

template <typename Kind> struct KindBox {
    int id;
    Kind kind;
};
constexpr std::array<KindBox<ProcedureKind>, 3> kProcedureBoxes{{
    {FW_IDC_PROC_SUB, ProcedureKind::Sub},
    {FW_IDC_PROC_FUNCTION, ProcedureKind::Function},
    {FW_IDC_PROC_PROPERTY, ProcedureKind::Property},
}};
constexpr std::array<KindBox<SourceKind>, 5> kFileBoxes{{
    {FW_IDC_FILE_FRM, SourceKind::Form},
    {FW_IDC_FILE_BAS, SourceKind::Module},
    {FW_IDC_FILE_CLS, SourceKind::Class},
    {FW_IDC_FILE_CTL, SourceKind::UserControl},
    {FW_IDC_FILE_DOC, SourceKind::Document},
}};

struct CaptionedControl {
    SettingsControl control;
    int id;
};
constexpr std::array<CaptionedControl, 20> kCaptionedControls{{
    {SettingsControl::ProceduresGroup, FW_IDC_PROCEDURES},
    {SettingsControl::Sub, FW_IDC_PROC_SUB},
    {SettingsControl::Function, FW_IDC_PROC_FUNCTION},
    {SettingsControl::Property, FW_IDC_PROC_PROPERTY},
    {SettingsControl::FilesGroup, FW_IDC_FILES},
    {SettingsControl::Forms, FW_IDC_FILE_FRM},
    {SettingsControl::Modules, FW_IDC_FILE_BAS},
    {SettingsControl::Classes, FW_IDC_FILE_CLS},
    {SettingsControl::UserControls, FW_IDC_FILE_CTL},
    {SettingsControl::Documents, FW_IDC_FILE_DOC},
    {SettingsControl::SkipHandled, FW_IDC_SKIP_HANDLED},
    {SettingsControl::LineNumbers, FW_IDC_LINE_NUMBERS},
    {SettingsControl::KeepWithProject, FW_IDC_KEEP_PROJECT},
    {SettingsControl::HandlerGroup, FW_IDC_HANDLER_CODE},
    {SettingsControl::ModeChoice, FW_IDC_HANDLER_MODE},
    {SettingsControl::TemplateChoice, FW_IDC_HANDLER_FILE},
    {SettingsControl::Browse, FW_IDC_BROWSE},
    {SettingsControl::Ok, IDOK},
    {SettingsControl::Cancel, IDCANCEL},
    {SettingsControl::Help, IDHELP},
}};

void check(HWND window, int id, bool checked) {
    CheckDlgButton(window, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool checked(HWND window, int id) {
    return IsDlgButtonChecked(window, id) == BST_CHECKED;
}

void chooseHandler(HWND window, HandlerSource source) {
    CheckRadioButton(window, FW_IDC_HANDLER_MODE, FW_IDC_HANDLER_FILE,
                     source == HandlerSource::Template ? FW_IDC_HANDLER_FILE : FW_IDC_HANDLER_MODE);
}

std::string templatePath(HWND window) {
    HWND field = GetDlgItem(window, FW_IDC_TEMPLATE_PATH);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(field)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(field, text.data(), static_cast<int>(text.size()))));
    return win32::bytesFromWide(text);
}

void showSettings(HWND window, const HandlerSettings& settings) {
    for (const auto& box : kProcedureBoxes)
        check(window, box.id, settings.procedures.has(box.kind));
    for (const auto& box : kFileBoxes)
        check(window, box.id, settings.files.has(box.kind));
    check(window, FW_IDC_SKIP_HANDLED, settings.skipHandled);
    check(window, FW_IDC_LINE_NUMBERS, settings.lineNumbers);
    chooseHandler(window, settings.handler);
    SetDlgItemTextW(window, FW_IDC_TEMPLATE_PATH,
                    win32::wideFromBytes(settings.templatePath).c_str());
}

// The box names the project's file; without a project it keeps the table's
// caption and cannot be used.
void offerKeepWithProject(HWND window, const HandlerSettingsDialog& dialog) {
    const std::string& caption = dialog.keepWithProjectCaption();
    if (!caption.empty())
        SetDlgItemTextW(window, FW_IDC_KEEP_PROJECT, win32::wideFromBytes(caption).c_str());
    EnableWindow(GetDlgItem(window, FW_IDC_KEEP_PROJECT), caption.empty() ? FALSE : TRUE);
    check(window, FW_IDC_KEEP_PROJECT, dialog.keepWithProject());
}

void enableTemplateRow(HWND window, const HandlerSettingsDialog& dialog) {
    const BOOL enabled = dialog.templatePathEnabled() ? TRUE : FALSE;
    EnableWindow(GetDlgItem(window, FW_IDC_TEMPLATE_PATH), enabled);
    EnableWindow(GetDlgItem(window, FW_IDC_BROWSE), enabled);
}

void handlerChosen(HWND window, HandlerSettingsDialog& dialog) {
    dialog.setHandlerSource(checked(window, FW_IDC_HANDLER_FILE) ? HandlerSource::Template
                                                                 : HandlerSource::Mode);
    enableTemplateRow(window, dialog);
}

// The controls' states into the core, as OK and Browse find them.
void takeSettings(HWND window, HandlerSettingsDialog& dialog) {
    for (const auto& box : kProcedureBoxes)
        dialog.setProcedureKind(box.kind, checked(window, box.id));
    for (const auto& box : kFileBoxes)
        dialog.setSourceKind(box.kind, checked(window, box.id));
    dialog.setSkipHandled(checked(window, FW_IDC_SKIP_HANDLED));
    dialog.setLineNumbers(checked(window, FW_IDC_LINE_NUMBERS));
    dialog.setHandlerSource(checked(window, FW_IDC_HANDLER_FILE) ? HandlerSource::Template
                                                                 : HandlerSource::Mode);
    dialog.setTemplatePath(templatePath(window));
    dialog.setKeepWithProject(checked(window, FW_IDC_KEEP_PROJECT));
}

void browse(HWND window, Session& session) {
    takeSettings(window, session.dialog);
    if (const auto chosen = session.dialog.browse()) {
        SetDlgItemTextW(window, FW_IDC_TEMPLATE_PATH, win32::wideFromBytes(*chosen).c_str());
        chooseHandler(window, HandlerSource::Template);
        enableTemplateRow(window, session.dialog);
    }
}

void ok(HWND window, Session& session) {
    takeSettings(window, session.dialog);
    if (const auto problem = session.dialog.ok()) {
        session.messages.showMessage(window, *problem, MessageIcon::Warning);
        return;
    }
    EndDialog(window, IDOK);
}

void cancel(HWND window, Session& session) {
    session.dialog.cancel();
    EndDialog(window, IDCANCEL);
}

void start(HWND window, Session& session) {
    SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(&session));
    session.shownAt = window;
    SetWindowTextW(window, win32::wideFromBytes(kHandlerSettingsTitle).c_str());
    for (const CaptionedControl& each : kCaptionedControls)
        SetDlgItemTextW(window, each.id,
                        win32::wideFromBytes(settingsCaption(each.control)).c_str());
    showSettings(window, session.dialog.settings());
    offerKeepWithProject(window, session.dialog);
    enableTemplateRow(window, session.dialog);
}

bool command(HWND window, Session& session, int id) {
    switch (id) {
    case IDOK:
        ok(window, session);
        return true;
    case IDCANCEL:
        cancel(window, session);
        return true;
    case IDHELP:
        session.dialog.help();
        return true;
    case FW_IDC_BROWSE:
        browse(window, session);
        return true;
    case FW_IDC_HANDLER_MODE:
    case FW_IDC_HANDLER_FILE:
        handlerChosen(window, session.dialog);
        return true;
    default:
        return false;
    }
}

INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        start(window, *reinterpret_cast<Session*>(lParam));
        return TRUE;
    }
    auto* session = reinterpret_cast<Session*>(GetWindowLongPtrW(window, DWLP_USER));
    if (!session)
        return FALSE;
    switch (message) {
    case WM_COMMAND:
        return command(window, *session, LOWORD(wParam));
    case WM_HELP:
        // F1 anywhere in the dialog.
        session->dialog.help();
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

void runHandlerSettingsWindow(HWND owner, HandlerSettingsDialog& dialog, MessageBoxes& messages,
                              HWND& shownAt) {
    const HWND before = shownAt;
    Session session{dialog, messages, shownAt};
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(FW_IDD_HANDLER_SETTINGS), owner,
                    procedure, reinterpret_cast<LPARAM>(&session));
    shownAt = before;
}

} // namespace faultward::win
