#include "rewrite/leave_list.h"

#include "rewrite/handler_format.h"
#include "rewrite/pass_types.h"

#include <utility>

namespace faultward {
namespace {

char folded(char c) {
    if (c >= 'A' && c <= 'Z')
        return static_cast<char>(c - 'A' + 'a');
    return c == '/' ? '\\' : c;
}

bool hasSeparator(std::string_view text) {
    return text.find_first_of("\\/") != std::string_view::npos;
}

std::string_view fileNameOf(std::string_view entry) {
    const std::size_t slash = entry.find_last_of("\\/");
    return slash == std::string_view::npos ? entry : entry.substr(slash + 1);
}

// A procedure is named with or without the type character its head gives
// its name (Nm$ is Nm).
bool namesProcedure(std::string_view pattern, std::string_view procedure) {
    return matchesWildcard(pattern, procedure) ||
           matchesWildcard(withoutTypeCharacter(pattern), withoutTypeCharacter(procedure));
}

// A module's name: its file name without the extension.
std::string_view moduleNameOf(std::string_view fileName) {
    return fileName.substr(0, fileName.rfind('.'));
}

} // namespace

bool matchesWildcard(std::string_view pattern, std::string_view text) {
    // The usual walk with one point to go back to: the last star's.
    std::size_t p = 0, t = 0;
    std::size_t star = std::string_view::npos, resume = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = t;
        } else if (p < pattern.size() &&
                   (pattern[p] == '?' || folded(pattern[p]) == folded(text[t]))) {
            ++p;
            ++t;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            t = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

LeaveList::LeaveList(const std::vector<std::string>& items) {
    for (const std::string& item : items) {
        // A procedure's name holds no colon and no separator; a drive's colon
        // ("C:\Shared\X.bas") comes before a separator.
        const std::size_t colon = item.rfind(':');
        if (colon != std::string::npos && !hasSeparator(std::string_view(item).substr(colon)))
            procedures_.push_back({item.substr(0, colon), item.substr(colon + 1)});
        else
            files_.push_back(item);
    }
}

bool LeaveList::fileMatches(std::string_view pattern, std::string_view entry) const {
    if (!hasSeparator(pattern)) {
        // A pattern without a dot may name the module ("Module1" for
        // Module1.bas), as in an Office document, where modules have no files.
        const std::string_view name = fileNameOf(entry);
        return matchesWildcard(pattern, name) || (pattern.find('.') == std::string_view::npos &&
                                                  matchesWildcard(pattern, moduleNameOf(name)));
    }
    if (entryPrefix_.empty())
        return matchesWildcard(pattern, entry);
    return matchesWildcard(pattern, entryInFolder(entryPrefix_, entry));
}

LeaveList LeaveList::withEntryPrefix(std::string folder) const {
    LeaveList list = *this;
    list.entryPrefix_ = std::move(folder);
    return list;
}

bool LeaveList::leavesFile(std::string_view entry) const {
    for (const std::string& file : files_)
        if (fileMatches(file, entry))
            return true;
    return false;
}

bool LeaveList::leavesProcedure(std::string_view entry, std::string_view procedure) const {
    for (const ProcedureItem& item : procedures_)
        if (namesProcedure(item.procedure, procedure) && fileMatches(item.file, entry))
            return true;
    return false;
}

std::vector<std::string> LeaveList::items() const {
    std::vector<std::string> items = files_;
    for (const ProcedureItem& item : procedures_)
        items.push_back(procedureLeaveItem(item.file, item.procedure));
    return items;
}

void LeaveList::markNamed(std::string_view entry, const std::vector<std::string>* procedures,
                          std::vector<bool>& named) const {
    named.resize(files_.size() + procedures_.size());
    for (std::size_t i = 0; i < files_.size(); ++i)
        if (fileMatches(files_[i], entry))
            named[i] = true;
    for (std::size_t i = 0; i < procedures_.size(); ++i) {
        const ProcedureItem& item = procedures_[i];
        if (named[files_.size() + i] || !fileMatches(item.file, entry))
            continue;
        bool names = procedures == nullptr;
        for (std::size_t p = 0; !names && p < procedures->size(); ++p)
            names = namesProcedure(item.procedure, (*procedures)[p]);
        named[files_.size() + i] = names;
    }
}

std::string procedureLeaveItem(std::string_view entry, std::string_view procedure) {
    return std::string(entry) + ":" + std::string(procedure);
}

} // namespace faultward
