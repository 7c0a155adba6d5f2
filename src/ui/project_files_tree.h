#pragma once

#include "app/desktop/views.h"
#include "ui/procedure_row_delegate.h"

#include <QTreeWidget>

#include <memory>
#include <span>
#include <vector>

namespace faultward {

// The project files list: an item with a tick for each entry, which opens
// into the procedures of the entry's file, each with its tick, its head and
// its state, the head elided before the state is. It shows what the core
// gives it and says what the user did; what a tick means is the core's. The
// keys are the tree view's own: arrows, Space ticks, + and - (Right and Left)
// open and close, Home and End.
class ProjectFilesTree : public QTreeWidget {
    Q_OBJECT
public:
    // A procedure item's state, beside its head (the item's text).
    static constexpr int kStateRole = Qt::UserRole + 1;

    explicit ProjectFilesTree(QWidget* parent = nullptr);

    int entryCount() const { return topLevelItemCount(); }
    QTreeWidgetItem* entry(int index) const { return topLevelItem(index); }
    // -1 when no entry is current, or a procedure is.
    int currentEntry() const;

    void showEntries(std::span<const ListEntry> entries);
    void setEntrySelected(int index, bool selected);
    // -1 for none; never changes a tick.
    void setCurrentEntry(int index);
    void showProcedures(int entry, std::span<const ProcedureRow> rows);
    // Takes the keyboard focus on the current row, or the first when none
    // is, without choosing it.
    void takeFocus();

    // What a procedure's row shows, and where.
    ProcedureRowText rowText(const QTreeWidgetItem& procedure) const;

signals:
    void entryOpened(int entry);
    void entryTicked(int entry, bool ticked);
    void procedureTicked(int entry, int procedure, bool ticked);

private:
    void itemTicked(QTreeWidgetItem* item);
    // The widest head of the procedures shown lines the states up.
    void measureProcedures();
    // An entry just opened brings as many of its procedures into sight as fit.
    void scrollOpenedIntoSight(QTreeWidgetItem* entry);

    bool showing_ = false; // the core is changing the items; their ticks are not the user's
    std::vector<std::unique_ptr<QTreeWidgetItem>> taken_;
    ProcedureWidths widths_;
    ProcedureRowDelegate* delegate_ = nullptr;
};

} // namespace faultward
