#include "ui/project_files_tree.h"

#include "ui/list_entries.h"

#include <QHeaderView>
#include <QKeyEvent>

#include <algorithm>

namespace faultward {
namespace {

Qt::CheckState tick(bool selected) {
    return selected ? Qt::Checked : Qt::Unchecked;
}

} // namespace

ProjectFilesTree::ProjectFilesTree(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(2);
    header()->hide();
    header()->setStretchLastSection(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    setUniformRowHeights(true);
    connect(this, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item) {
        if (!showing_)
            itemTicked(item);
    });
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) {
        if (const int index = indexOfTopLevelItem(item); index >= 0)
            emit entryOpened(index);
        fitColumns();
    });
    connect(this, &QTreeWidget::itemCollapsed, this, [this] { fitColumns(); });
}

int ProjectFilesTree::currentEntry() const {
    return indexOfTopLevelItem(currentItem());
}

void ProjectFilesTree::itemTicked(QTreeWidgetItem* item) {
    const bool ticked = item->checkState(0) == Qt::Checked;
    if (QTreeWidgetItem* parent = item->parent())
        emit procedureTicked(indexOfTopLevelItem(parent), parent->indexOfChild(item), ticked);
    else
        emit entryTicked(indexOfTopLevelItem(item), ticked);
}

void ProjectFilesTree::showEntries(std::span<const ListEntry> entries) {
    showing_ = true;
    clear();
    taken_.clear();
    for (const ListEntry& each : entries) {
        QTreeWidgetItem* item = makeEntryItem(each.text);
        item->setCheckState(0, tick(each.selected));
        // Asked for its procedures only when opened.
        item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
        addTopLevelItem(item);
        // Closed, an entry looks as a list's item: its text across the row.
        item->setFirstColumnSpanned(true);
    }
    showing_ = false;
    fitColumns();
}

void ProjectFilesTree::setEntrySelected(int index, bool selected) {
    showing_ = true;
    if (QTreeWidgetItem* item = entry(index))
        item->setCheckState(0, tick(selected));
    showing_ = false;
}

void ProjectFilesTree::setCurrentEntry(int index) {
    QTreeWidgetItem* item = entry(index);
    setCurrentItem(item);
    if (!item) {
        clearSelection();
        return;
    }
    scrollToItem(item);
}

void ProjectFilesTree::showProcedures(int index, std::span<const ProcedureRow> rows) {
    QTreeWidgetItem* parent = entry(index);
    if (!parent)
        return;
    showing_ = true;
    taken_.clear();
    // Rows change in place, so the one the user ticked stays current.
    const int count = static_cast<int>(rows.size());
    for (int i = 0; i < count; ++i) {
        QTreeWidgetItem* item = parent->child(i);
        if (!item) {
            item = new QTreeWidgetItem(parent);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
                           Qt::ItemNeverHasChildren);
        }
        const ProcedureRow& row = rows[static_cast<std::size_t>(i)];
        // The head is the file's bytes, the state the core's words.
        item->setText(0, displayText(row.text));
        const QString state =
            QString::fromUtf8(row.state.data(), static_cast<qsizetype>(row.state.size()));
        item->setText(1, state);
        // The list is narrow: a state that does not fit shows on hovering the row.
        item->setToolTip(0, state);
        item->setToolTip(1, state);
        item->setCheckState(0, tick(row.selected));
    }
    // Rows the file no longer has are kept until the next change: the tick
    // being handled may be on one of them.
    while (parent->childCount() > count)
        taken_.emplace_back(parent->takeChild(count));
    parent->setChildIndicatorPolicy(rows.empty() ? QTreeWidgetItem::DontShowIndicatorWhenChildless
                                                 : QTreeWidgetItem::ShowIndicator);
    showing_ = false;
    fitColumns();
}

void ProjectFilesTree::keyPressEvent(QKeyEvent* event) {
    // The tick is in the first column, whichever column a click made current.
    const QModelIndex current = currentIndex();
    if ((event->key() == Qt::Key_Space || event->key() == Qt::Key_Select) && current.column() != 0)
        selectionModel()->setCurrentIndex(current.siblingAtColumn(0),
                                          QItemSelectionModel::NoUpdate);
    QTreeWidget::keyPressEvent(event);
}

void ProjectFilesTree::resizeEvent(QResizeEvent* event) {
    QTreeWidget::resizeEvent(event);
    fitColumns();
}

// The heads' column as wide as the widest head shown, the states' the rest of
// the row, or wider when a state needs it (the list then scrolls sideways).
// The entries span both columns, so their names do not widen the heads'.
void ProjectFilesTree::fitColumns() {
    int heads = 0;
    for (int i = 0; i < entryCount(); ++i) {
        const QTreeWidgetItem* parent = entry(i);
        if (!parent->isExpanded())
            continue;
        for (int row = 0; row < parent->childCount(); ++row)
            heads = std::max(heads, sizeHintForIndex(indexFromItem(parent->child(row))).width());
    }
    if (heads > 0)
        heads += 2 * indentation();
    setColumnWidth(0, heads);
    setColumnWidth(1, std::max(viewport()->width() - heads, sizeHintForColumn(1)));
}

} // namespace faultward
