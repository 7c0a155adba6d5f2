#pragma once

#include "rewrite/leave_list.h"
#include "rewrite/pass_types.h"

#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace faultward {

// One settings file's [Leave] items as a command reads them, and which of
// them named a file or procedure it looked at.
struct LeaveItems {
    std::string file; // as messages name it
    std::vector<std::string> items;
    std::vector<bool> named;
};

// The list a project is worked with: the items of files, each from the
// folder its entries are named from ("App\" for a group's list asked about
// its project "App\App.vbp"; empty for the project's own). Files without
// items add nothing.
struct LeaveFileInForce {
    std::shared_ptr<LeaveItems> items;
    std::string entryPrefix;
};
std::shared_ptr<const LeaveList> leaveListOf(std::span<const LeaveFileInForce> files);
// Hands the marks of a list made by leaveListOf back to each file's items.
void keepNamedMarks(std::span<const LeaveFileInForce> files, const std::vector<bool>& named);

// Marks the items of list that name one of the entries or a procedure of
// its file, read from folder: a ticked entry's file is read for its
// procedures; one left whole or not found counts as naming every procedure
// item of it.
void markNamedItems(const LeaveList& list, std::span<const ListEntry> entries,
                    const std::filesystem::path& folder, std::vector<bool>& named);

// "FILE [Leave] Gone.bas names no file of the kinds checked", for each item
// that named nothing; looked is "checked" or "worked on".
std::vector<std::string> leaveItemsNamingNothing(const LeaveItems& items, std::string_view looked);

} // namespace faultward
