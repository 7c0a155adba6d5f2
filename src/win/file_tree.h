#pragma once

#include "app/desktop/views.h"

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

// What a procedure's item shows beside its check box, and where (in the tree
// view's client pixels).
struct ProcedureItemText {
    RECT headPlace{};
    std::wstring head; // elided in the middle when it does not fit
    RECT statePlace{};
    std::wstring state; // cut at its end only when the head is at its least
};

// The project files list as a tree view with a check box per item: the
// entries in list order, each of which opens into its file's procedures.
// Only what is shown lives here; the ticks mean what the core says. Each
// item's text is the whole line a screen reader reads; what shows is fitted
// to the width, never scrolled to: an entry's name elided in the middle, a
// procedure's head elided before its state, by the core's rule.
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

    // The tree view's NM_CUSTOMDRAW: the texts are drawn here.
    LRESULT customDraw(NMTVCUSTOMDRAW& draw);
    // What the procedure's item shows now; nothing for an entry or an item
    // out of sight.
    std::optional<ProcedureItemText> shownText(HTREEITEM item) const;

private:
    struct Procedure {
        std::wstring head, state;
    };
    HTREEITEM entryItem(int entry) const;
    const Procedure* procedureAt(HTREEITEM item) const;
    // Where the texts go from, to the end of the rows, in client pixels.
    RECT textRoom(HTREEITEM item) const;
    ProcedureItemText fitted(HDC dc, const RECT& room, const Procedure& procedure,
                             int widest) const;
    // The widest head of the procedures shown, in the tree's font.
    int widestHead(HDC dc) const;
    void paintText(const NMTVCUSTOMDRAW& draw) const;

    HWND tree_ = nullptr;
    std::vector<HTREEITEM> entries_;
    std::vector<std::wstring> entryTexts_;
    std::vector<std::vector<Procedure>> procedures_; // under each entry, as last shown
    // Of the item being drawn: the colours the tree view chose for its text.
    COLORREF textColour_ = 0, backColour_ = 0;
    int widestHead_ = 0; // for the paint under way
};

// "Sub Form_Load — has a handler": the head in the source's code page, then
// the state.
std::wstring procedureItemText(const ProcedureRow& row);

} // namespace faultward::win
