#include "ui/list_entries.h"

#include "platform/display_text.h"

#include <QByteArray>
#include <QListWidgetItem>

namespace faultward {

QString displayText(std::string_view entryBytes) {
    return QString::fromStdString(entryDisplayText(entryBytes));
}

std::string entryBytes(const QListWidgetItem& item) {
    return item.data(kEntryBytesRole).toByteArray().toStdString();
}

QListWidgetItem* makeEntryItem(std::string_view bytes) {
    auto* item = new QListWidgetItem(displayText(bytes));
    item->setData(kEntryBytesRole, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
    return item;
}

} // namespace faultward
