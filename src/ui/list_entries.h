#pragma once

#include <QString>

#include <string>
#include <string_view>

class QTreeWidgetItem;

namespace faultward {

// Entry texts are the project's bytes in the ANSI code page. The list shows
// them decoded and keeps the bytes under this role, so that what the list
// shows can always be traced back to the file the project names.
inline constexpr int kEntryBytesRole = Qt::UserRole;

QString displayText(std::string_view entryBytes);

// An unticked, checkable item for an entry, its text in the first column.
QTreeWidgetItem* makeEntryItem(std::string_view bytes);

std::string entryBytes(const QTreeWidgetItem& item);

} // namespace faultward
