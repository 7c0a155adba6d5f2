#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace faultward {

// What a project's own settings say to leave alone: whole files and single
// procedures, one item a line of its [Leave] section:
//   Modules\modLegacy.bas          a file
//   frmMain.frm:Form_Load          a procedure of a file
//   *:Class_Initialize             that procedure in every file
// * stands for any run of characters and ? for one. Letter case does not
// count, as in the language (ASCII letters; other bytes must be the same). A
// file pattern with a folder separator (\ or /, which stand for each other)
// is matched against the whole entry as the project writes it, one without
// against the entry's file name, and one without a dot against its module's
// name too (Module1:Save names Save in Module1.bas).
class LeaveList {
public:
    LeaveList() = default;
    explicit LeaveList(const std::vector<std::string>& items);

    bool empty() const { return files_.empty() && procedures_.empty(); }
    bool namesProcedures() const { return !procedures_.empty(); }
    bool leavesFile(std::string_view entry) const;
    bool leavesProcedure(std::string_view entry, std::string_view procedure) const;

    // The items as written: the files', then the procedures'.
    std::vector<std::string> items() const;
    std::size_t fileItemCount() const { return files_.size(); }
    // Marks in named (a flag an item of items()) the items that name this
    // entry or one of these procedures of its file. Without procedures (the
    // file was not looked into), an item for a procedure of the file counts
    // as naming one.
    void markNamed(std::string_view entry, const std::vector<std::string>* procedures,
                   std::vector<bool>& named) const;

    // The same list for the entries of a project in a folder below the
    // list's own, which the items name from the list's folder: a group's
    // project "App\App.vbp" has the folder "App\", and its entry
    // "Main.frm" is matched as "App\Main.frm".
    LeaveList withEntryPrefix(std::string folder) const;

private:
    struct ProcedureItem {
        std::string file;
        std::string procedure;
    };
    bool fileMatches(std::string_view pattern, std::string_view entry) const;

    std::vector<std::string> files_;
    std::vector<ProcedureItem> procedures_;
    std::string entryPrefix_;
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

// Whether text matches the pattern, * and ? as above, without regard to the
// case of ASCII letters.
bool matchesWildcard(std::string_view pattern, std::string_view text);

} // namespace faultward
