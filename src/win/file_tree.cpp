#include "win/file_tree.h"

#include "platform/display_text.h"
#include "platform/win32_text.h"

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

// Wine's tree view takes Alt+F4 for itself as it takes any key; the system
// closes the window with it, as it does from every other control.
LRESULT CALLBACK passCloseKey(HWND tree, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                              DWORD_PTR) {
    if (message == WM_SYSKEYDOWN && wParam == VK_F4)
        return DefWindowProcW(tree, message, wParam, lParam);
    return DefSubclassProc(tree, message, wParam, lParam);
}

} // namespace

FileTree::FileTree(HWND parent, int id) {
    tree_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES |
                                TVS_LINESATROOT | TVS_SHOWSELALWAYS | TVS_DISABLEDRAGDROP,
                            0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            GetModuleHandleW(nullptr), nullptr);
    // The check boxes only take when the style is added after the window is
    // made: the tree view makes their pictures then.
    SetWindowLongPtrW(tree_, GWL_STYLE, GetWindowLongPtrW(tree_, GWL_STYLE) | TVS_CHECKBOXES);
    TreeView_SetExtendedStyle(tree_, TVS_EX_DOUBLEBUFFER, TVS_EX_DOUBLEBUFFER);
    SetWindowSubclass(tree_, passCloseKey, 0, 0);
}

void FileTree::showEntries(std::span<const ListEntry> entries) {
    SendMessageW(tree_, WM_SETREDRAW, FALSE, 0);
    TreeView_DeleteAllItems(tree_);
    entries_.clear();
    for (const ListEntry& entry : entries) {
        std::wstring text = win32::wideFromBytes(entryDisplayText(entry.text));
        TVITEMW item = itemOf(text, entry.selected, static_cast<LPARAM>(entries_.size()));
        item.mask |= TVIF_CHILDREN;
        item.cChildren = 1;
        entries_.push_back(insertItem(tree_, TVI_ROOT, item));
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
    HTREEITEM child = TreeView_GetChild(tree_, parent);
    LPARAM row = 0;
    for (const ProcedureRow& each : rows) {
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

std::wstring procedureItemText(const ProcedureRow& row) {
    return win32::wideFromBytes(entryDisplayText(row.text)) + L" \u2014 " +
           win32::wideFromBytes(row.state);
}

} // namespace faultward::win
