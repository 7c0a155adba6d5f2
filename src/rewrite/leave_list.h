#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace faultward {

// What a project's own settings say to leave alone: whole files and single
// procedures, one item a line of a [Leave] section:
//   Modules\modLegacy.bas          a file
//   frmMain.frm:Form_Load          a procedure of a file
//   *:Class_Initialize             that procedure in every file
// * stands for any run of characters and ? for one. Letter case does not
// count, as in the language (the letters of code page 1252). A file pattern
// with a folder separator (\ or /, which stand for each other) is matched
// against the whole entry as the project writes it, "." and "x\.." taken as
// Windows takes them, one without against the entry's file name (and one
// without a dot against its module's name too: Module1:Save names Save in
// Module1.bas, as an Office document's modules have no files); blanks
// around the colon do not count. Items of several files (a group's and its
// projects') make one list. Names are looked up, not compared with every
// item, so a long list costs no more a procedure than a short one; only
// items with * or ? are tried one by one.
class LeaveList {
public:
    LeaveList() = default;
    // The items of one file, named "" in messages.
    explicit LeaveList(const std::vector<std::string>& items);

    // Adds the items of a settings file (file: as messages name it). The
    // entries asked about are named from a folder the file names as
    // entryPrefix: a group's list for its project "App\App.vbp" has the
    // prefix "App\", and matches that project's entry "Main.frm" as
    // "App\Main.frm".
    void add(std::string file, const std::vector<std::string>& items, std::string entryPrefix = {});
    // Adds a project's items to a list asked about a group's entries: they
    // name only that project's entries (as the group's list names them,
    // each entryPrefix and the entry as the project writes it).
    void addForEntries(std::string file, const std::vector<std::string>& items,
                       std::string entryPrefix, const std::vector<std::string>& entries);

    bool empty() const { return items_.empty(); }
    bool namesProcedures() const { return procedureItems_ > 0; }
    bool leavesFile(std::string_view entry) const;
    bool leavesProcedure(std::string_view entry, std::string_view procedure) const;
    // The file of the first item that leaves the entry (or, with a
    // procedure, that procedure of it) alone.
    std::optional<std::string> fileLeaving(std::string_view entry,
                                           std::optional<std::string_view> procedure) const;

    struct Item {
        std::string file; // as messages name it
        std::string text; // as written
        bool procedure = false;
    };
    // Every item, in the order of the files added and of their lines.
    const std::vector<Item>& items() const { return items_; }
    // Marks in named (a flag an item of items()) the items that name this
    // entry or one of these procedures of its file. Without procedures (the
    // file was not looked into), an item for a procedure of the file counts
    // as naming one.
    void markNamed(std::string_view entry, const std::vector<std::string>* procedures,
                   std::vector<bool>& named) const;

private:
    // Item numbers by the file patterns of the items.
    struct FileIndex {
        std::unordered_map<std::string, std::vector<std::uint32_t>> whole, name;
        std::vector<std::uint32_t> wildWhole, wildName;
    };
    struct Pattern {
        std::string file; // normal form, letter case as written
        bool whole = false;
        bool wild = false;
        std::string procedure; // empty for a file's item
        bool wildProcedure = false;
    };
    struct Source {
        std::string prefix;
        bool scoped = false; // asked about a group's entries: only those in entries
        std::unordered_set<std::string> entries;
        FileIndex files;
        // Items naming a procedure without * or ?, by its folded name and
        // the file's whole or name key; those whose file has * or ?, by the
        // name alone.
        std::unordered_map<std::string, std::vector<std::uint32_t>> procedureWhole, procedureName,
            procedureAnyFile;
        FileIndex wildProcedures;
        FileIndex procedureFiles; // every procedure item
    };
    struct Entry; // an entry as one source's items name it
    static bool namesFile(const Pattern& pattern, const Entry& entry);
    std::optional<Entry> entryFor(const Source& source, std::string_view entry) const;
    // Calls found(item) for each item of source naming this procedure of the entry.
    template <typename Found>
    void namingProcedure(const Source& source, const Entry& entry, std::string_view procedure,
                         Found found) const;
    void index(FileIndex& files, std::uint32_t item);
    // Calls found(item) for each item of files whose file pattern matches.
    template <typename Found>
    void matching(const FileIndex& files, const Entry& entry, Found found) const;
    void addItems(Source source, std::string file, const std::vector<std::string>& items);

    std::vector<Item> items_;
    std::vector<Pattern> patterns_;
    std::vector<Source> sources_;
    std::size_t procedureItems_ = 0;
};

// The procedures of one entry's file that a list leaves alone, as the
// transforms of that file ask: without a list, none.
struct ListedProcedures {
    const LeaveList* list = nullptr;
    std::string_view entry;

    bool any() const { return list != nullptr && list->namesProcedures(); }
    bool names(std::string_view procedure) const {
        return any() && list->leavesProcedure(entry, procedure);
    }
};

// The [Leave] item that names a procedure of a file, and the one that names a
// file: "Forms\frmMain.frm:Form_Load", "Forms\frmMain.frm".
std::string procedureLeaveItem(std::string_view entry, std::string_view procedure);
inline std::string fileLeaveItem(std::string_view entry) {
    return std::string(entry);
}

// Whether an item names a procedure ("File.bas:Name") rather than a file.
bool isProcedureItem(std::string_view item);

// Whether text matches the pattern, * and ? as above, without regard to the
// case of letters.
bool matchesWildcard(std::string_view pattern, std::string_view text);

// An entry or a file pattern in the form the list compares: separators as
// backslashes, none doubled, "." dropped and "x\.." resolved.
std::string normalEntry(std::string_view entry);

} // namespace faultward
