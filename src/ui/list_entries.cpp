#include "ui/list_entries.h"

#include "platform/display_text.h"

#include <QByteArray>
#include <QTreeWidgetItem>

namespace faultward {

QString displayText(std::string_view entryBytes) {
    return QString::fromStdString(entryDisplayText(entryBytes));
}

std::string entryBytes(const QTreeWidgetItem& item) {
    return item.data(0, kEntryBytesRole).toByteArray().toStdString();
}

QTreeWidgetItem* makeEntryItem(std::string_view bytes) {
    auto* item = new QTreeWidgetItem(QStringList{displayText(bytes)});
    item->setData(0, kEntryBytesRole,
                  QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(0, Qt::Unchecked);
    return item;
}

} // namespace faultward
