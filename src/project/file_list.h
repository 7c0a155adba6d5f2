#pragma once

#include "project/project_reader.h"
#include "rewrite/pass_types.h"

#include <string_view>
#include <vector>

namespace faultward {

// Orders list entries as the project files list shows them: byte by byte with
// A-Z folded to lower case. Negative, zero or positive like strcmp.
int compareListText(std::string_view a, std::string_view b);

// The project's entries as the list holds them: sorted, all selected. An entry
// goes after every entry that sorts before it or equal to it, so entries that
// compare equal keep the order the project file names them in.
std::vector<ListEntry> sortedListEntries(const std::vector<std::string>& entriesInFileOrder);
// The same for entries that carry their kind.
std::vector<ListEntry> sortedListEntries(const std::vector<ProjectEntry>& entriesInFileOrder);

} // namespace faultward
