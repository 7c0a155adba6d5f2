#include "win/file_tree.h"

#include "app/desktop/layout.h"
#include "app/desktop/window_layout.h"
#include "platform/display_text.h"
#include "platform/win32_text.h"
#include "win/dpi.h"

#include <algorithm>

namespace faultward::win {
namespace {

// The check box of a tree-view item is its state image: 1 clear, 2 ticked.
UINT checkState(bool ticked) {
    return INDEXTOSTATEIMAGEMASK(ticked ? 2 : 1);
}

TVITEMW itemOf(std::wstring& text, bool ticked, LPARAM param) {
    TVITEMW item{};
    item.mask = TVIF_TEXT | TVIF_STATE | TVIF_PARAM;
    item.pszText = text.data();
    item.stateMask = TVIS_STATEIMAGEMASK;
    item.state = checkState(ticked);
    item.lParam = param;
    return item;
}

HTREEITEM insertItem(HWND tree, HTREEITEM parent, const TVITEMW& item) {
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item = item;
    return TreeView_InsertItem(tree, &insert);
}

int textWidth(HDC dc, std::wstring_view text) {
    SIZE size{};
    GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
    return size.cx;
}

constexpr std::wstring_view kEllipsis = L"\u2026";

// The text, or as much of its start (and, eliding the middle, of its end)
// as fits in width with an ellipsis between.
std::wstring elided(HDC dc, const std::wstring& text, int width, bool middle) {
    if (textWidth(dc, text) <= width)
        return text;
    const auto kept = [&](std::size_t count) {
        const std::size_t tail = middle ? count / 2 : 0;
        return text.substr(0, count - tail) + std::wstring(kEllipsis) +
               text.substr(text.size() - tail);
    };
    std::size_t low = 0, high = text.size();
    while (low < high) {
        const std::size_t count = (low + high + 1) / 2;
        if (textWidth(dc, kept(count)) <= width)
            low = count;
        else
            high = count - 1;
    }
    return kept(low);
}

// The tree view's own font in dc while it lives.
class TreeFont {
public:
    TreeFont(HWND tree, HDC dc)
        : dc_(dc), previous_(SelectObject(
                       dc, reinterpret_cast<HFONT>(SendMessageW(tree, WM_GETFONT, 0, 0)))) {}
    ~TreeFont() { SelectObject(dc_, previous_); }
    TreeFont(const TreeFont&) = delete;
    TreeFont& operator=(const TreeFont&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

COLORREF orDefault(COLORREF colour, int systemColour) {
    return colour == CLR_DEFAULT || colour == CLR_NONE ? GetSysColor(systemColour) : colour;
}

// Wine's tree view takes Alt+F4 and Alt+Space for itself as it takes any key
// (Alt+Space would tick or clear the item); the system closes the window with
// the one and opens its window menu with the other, as from every other
// control.
LRESULT CALLBACK passSystemKeys(HWND tree, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR) {
    if (message == WM_SYSKEYDOWN && (wParam == VK_F4 || wParam == VK_SPACE))
        return DefWindowProcW(tree, message, wParam, lParam);
    return DefSubclassProc(tree, message, wParam, lParam);
}

} // namespace

FileTree::FileTree(HWND parent, int id) {
    tree_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES |
                                TVS_LINESATROOT | TVS_SHOWSELALWAYS | TVS_DISABLEDRAGDROP |
                                TVS_NOHSCROLL,
                            0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            GetModuleHandleW(nullptr), nullptr);
    // The check boxes only take when the style is added after the window is
    // made: the tree view makes their pictures then.
    SetWindowLongPtrW(tree_, GWL_STYLE, GetWindowLongPtrW(tree_, GWL_STYLE) | TVS_CHECKBOXES);
    TreeView_SetExtendedStyle(tree_, TVS_EX_DOUBLEBUFFER, TVS_EX_DOUBLEBUFFER);
    SetWindowSubclass(tree_, passSystemKeys, 0, 0);
}

void FileTree::showEntries(std::span<const ListEntry> entries) {
    SendMessageW(tree_, WM_SETREDRAW, FALSE, 0);
    TreeView_DeleteAllItems(tree_);
    entries_.clear();
    entryTexts_.clear();
    procedures_.assign(entries.size(), {});
    for (const ListEntry& entry : entries) {
        std::wstring text = win32::wideFromBytes(entryDisplayText(entry.text));
        TVITEMW item = itemOf(text, entry.selected, static_cast<LPARAM>(entries_.size()));
        item.mask |= TVIF_CHILDREN;
        item.cChildren = 1;
        entries_.push_back(insertItem(tree_, TVI_ROOT, item));
        entryTexts_.push_back(std::move(text));
    }
    SendMessageW(tree_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(tree_, nullptr, TRUE);
}

HTREEITEM FileTree::entryItem(int entry) const {
    if (entry < 0 || static_cast<std::size_t>(entry) >= entries_.size())
        return nullptr;
    return entries_[static_cast<std::size_t>(entry)];
}

void FileTree::setEntryTicked(int entry, bool ticked) {
    if (HTREEITEM item = entryItem(entry))
        TreeView_SetItemState(tree_, item, checkState(ticked), TVIS_STATEIMAGEMASK);
}

void FileTree::selectEntry(int entry) {
    TreeView_SelectItem(tree_, entryItem(entry));
}

void FileTree::showProcedures(int entry, std::span<const ProcedureRow> rows) {
    HTREEITEM parent = entryItem(entry);
    if (!parent)
        return;
    std::vector<Procedure>& shown = procedures_[static_cast<std::size_t>(entry)];
    shown.clear();
    HTREEITEM child = TreeView_GetChild(tree_, parent);
    LPARAM row = 0;
    for (const ProcedureRow& each : rows) {
        shown.push_back(
            {win32::wideFromBytes(entryDisplayText(each.text)), win32::wideFromBytes(each.state)});
        std::wstring text = procedureItemText(each);
        TVITEMW item = itemOf(text, each.selected, row++);
        if (child) {
            item.hItem = child;
            TreeView_SetItem(tree_, &item);
            child = TreeView_GetNextSibling(tree_, child);
        } else {
            insertItem(tree_, parent, item);
        }
    }
    while (child) {
        HTREEITEM next = TreeView_GetNextSibling(tree_, child);
        TreeView_DeleteItem(tree_, child);
        child = next;
    }
    TVITEMW button{};
    button.mask = TVIF_CHILDREN;
    button.hItem = parent;
    button.cChildren = rows.empty() ? 0 : 1;
    TreeView_SetItem(tree_, &button);
}

std::optional<TreePlace> FileTree::placeOf(HTREEITEM item) const {
    if (!item)
        return std::nullopt;
    TVITEMW read{};
    read.mask = TVIF_PARAM;
    read.hItem = item;
    if (!TreeView_GetItem(tree_, &read))
        return std::nullopt;
    const int param = static_cast<int>(read.lParam);
    HTREEITEM parent = TreeView_GetParent(tree_, item);
    if (!parent)
        return TreePlace{param, -1};
    const auto entry = placeOf(parent);
    if (!entry)
        return std::nullopt;
    return TreePlace{entry->entry, param};
}

std::optional<bool> FileTree::tickedAt(TreePlace place) const {
    HTREEITEM item = entryItem(place.entry);
    if (item && place.procedure >= 0) {
        item = TreeView_GetChild(tree_, item);
        for (int row = 0; item && row < place.procedure; ++row)
            item = TreeView_GetNextSibling(tree_, item);
    }
    if (!item)
        return std::nullopt;
    return TreeView_GetItemState(tree_, item, TVIS_STATEIMAGEMASK) == checkState(true);
}

const FileTree::Procedure* FileTree::procedureAt(HTREEITEM item) const {
    const auto place = placeOf(item);
    if (!place || place->procedure < 0 || place->entry < 0 ||
        static_cast<std::size_t>(place->entry) >= procedures_.size())
        return nullptr;
    const std::vector<Procedure>& rows = procedures_[static_cast<std::size_t>(place->entry)];
    if (static_cast<std::size_t>(place->procedure) >= rows.size())
        return nullptr;
    return &rows[static_cast<std::size_t>(place->procedure)];
}

RECT FileTree::textRoom(HTREEITEM item) const {
    RECT text{};
    TreeView_GetItemRect(tree_, item, &text, TRUE);
    RECT client{};
    GetClientRect(tree_, &client);
    const int pad = GetSystemMetrics(SM_CXEDGE);
    return {text.left + pad, text.top, client.right - pad, text.bottom};
}

int FileTree::widestHead(HDC dc) const {
    TreeFont font(tree_, dc);
    int widest = 0;
    for (std::size_t entry = 0; entry < entries_.size(); ++entry) {
        if (!(TreeView_GetItemState(tree_, entries_[entry], TVIS_EXPANDED) & TVIS_EXPANDED))
            continue;
        for (const Procedure& procedure : procedures_[entry])
            widest = std::max(widest, textWidth(dc, procedure.head));
    }
    return widest;
}

ProcedureItemText FileTree::fitted(HDC dc, const RECT& room, const Procedure& procedure,
                                   int widest) const {
    const int dpi = windowDpi(tree_);
    const int gap = px(kHeadStateGap, dpi);
    const int width = room.right - room.left;
    const int start = stateStart(width, widest, textWidth(dc, procedure.state),
                                 px(kLeastProcedureHead, dpi), gap);
    ProcedureItemText text;
    text.headPlace = {room.left, room.top, room.left + start - gap, room.bottom};
    text.head = elided(dc, procedure.head, start - gap, true);
    text.statePlace = {room.left + start, room.top, room.right, room.bottom};
    text.state = elided(dc, procedure.state, width - start, false);
    return text;
}

std::optional<ProcedureItemText> FileTree::shownText(HTREEITEM item) const {
    const Procedure* procedure = procedureAt(item);
    RECT text{};
    if (!procedure || !TreeView_GetItemRect(tree_, item, &text, TRUE))
        return std::nullopt;
    HDC dc = GetDC(tree_);
    const int widest = widestHead(dc);
    std::optional<ProcedureItemText> shown;
    {
        TreeFont font(tree_, dc);
        shown = fitted(dc, textRoom(item), *procedure, widest);
    }
    ReleaseDC(tree_, dc);
    return shown;
}

LRESULT FileTree::customDraw(NMTVCUSTOMDRAW& draw) {
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        widestHead_ = widestHead(draw.nmcd.hdc);
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        // The tree view draws the lines, the button and the box, and its text
        // unseen; the text fitted to the width is drawn over it.
        textColour_ = orDefault(draw.clrText, COLOR_WINDOWTEXT);
        backColour_ = orDefault(draw.clrTextBk, COLOR_WINDOW);
        draw.clrText = draw.clrTextBk;
        return CDRF_NOTIFYPOSTPAINT;
    case CDDS_ITEMPOSTPAINT:
        paintText(draw);
        return CDRF_DODEFAULT;
    default:
        return CDRF_DODEFAULT;
    }
}

void FileTree::paintText(const NMTVCUSTOMDRAW& draw) const {
    const auto item = reinterpret_cast<HTREEITEM>(draw.nmcd.dwItemSpec);
    const auto place = placeOf(item);
    RECT text{};
    if (!place || !TreeView_GetItemRect(tree_, item, &text, TRUE))
        return;
    HDC dc = draw.nmcd.hdc;
    const int saved = SaveDC(dc);
    TreeFont font(tree_, dc);
    const RECT room = textRoom(item);
    const int pad = room.left - text.left;
    // What the tree view drew of its own text, highlight and focus goes.
    SetDCBrushColor(dc, orDefault(TreeView_GetBkColor(tree_), COLOR_WINDOW));
    const RECT row{text.left, text.top, std::max(text.right, room.right + pad), text.bottom};
    FillRect(dc, &row, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));

    std::vector<std::pair<RECT, std::wstring>> pieces;
    if (const Procedure* procedure = procedureAt(item)) {
        const ProcedureItemText shown = fitted(dc, room, *procedure, widestHead_);
        pieces = {{shown.headPlace, shown.head}, {shown.statePlace, shown.state}};
    } else if (place->procedure < 0 &&
               static_cast<std::size_t>(place->entry) < entryTexts_.size()) {
        pieces = {{room, elided(dc, entryTexts_[static_cast<std::size_t>(place->entry)],
                                room.right - room.left, true)}};
    }
    if (pieces.empty()) {
        RestoreDC(dc, saved);
        return;
    }
    const auto& [lastPlace, lastText] = pieces.back();
    RECT mark{text.left, text.top,
              std::min<LONG>(lastPlace.left + textWidth(dc, lastText) + pad, room.right + pad),
              text.bottom};
    SetDCBrushColor(dc, backColour_);
    FillRect(dc, &mark, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    SetTextColor(dc, textColour_);
    SetBkMode(dc, TRANSPARENT);
    for (auto& [place, shown] : pieces)
        DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &place,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (GetFocus() == tree_ && TreeView_GetSelection(tree_) == item)
        DrawFocusRect(dc, &mark);
    RestoreDC(dc, saved);
}

std::wstring procedureItemText(const ProcedureRow& row) {
    return win32::wideFromBytes(entryDisplayText(row.text)) +
           win32::wideFromBytes(kHeadStateSeparator) + win32::wideFromBytes(row.state);
}

} // namespace faultward::win
