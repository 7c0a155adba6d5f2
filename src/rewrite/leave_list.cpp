#include "rewrite/leave_list.h"

#include "platform/windows1252.h"
#include "rewrite/handler_format.h"
#include "rewrite/pass_types.h"

#include <utility>

namespace faultward {
namespace {

char folded(char c) {
    return c == '/' ? '\\' : lowerWindows1252(c);
}

std::string foldedText(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = folded(c);
    return out;
}

bool hasSeparator(std::string_view text) {
    return text.find_first_of("\\/") != std::string_view::npos;
}

bool isWild(std::string_view text) {
    return text.find_first_of("*?") != std::string_view::npos;
}

std::string_view fileNameOf(std::string_view entry) {
    const std::size_t slash = entry.find_last_of("\\/");
    return slash == std::string_view::npos ? entry : entry.substr(slash + 1);
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// A module's name: its file name without the extension.
std::string_view moduleNameOf(std::string_view fileName) {
    return fileName.substr(0, fileName.rfind('.'));
}

// A procedure's name as its items are keyed: in one letter case, and
// without the type character its head may give it (Nm$ is Nm).
std::string procedureKey(std::string_view name) {
    return foldedText(withoutTypeCharacter(name));
}

} // namespace

struct LeaveList::Entry {
    std::string whole; // normal form
    std::string wholeKey;
    std::string nameKey;
    // The module's name (the file's without its extension), which a pattern
    // without a dot may name; empty when that is the file's name itself.
    std::string moduleKey;
};

// Whether a pattern without a folder names the entry's file: by its name,
// or without a dot by its module's name.
bool LeaveList::namesFile(const Pattern& pattern, const Entry& entry) {
    return matchesWildcard(pattern.file, fileNameOf(entry.whole)) ||
           (!entry.moduleKey.empty() && pattern.file.find('.') == std::string::npos &&
            matchesWildcard(pattern.file, moduleNameOf(fileNameOf(entry.whole))));
}

std::string normalEntry(std::string_view entry) {
    std::vector<std::string_view> parts;
    const bool rooted = !entry.empty() && (entry.front() == '\\' || entry.front() == '/');
    while (!entry.empty()) {
        const std::size_t slash = entry.find_first_of("\\/");
        const std::string_view part = entry.substr(0, slash);
        if (part == ".." && !parts.empty() && parts.back() != ".." && !isWild(parts.back()) &&
            !parts.back().ends_with(':'))
            parts.pop_back();
        else if (!part.empty() && part != ".")
            parts.push_back(part);
        if (slash == std::string_view::npos)
            break;
        entry.remove_prefix(slash + 1);
    }
    std::string out = rooted ? "\\" : "";
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0)
            out += '\\';
        out += parts[i];
    }
    return out;
}

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
    add({}, items);
}

void LeaveList::index(FileIndex& files, std::uint32_t item) {
    const Pattern& pattern = patterns_[item];
    if (pattern.wild)
        (pattern.whole ? files.wildWhole : files.wildName).push_back(item);
    else
        (pattern.whole ? files.whole : files.name)[foldedText(pattern.file)].push_back(item);
}

void LeaveList::addItems(Source source, std::string file, const std::vector<std::string>& items) {
    items_.reserve(items_.size() + items.size());
    patterns_.reserve(patterns_.size() + items.size());
    source.procedureName.reserve(items.size());
    for (const std::string& written : items) {
        const std::string_view text = trimmed(written);
        if (text.empty())
            continue;
        const auto item = static_cast<std::uint32_t>(items_.size());
        Pattern pattern;
        const std::size_t colon = text.rfind(':');
        std::string_view filePart = text;
        const bool procedure = isProcedureItem(text);
        if (procedure) {
            filePart = trimmed(text.substr(0, colon));
            pattern.procedure = std::string(trimmed(text.substr(colon + 1)));
            pattern.wildProcedure = isWild(pattern.procedure);
        }
        pattern.whole = hasSeparator(filePart);
        pattern.file = normalEntry(filePart);
        pattern.wild = isWild(pattern.file);
        items_.push_back({file, std::string(text), procedure});
        patterns_.push_back(std::move(pattern));
        if (!procedure) {
            index(source.files, item);
            continue;
        }
        ++procedureItems_;
        index(source.procedureFiles, item);
        const Pattern& added = patterns_[item];
        if (added.wildProcedure)
            index(source.wildProcedures, item);
        else if (added.wild)
            source.procedureAnyFile[procedureKey(added.procedure)].push_back(item);
        else
            (added.whole ? source.procedureWhole
                         : source.procedureName)[procedureKey(added.procedure) + '\0' +
                                                 foldedText(added.whole ? added.file
                                                                        : fileNameOf(added.file))]
                .push_back(item);
    }
    sources_.push_back(std::move(source));
}

void LeaveList::add(std::string file, const std::vector<std::string>& items,
                    std::string entryPrefix) {
    Source source;
    source.prefix = std::move(entryPrefix);
    addItems(std::move(source), std::move(file), items);
}

void LeaveList::addForEntries(std::string file, const std::vector<std::string>& items,
                              std::string entryPrefix, const std::vector<std::string>& entries) {
    Source source;
    source.prefix = std::move(entryPrefix);
    source.scoped = true;
    source.entries.insert(entries.begin(), entries.end());
    addItems(std::move(source), std::move(file), items);
}

std::optional<LeaveList::Entry> LeaveList::entryFor(const Source& source,
                                                    std::string_view entry) const {
    std::string named;
    if (source.scoped) {
        if (!source.entries.contains(std::string(entry)))
            return std::nullopt;
        named = entry.starts_with(source.prefix) ? entry.substr(source.prefix.size()) : entry;
    } else {
        named = entryInFolder(source.prefix, entry);
    }
    Entry normal;
    normal.whole = normalEntry(named);
    normal.wholeKey = foldedText(normal.whole);
    normal.nameKey = foldedText(fileNameOf(normal.whole));
    const std::string_view module = moduleNameOf(fileNameOf(normal.whole));
    if (module.size() < fileNameOf(normal.whole).size() &&
        module.find('.') == std::string_view::npos)
        normal.moduleKey = foldedText(module);
    return normal;
}

template <typename Found>
void LeaveList::matching(const FileIndex& files, const Entry& entry, Found found) const {
    for (const auto& [map, key] :
         {std::pair(&files.whole, &entry.wholeKey), std::pair(&files.name, &entry.nameKey),
          std::pair(&files.name, &entry.moduleKey)})
        if (const auto at = map->find(*key); !key->empty() && at != map->end())
            for (const std::uint32_t item : at->second)
                found(item);
    for (const std::uint32_t item : files.wildWhole)
        if (matchesWildcard(patterns_[item].file, entry.whole))
            found(item);
    for (const std::uint32_t item : files.wildName)
        if (namesFile(patterns_[item], entry))
            found(item);
}

template <typename Found>
void LeaveList::namingProcedure(const Source& source, const Entry& entry,
                                std::string_view procedure, Found found) const {
    const std::string name = procedureKey(procedure);
    const auto each = [&](const auto& map, const std::string& key) {
        if (const auto at = map.find(key); at != map.end())
            for (const std::uint32_t item : at->second)
                found(item);
    };
    each(source.procedureWhole, name + '\0' + entry.wholeKey);
    each(source.procedureName, name + '\0' + entry.nameKey);
    if (!entry.moduleKey.empty())
        each(source.procedureName, name + '\0' + entry.moduleKey);
    if (const auto at = source.procedureAnyFile.find(name); at != source.procedureAnyFile.end())
        for (const std::uint32_t item : at->second)
            if (patterns_[item].whole ? matchesWildcard(patterns_[item].file, entry.whole)
                                      : namesFile(patterns_[item], entry))
                found(item);
    matching(source.wildProcedures, entry, [&](std::uint32_t item) {
        const std::string_view pattern = patterns_[item].procedure;
        if (matchesWildcard(pattern, procedure) ||
            matchesWildcard(withoutTypeCharacter(pattern), withoutTypeCharacter(procedure)))
            found(item);
    });
}

std::optional<std::string> LeaveList::fileLeaving(std::string_view entry,
                                                  std::optional<std::string_view> procedure) const {
    std::optional<std::uint32_t> first;
    const auto note = [&](std::uint32_t item) {
        if (!first || item < *first)
            first = item;
    };
    for (const Source& source : sources_) {
        const std::optional<Entry> named = entryFor(source, entry);
        if (!named)
            continue;
        if (procedure)
            namingProcedure(source, *named, *procedure, note);
        else
            matching(source.files, *named, note);
    }
    if (!first)
        return std::nullopt;
    return items_[*first].file;
}

bool LeaveList::leavesFile(std::string_view entry) const {
    return !empty() && fileLeaving(entry, std::nullopt).has_value();
}

bool LeaveList::leavesProcedure(std::string_view entry, std::string_view procedure) const {
    return namesProcedures() && fileLeaving(entry, procedure).has_value();
}

void LeaveList::markNamed(std::string_view entry, const std::vector<std::string>* procedures,
                          std::vector<bool>& named) const {
    named.resize(items_.size());
    const auto mark = [&](std::uint32_t item) { named[item] = true; };
    for (const Source& source : sources_) {
        const std::optional<Entry> normal = entryFor(source, entry);
        if (!normal)
            continue;
        matching(source.files, *normal, mark);
        if (procedures == nullptr) {
            matching(source.procedureFiles, *normal, mark);
            continue;
        }
        for (const std::string& procedure : *procedures)
            namingProcedure(source, *normal, procedure, mark);
    }
}

bool isProcedureItem(std::string_view item) {
    // A procedure's name holds no colon and no separator; a drive's colon
    // ("C:\Shared\X.bas") comes before a separator.
    const std::size_t colon = item.rfind(':');
    return colon != std::string_view::npos && !hasSeparator(item.substr(colon));
}

std::string procedureLeaveItem(std::string_view entry, std::string_view procedure) {
    return std::string(entry) + ":" + std::string(procedure);
}

} // namespace faultward
