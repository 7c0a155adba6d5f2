#include "win/form1.h"

#include "app/desktop/layout.h"
#include "app/desktop/main_window_logic.h"
#include "app/desktop/project_files_logic.h"
#include "app/desktop/tool_row_rules.h"
#include "app/texts/texts.h"
#include "platform/win32_text.h"
#include "win/control_ids.h"
#include "win/etched_rule.h"
#include "win/mdi_form1.h"
#include "win/pointer.h"
#include "win/resource_ids.h"
#include "win/window_object.h"

#include <windowsx.h>

namespace faultward::win {
namespace {

std::wstring wide(std::string_view utf8) {
    return win32::wideFromBytes(utf8);
}

// Posted to the window with a place of the list (wParam the entry, lParam
// the procedure) whose check box the user may have changed.
constexpr UINT kTickTaken = WM_APP + 1;

constexpr const char* kCaptionFace = "MS Shell Dlg";

// A tool picture at dpi: drawn for 96, stretched to the size it has there.
HIMAGELIST loadPicture(int resourceId, int dpi) {
    const auto load = [resourceId](int width, int height) {
        return static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr),
                                               MAKEINTRESOURCEW(resourceId), IMAGE_BITMAP, width,
                                               height, LR_CREATEDIBSECTION));
    };
    HBITMAP bitmap = load(0, 0);
    if (!bitmap)
        return nullptr;
    BITMAP shape{};
    GetObjectW(bitmap, sizeof shape, &shape);
    if (dpi != USER_DEFAULT_SCREEN_DPI) {
        const int width = MulDiv(shape.bmWidth, dpi, USER_DEFAULT_SCREEN_DPI);
        const int height = MulDiv(shape.bmHeight, dpi, USER_DEFAULT_SCREEN_DPI);
        if (HBITMAP scaled = load(width, height)) {
            DeleteObject(bitmap);
            bitmap = scaled;
            GetObjectW(bitmap, sizeof shape, &shape);
        }
    }
    HIMAGELIST list = ImageList_Create(shape.bmWidth, shape.bmHeight, ILC_COLOR32, 1, 0);
    ImageList_Add(list, bitmap, nullptr);
    DeleteObject(bitmap);
    return list;
}

// Whether every caption of the tool row fits its button below the picture
// in font, wrapped at its spaces as the button wraps it.
bool captionsFit(HWND anyButton, HFONT font, int dpi, const HIMAGELIST (&pictures)[4]) {
    HDC dc = GetDC(anyButton);
    int slot = 0;
    const HGDIOBJ previous = SelectObject(dc, font);
    bool fit = true;
    // The button's frame and focus rectangle take a few pixels a side; the
    // picture and its margin take the top.
    const int frame = px(120, dpi);
    for (const ToolButton& tool : kToolButtons) {
        RECT room{0, 0, px(tool.width, dpi) - frame, 0};
        const std::wstring caption = win32::wideFromBytes(tool.caption);
        DrawTextW(dc, caption.c_str(), -1, &room, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
        int pictureWidth = 0, pictureHeight = 0;
        if (pictures[slot])
            ImageList_GetIconSize(pictures[slot], &pictureWidth, &pictureHeight);
        ++slot;
        const int roomHeight = px(tool.height, dpi) - frame - pictureHeight;
        if (room.right > px(tool.width, dpi) - frame || room.bottom > roomHeight)
            fit = false;
    }
    SelectObject(dc, previous);
    ReleaseDC(anyButton, dc);
    return fit;
}

} // namespace

Form1::Form1(MDIForm1& main) : main_(main), dpi_(main.dpi()) {
    registerWindowClass(kClassName, procedure, GetSysColorBrush(COLOR_BTNFACE));
    // No caption and no frame: the window fills the frame's client area as
    // designed, and cannot be moved or closed on its own.
    MDICREATESTRUCTW create{};
    create.szClass = kClassName;
    create.szTitle = L"Faultward";
    create.hOwner = GetModuleHandleW(nullptr);
    create.x = 0;
    create.y = 0;
    create.cx = px(kFilesWidth, dpi_);
    create.cy = px(kFilesHeight, dpi_);
    create.style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    create.lParam = reinterpret_cast<LPARAM>(this);
    SendMessageW(main_.mdiClient(), WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create));
    SetWindowLongPtrW(hwnd_, GWL_EXSTYLE,
                      GetWindowLongPtrW(hwnd_, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
    createControls();
    layout();
}

Form1::~Form1() {
    for (HIMAGELIST pictures : pictures_)
        if (pictures)
            ImageList_Destroy(pictures);
}

void Form1::show() {
    ShowWindow(hwnd_, SW_SHOW);
}

LRESULT CALLBACK Form1::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (auto* self =
            keepWindowObject<Form1, CreatedAs::MdiChild>(window, message, lParam, &Form1::hwnd_))
        return self->handle(message, wParam, lParam);
    return DefMDIChildProcW(window, message, wParam, lParam);
}

LRESULT Form1::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED && buttonClicked(LOWORD(wParam)))
            return 0;
        break;
    case WM_NOTIFY:
        return listNotified(*reinterpret_cast<NMHDR*>(lParam));
    case kTickTaken:
        tickTaken({static_cast<int>(wParam), static_cast<int>(lParam)});
        return 0;
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lParam) == label_)
            return labelColours(reinterpret_cast<HDC>(wParam));
        break;
    case WM_PAINT:
        paint();
        return 0;
    case WM_SIZE:
        // The select buttons are made last.
        if (!selectButtons_.empty())
            placeParts();
        break;
    case WM_SETCURSOR:
        if (setBusyPointerIfSet())
            return TRUE;
        break;
    case WM_SYSCOMMAND:
        // The window lives as long as the main window: Ctrl+F4 and the
        // like do not close, move, size or maximize it.
        if ((wParam & 0xFFF0) != SC_KEYMENU)
            return 0;
        break;
    case WM_SETFOCUS:
        passFocusOn();
        return 0;
    case WM_CLOSE:
        return 0;
    case WM_DESTROY: {
        HWND window = hwnd_;
        attachWindowObject<Form1>(window, nullptr);
        hwnd_ = nullptr;
        return DefMDIChildProcW(window, message, wParam, lParam);
    }
    default:
        break;
    }
    return DefMDIChildProcW(hwnd_, message, wParam, lParam);
}

bool Form1::buttonClicked(int id) {
    if (id >= kToolButtonBase && id < kToolButtonBase + kGroupSize) {
        cmd_tbl_Click(id - kToolButtonBase);
        return true;
    }
    if (id >= kSelectButtonBase && id < kSelectButtonBase + kGroupSize) {
        cmd_sel_Click(id - kSelectButtonBase);
        return true;
    }
    return false;
}

LRESULT Form1::labelColours(HDC dc) const {
    SetTextColor(dc, RGB(kProjectLabelColour[0], kProjectLabelColour[1], kProjectLabelColour[2]));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

void Form1::paint() const {
    PAINTSTRUCT painting;
    HDC dc = BeginPaint(hwnd_, &painting);
    // The etched rule under the tool row.
    const int length = px(kRuleLength, dpi_) + growth().width;
    const int darkTop = px(kRuleDarkTop, dpi_);
    const int lightTop = px(kRuleLightTop, dpi_);
    paintEtchedRule(dc, {{0, darkTop, length, darkTop + 1}, GetSysColorBrush(COLOR_WINDOWTEXT)},
                    {{0, lightTop, length, lightTop + 1}, GetSysColorBrush(COLOR_WINDOW)});
    EndPaint(hwnd_, &painting);
}

void Form1::passFocusOn() const {
    // The window itself takes no keys: the focus goes on to the control that
    // had it last, or the first one.
    HWND control = IsChild(hwnd_, lastFocus_) && IsWindowEnabled(lastFocus_)
                       ? lastFocus_
                       : GetNextDlgTabItem(hwnd_, nullptr, FALSE);
    if (control)
        SetFocus(control);
}

HWND Form1::createControl(const wchar_t* windowClass, const std::wstring& text, DWORD style, int id,
                          DWORD exStyle) {
    return CreateWindowExW(exStyle, windowClass, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0,
                           0, 0, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
}

void Form1::createControls() {
    createToolRow();

    label_ = createControl(WC_STATICW, wide(kProjectFilesLabel),
                           SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS, kProjectLabelId);
    // Made after the label, so that it lies over it while it shows.
    progressBar_ = createControl(PROGRESS_CLASSW, L"", 0, kProgressBarId);
    ShowWindow(progressBar_, SW_HIDE);
    SendMessageW(progressBar_, PBM_SETRANGE32, 0, 100);

    list_ = std::make_unique<FileTree>(hwnd_, kFileListId);

    for (const SelectButton& select : kSelectButtons)
        selectButtons_[select.index] =
            createControl(WC_BUTTONW, wide(select.caption), WS_TABSTOP | BS_PUSHBUTTON,
                          kSelectButtonBase + select.index);
}

void Form1::createToolRow() {
    tooltips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    for (const ToolButton& tool : kToolButtons) {
        HWND button = createControl(WC_BUTTONW, wide(tool.caption),
                                    WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE | BS_CENTER,
                                    kToolButtonBase + tool.index);
        toolButtons_[tool.index] = button;
        if (*tool.tooltip) {
            std::wstring tip = wide(tool.tooltip);
            TTTOOLINFOW info{};
            info.cbSize = sizeof info;
            info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            info.hwnd = hwnd_;
            info.uId = reinterpret_cast<UINT_PTR>(button);
            info.lpszText = tip.data();
            SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
        }
        EnableWindow(button, enabledBeforeAnyProject(tool));
    }
}

void Form1::setPictures() {
    int slot = 0;
    for (const ToolButton& tool : kToolButtons) {
        // The picture above the caption; the button draws from the list it
        // holds, so the old list goes only once the new one is in place.
        HIMAGELIST previous = pictures_[slot];
        pictures_[slot] = loadPicture(FW_IDB_TOOL_BASE + tool.index, dpi_);
        BUTTON_IMAGELIST shown{};
        shown.himl = pictures_[slot];
        shown.uAlign = BUTTON_IMAGELIST_ALIGN_TOP;
        shown.margin = {0, px(30, dpi_), 0, 0};
        SendMessageW(toolButtons_.at(tool.index), BCM_SETIMAGELIST, 0,
                     reinterpret_cast<LPARAM>(&shown));
        if (previous)
            ImageList_Destroy(previous);
        ++slot;
    }
}

void Form1::applyDpi(int dpi) {
    dpi_ = dpi;
    SetWindowPos(hwnd_, nullptr, 0, 0, px(kFilesWidth, dpi_), px(kFilesHeight, dpi_),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    layout();
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void Form1::fitTo(Growth growth) {
    SetWindowPos(hwnd_, nullptr, 0, 0, px(kFilesWidth, dpi_) + growth.width,
                 px(kFilesHeight, dpi_) + growth.height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

Growth Form1::growth() const {
    RECT client;
    GetClientRect(hwnd_, &client);
    return growthBeyond(client.right, client.bottom, px(kFilesWidth, dpi_), px(kFilesHeight, dpi_));
}

void Form1::layout() {
    font_.reset(createDialogFont(dpi_));
    labelFont_.reset(createFont(kProjectLabelFont, dpi_));
    setPictures();
    const double captionPoints = toolCaptionPoints([this](double points) {
        OwnedFont tried;
        tried.reset(createFont({kCaptionFace, points, false}, dpi_));
        return captionsFit(toolButtons_.at(0), tried.get(), dpi_, pictures_);
    });
    captionFont_.reset(createFont({kCaptionFace, captionPoints, false}, dpi_));
    for (const ToolButton& tool : kToolButtons)
        setFont(toolButtons_.at(tool.index), captionFont_.get());
    setFont(label_, labelFont_.get());
    setFont(list_->hwnd(), font_.get());
    for (const SelectButton& select : kSelectButtons)
        setFont(selectButtons_.at(select.index), font_.get());
    placeParts();
}

void Form1::placeParts() {
    const Growth grown = growth();
    const auto place = [&](HWND part, const TwipsRect& first, Anchor anchor) {
        const RECT at = pxRect(first, dpi_);
        const ScreenRect moved =
            grownPlace({at.left, at.top, at.right - at.left, at.bottom - at.top}, anchor, grown);
        placeControl(part,
                     {moved.left, moved.top, moved.left + moved.width, moved.top + moved.height});
    };
    for (const ToolButton& tool : kToolButtons)
        place(toolButtons_.at(tool.index), {tool.left, tool.top, tool.width, tool.height},
              kToolRowAnchor);
    place(label_, kProjectLabel, kProjectLabelAnchor);
    place(progressBar_, kProgressBar, kProgressBarAnchor);
    place(list_->hwnd(), kFileList, kFileListAnchor);
    for (const SelectButton& select : kSelectButtons)
        place(selectButtons_.at(select.index),
              {select.left, select.top, select.width, select.height}, kSelectButtonsAnchor);
    // The rule's length and the list's rows follow the width; a control moved
    // over where another was is drawn again rather than copied.
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

LRESULT Form1::listNotified(NMHDR& header) {
    // The tree view may speak while it is being made.
    if (!list_ || header.hwndFrom != list_->hwnd())
        return 0;
    switch (header.code) {
    case TVN_ITEMEXPANDINGW:
        itemOpening(reinterpret_cast<const NMTREEVIEWW&>(header));
        return FALSE;
    case TVN_KEYDOWN:
        return keyPressed(reinterpret_cast<const NMTVKEYDOWN&>(header));
    case NM_CUSTOMDRAW:
        return list_->customDraw(reinterpret_cast<NMTVCUSTOMDRAW&>(header));
    case NM_CLICK:
    case NM_DBLCLK:
        clicked();
        return 0;
    default:
        return 0;
    }
}

void Form1::itemOpening(const NMTREEVIEWW& change) {
    const auto place = list_->placeOf(change.itemNew.hItem);
    if ((change.action & TVE_EXPAND) && place && place->procedure < 0)
        main_.projectFiles().expandEntry(place->entry);
}

LRESULT Form1::keyPressed(const NMTVKEYDOWN& key) {
    switch (key.wVKey) {
    case VK_SPACE:
        postTickTaken(TreeView_GetSelection(list_->hwnd()));
        return FALSE;
    // + and - of the main keyboard open and close as those of the keypad do.
    case VK_OEM_PLUS:
    case VK_OEM_MINUS:
        PostMessageW(list_->hwnd(), WM_KEYDOWN, key.wVKey == VK_OEM_PLUS ? VK_ADD : VK_SUBTRACT, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

void Form1::clicked() {
    const DWORD at = GetMessagePos();
    TVHITTESTINFO hit{};
    hit.pt = {GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    ScreenToClient(list_->hwnd(), &hit.pt);
    TreeView_HitTest(list_->hwnd(), &hit);
    if (hit.flags & TVHT_ONITEMSTATEICON)
        postTickTaken(hit.hItem);
}

void Form1::postTickTaken(HTREEITEM item) {
    if (const auto place = list_->placeOf(item))
        PostMessageW(hwnd_, kTickTaken, static_cast<WPARAM>(place->entry),
                     static_cast<LPARAM>(place->procedure));
}

void Form1::tickTaken(TreePlace place) {
    // The core's setters keep a tick that did not change as it was.
    const auto ticked = list_->tickedAt(place);
    if (!ticked)
        return;
    if (place.procedure < 0)
        main_.projectFiles().setSelected(place.entry, *ticked);
    else
        main_.projectFiles().setProcedureSelected(place.entry, place.procedure, *ticked);
}

void Form1::rememberFocus() {
    HWND focus = GetFocus();
    if (IsChild(hwnd_, focus))
        lastFocus_ = focus;
}

void Form1::cmd_tbl_Click(int Index) {
    main_.logic().cmd_nav(commandOfNumber(Index));
}

void Form1::cmd_sel_Click(int Index) {
    main_.projectFiles().cmd_sel_Click(Index);
}

void Form1::showEntries(std::span<const ListEntry> entries) {
    list_->showEntries(entries);
}

void Form1::setEntrySelected(int index, bool selected) {
    list_->setEntryTicked(index, selected);
}

void Form1::setCurrentEntry(int index) {
    list_->selectEntry(index);
    if (index >= 0)
        main_.paintWhileBusy();
}

void Form1::showProcedures(int entry, std::span<const ProcedureRow> rows) {
    list_->showProcedures(entry, rows);
}

void Form1::focusList() {
    SetFocus(list_->hwnd());
    lastFocus_ = list_->hwnd();
}

void Form1::setProjectLabel(std::string_view projectPath) {
    const std::wstring text = win32::wideFromBytes(projectPath);
    SetWindowTextW(label_, text.c_str());
}

void Form1::enableInsertAndRemove() {
    for (int index : kEnabledByProject)
        EnableWindow(toolButtons_.at(index), TRUE);
}

void Form1::setProgressRange(int minimum, int maximum) {
    SendMessageW(progressBar_, PBM_SETRANGE32, static_cast<WPARAM>(minimum),
                 static_cast<LPARAM>(maximum));
}

void Form1::setProgressValue(int value) {
    SendMessageW(progressBar_, PBM_SETPOS, static_cast<WPARAM>(value), 0);
    main_.paintWhileBusy();
}

void Form1::setProgressVisible(bool visible) {
    if (visible)
        SetWindowPos(progressBar_, HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    else
        ShowWindow(progressBar_, SW_HIDE);
}

} // namespace faultward::win
