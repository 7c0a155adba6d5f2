#include "ui/project_files_tree.h"

#include "ui/list_entries.h"

#include <QHeaderView>

#include <algorithm>

namespace faultward {
namespace {

Qt::CheckState tick(bool selected) {
    return selected ? Qt::Checked : Qt::Unchecked;
}

} // namespace

ProjectFilesTree::ProjectFilesTree(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(1);
    header()->hide();
    delegate_ = new ProcedureRowDelegate(widths_, kStateRole, this);
    setItemDelegate(delegate_);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    setUniformRowHeights(true);
    // Long text is elided, never scrolled to.
    setTextElideMode(Qt::ElideMiddle);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(this, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item) {
        if (!showing_)
            itemTicked(item);
    });
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) {
        if (const int index = indexOfTopLevelItem(item); index >= 0)
            emit entryOpened(index);
        measureProcedures();
        scrollOpenedIntoSight(item);
    });
    connect(this, &QTreeWidget::itemCollapsed, this, [this] { measureProcedures(); });
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
    }
    showing_ = false;
    measureProcedures();
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
        item->setData(
            0, kStateRole,
            QString::fromUtf8(row.state.data(), static_cast<qsizetype>(row.state.size())));
        // Read as one line, as the row is seen; whole on hovering it.
        const QString line = item->text(0) +
                             QString::fromUtf8(kHeadStateSeparator.data(),
                                               static_cast<qsizetype>(kHeadStateSeparator.size())) +
                             item->data(0, kStateRole).toString();
        item->setData(0, Qt::AccessibleTextRole, line);
        item->setToolTip(0, line);
        item->setCheckState(0, tick(row.selected));
    }
    // Rows the file no longer has are kept until the next change: the tick
    // being handled may be on one of them.
    while (parent->childCount() > count)
        taken_.emplace_back(parent->takeChild(count));
    parent->setChildIndicatorPolicy(rows.empty() ? QTreeWidgetItem::DontShowIndicatorWhenChildless
                                                 : QTreeWidgetItem::ShowIndicator);
    showing_ = false;
    measureProcedures();
}

void ProjectFilesTree::takeFocus() {
    if (!currentItem() && entryCount() > 0)
        selectionModel()->setCurrentIndex(indexFromItem(entry(0)), QItemSelectionModel::NoUpdate);
    // As a key would bring it: the current row shows the focus mark.
    setFocus(Qt::ShortcutFocusReason);
}

void ProjectFilesTree::scrollOpenedIntoSight(QTreeWidgetItem* opened) {
    if (opened->childCount() == 0)
        return;
    scrollToItem(opened->child(opened->childCount() - 1));
    if (visualItemRect(opened).top() < 0)
        scrollToItem(opened, QAbstractItemView::PositionAtTop);
}

ProcedureRowText ProjectFilesTree::rowText(const QTreeWidgetItem& procedure) const {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QModelIndex index = indexFromItem(&procedure);
    option.rect = visualRect(index);
    return delegate_->rowText(option, index);
}

void ProjectFilesTree::measureProcedures() {
    ProcedureWidths widths;
    for (int i = 0; i < entryCount(); ++i) {
        const QTreeWidgetItem* parent = entry(i);
        if (!parent->isExpanded())
            continue;
        for (int row = 0; row < parent->childCount(); ++row)
            widths.head = std::max(widths.head, textWidth(font(), parent->child(row)->text(0)));
    }
    widths_ = widths;
    viewport()->update();
}

} // namespace faultward
