#pragma once

#include "passes.h"

#include <QString>

#include <string>
#include <string_view>
#include <vector>

class QListWidget;
class QListWidgetItem;

namespace faultward {

// Entry texts are the project's bytes in code page 1252. The list shows them
// decoded and keeps the bytes under this role, so the passes open exactly the
// file the project names.
inline constexpr int kEntryBytesRole = Qt::UserRole;

QString displayText(std::string_view windows1252);

// Adds an unticked entry where the list's order puts it: without regard to
// letter case, after entries that compare equal.
QListWidgetItem* addSortedEntry(QListWidget& list, std::string_view bytes);

std::string entryBytes(const QListWidgetItem& item);

// The list as the passes see it: every entry in list order, with its tick.
std::vector<ListEntry> listEntries(const QListWidget& list);

} // namespace faultward
