#include "list_entries.h"

#include "entry_path.h"
#include "file_list.h"

#include <QByteArray>
#include <QListWidget>

namespace faultward {

QString displayText(std::string_view windows1252) {
    return QString::fromStdString(windows1252ToUtf8(windows1252));
}

std::string entryBytes(const QListWidgetItem& item) {
    return item.data(kEntryBytesRole).toByteArray().toStdString();
}

QListWidgetItem* addSortedEntry(QListWidget& list, std::string_view bytes) {
    // The list is always sorted, so a binary search finds the first entry
    // that sorts after the new one.
    int low = 0;
    int high = list.count();
    while (low < high) {
        const int middle = (low + high) / 2;
        if (compareListText(entryBytes(*list.item(middle)), bytes) <= 0)
            low = middle + 1;
        else
            high = middle;
    }
    auto* item = new QListWidgetItem(displayText(bytes));
    item->setData(kEntryBytesRole, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
    list.insertItem(low, item);
    return item;
}

std::vector<ListEntry> listEntries(const QListWidget& list) {
    std::vector<ListEntry> entries;
    entries.reserve(static_cast<std::size_t>(list.count()));
    for (int i = 0; i < list.count(); ++i) {
        const QListWidgetItem& item = *list.item(i);
        entries.push_back({entryBytes(item), item.checkState() == Qt::Checked});
    }
    return entries;
}

} // namespace faultward
