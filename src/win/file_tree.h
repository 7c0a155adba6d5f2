#pragma once

#include "app/views.h"

// windows.h first: commctrl.h builds on it.
#include <windows.h>

#include <commctrl.h>

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace faultward::win {

// Which line of the tree an item is: an entry of the list, or a procedure
// (its row under the entry; -1 for the entry itself).
struct TreePlace {
    int entry = -1;
    int procedure = -1;
};

// The project files list as a tree view with a check box per item: the
// entries in list order, each of which opens into its file's procedures.
// Only what is shown lives here; the ticks mean what the core says.
class FileTree {
public:
    // Makes the tree view, a child of parent with this control id.
    FileTree(HWND parent, int id);

    HWND hwnd() const { return tree_; }

    // Replaces every item. Each entry gets a button before its procedures are
    // known, so that opening it can ask for them.
    void showEntries(std::span<const ListEntry> entries);
    void setEntryTicked(int entry, bool ticked);
    // Selects the entry's item, -1 none.
    void selectEntry(int entry);
    // The rows under the entry, changed in place so that the item the user is
    // on stays selected. An entry without procedures loses its button.
    void showProcedures(int entry, std::span<const ProcedureRow> rows);

    std::optional<TreePlace> placeOf(HTREEITEM item) const;
    // Whether the item at place is ticked now; nothing when there is none.
    std::optional<bool> tickedAt(TreePlace place) const;

private:
    HTREEITEM entryItem(int entry) const;

    HWND tree_ = nullptr;
    std::vector<HTREEITEM> entries_;
};

// "Sub Form_Load — has a handler": the head in the source's code page, then
// the state.
std::wstring procedureItemText(const ProcedureRow& row);

} // namespace faultward::win
