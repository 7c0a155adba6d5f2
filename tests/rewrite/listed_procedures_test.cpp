// The procedures a project's [Leave] list names: every pass keeps them whole.
#include "rewrite/passes.h"
#include "rewrite/transforms.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <memory>

namespace faultward {
namespace {

std::string handled(std::string_view name, std::string_view body) {
    const std::string n(name);
    return crlf({"Sub " + n + "()", "ON ERROR GOTO ERR_" + n + "  '~Faultward~", body,
                 "EXIT SUB  '~Faultward~", "ERR_" + n + ":  '~Faultward~",
                 "  RESUME NEXT  '~Faultward~", "End Sub"});
}

// Heard of a pass besides the outcomes: the procedures it says it left.
class LeftWhole : public PassObserver {
public:
    void procedureLeftWhole(int, std::string_view message, bool) override {
        messages.emplace_back(message);
    }
    std::vector<std::string> messages;
};

// A listed Sub holding this tool's handler and numbers, and a listed Function,
// between two Subs that are worked on: removal, both ways of inserting (with
// and without line numbers), numbering and unnumbering keep the listed ones
// byte for byte, and say nothing of them.
TEST(ListedProcedures, keepEveryByteThroughEveryPassWhileTheirNeighboursAreWorkedOn) {
    TempFolder folder;
    const std::string header = crlf({"Attribute VB_Name = \"M\""});
    const std::string listed =
        handled("KeptOne", "10 Beep") +
        crlf({"Function Twice(n As Long) As Long", "    Twice = n * 2", "End Function"});
    const std::string after = crlf({"Sub After()", "    Beep", "End Sub"});
    const std::string original = header + handled("Before", "    Beep") + listed + after;
    const std::string inserted =
        header + handled("Before", "    Beep") + listed + handled("After", "    Beep");
    const std::string numbered =
        header + handled("Before", "10     Beep") + listed + handled("After", "10     Beep");

    const auto leave =
        std::make_shared<const LeaveList>(std::vector<std::string>{"m.BAS:kept*", "*:Twice"});
    InsertionOptions options(HandlingMode::ResumeNext);
    options.procedures = kAllProcedureKinds;
    options.leave = leave;
    NumberingOptions numbering;
    numbering.procedures = kAllProcedureKinds;
    numbering.leave = leave;
    const std::vector<ListEntry> entries = {{"M.bas"}};
    const auto file = [&] { return readFile(folder / "M.bas"); };
    LeftWhole heard;

    folder.write("M.bas", original);
    runRemovalPass(entries, folder.path(), heard, nullptr, 1, nullptr, leave);
    EXPECT_EQ(file(), header + crlf({"Sub Before()", "    Beep", "End Sub"}) + listed + after);

    folder.write("M.bas", original);
    runRemovalAndInsertionPasses(entries, folder.path(), options, heard);
    EXPECT_EQ(file(), inserted);
    folder.write("M.bas", original);
    runReinsertionPass(entries, folder.path(), options, heard);
    EXPECT_EQ(file(), inserted);

    runNumberingPass(entries, folder.path(), numbering, heard);
    EXPECT_EQ(file(), numbered);
    runUnnumberingPass(entries, folder.path(), kAllProcedureKinds, heard, nullptr, 1, leave);
    EXPECT_EQ(file(), inserted);
    folder.write("M.bas", original);
    runReinsertionPass(entries, folder.path(), options, heard, nullptr, 1, &numbering);
    EXPECT_EQ(file(), numbered);
    EXPECT_EQ(heard.messages, std::vector<std::string>());
}

// Without its end line a listed procedure reaches up to the next head: the
// marked lines after that are another's, and go.
TEST(ListedProcedures, oneWithoutItsEndReachesUpToTheNextHead) {
    const std::string content =
        crlf({"Sub Open()", "ON ERROR GOTO ERR_Open  '~Faultward~", "    Beep", "Sub Next()",
              "ON ERROR GOTO ERR_Next  '~Faultward~", "End Sub", "x = 1  '~Faultward~"});
    const LeaveList leave({"*:Open"});
    OutputPieces out;
    ASSERT_TRUE(removeMarkedLinesOutside({&leave, "M.bas"}, content, out).changed);
    EXPECT_EQ(out.joined(), crlf({"Sub Open()", "ON ERROR GOTO ERR_Open  '~Faultward~", "    Beep",
                                  "Sub Next()", "End Sub"}));
}

TEST(ListedProcedures, surveyNamesThemAndTheProceduresHoldingMarkedLines) {
    InsertionOptions options;
    options.leave = std::make_shared<const LeaveList>(std::vector<std::string>{"M.bas:C"});
    // The marked line after B's end is none of B's.
    const FileSurvey survey =
        surveyFile(crlf({"Sub A()", "ON ERROR GOTO ERR_A  '~Faultward~", "End Sub", "Sub B()",
                         "End Sub", "x = 1  '~Faultward~", "Sub C()", "10 Beep", "End Sub"}),
                   options, {"M.bas", false, {}, "M.bas"});
    std::vector<std::string> seen;
    for (const SurveyedProcedure& procedure : survey.procedures)
        seen.push_back(procedure.name + (procedure.marked ? " marked" : "") + " " +
                       leftAloneReason(procedure.leftAlone, procedure.kind) +
                       (procedure.numbering == LineNumbering::Tools ? " numbered" : ""));
    EXPECT_EQ(seen, (std::vector<std::string>{"A marked ", "B ", "C listed in [Leave] numbered"}));
}

// A group's list names a project's entries from the group's folder.
TEST(ListedProcedures, aGroupsProjectMatchesItsEntriesUnderItsFolder) {
    const LeaveList group({"App\\Forms\\*.frm", "app/M.bas:Run", "Old.bas", "C:\\Shared\\X.bas"});
    const LeaveList app = group.withEntryPrefix("App\\");
    EXPECT_TRUE(app.leavesFile("Forms\\Main.frm"));
    EXPECT_FALSE(group.leavesFile("Forms\\Main.frm"));
    EXPECT_TRUE(app.leavesProcedure("M.bas", "run"));
    EXPECT_FALSE(app.leavesProcedure("Lib\\M.bas", "Run"));
    EXPECT_TRUE(app.leavesFile("Legacy\\Old.bas")); // a file name alone, in any folder
    EXPECT_TRUE(app.leavesFile("C:\\Shared\\X.bas"));

    // Which items name something, over the projects' files: a procedure's
    // item names one of the procedures looked at, or any in a file not
    // looked into.
    EXPECT_EQ(group.items(), (std::vector<std::string>{"App\\Forms\\*.frm", "Old.bas",
                                                       "C:\\Shared\\X.bas", "app/M.bas:Run"}));
    std::vector<bool> named;
    const std::vector<std::string> procedures = {"Walk", "Sit"};
    app.markNamed("M.bas", &procedures, named);
    app.markNamed("Forms\\Main.frm", nullptr, named);
    EXPECT_EQ(named, (std::vector<bool>{true, false, false, false}));
    app.markNamed("M.bas", nullptr, named);
    EXPECT_EQ(named, (std::vector<bool>{true, false, false, true}));
}

// An Office document's modules have no files: an item may name a module by
// its name alone, as the editor shows it.
TEST(ListedProcedures, anItemWithoutADotNamesAModuleByItsName) {
    const LeaveList list({"Module1:Save", "ThisWorkbook:*", "Sheet?", "Old.bas"});
    EXPECT_TRUE(list.leavesProcedure("Module1.bas", "save"));
    EXPECT_FALSE(list.leavesProcedure("Module1.bas", "Load"));
    EXPECT_FALSE(list.leavesProcedure("Module10.bas", "Save"));
    EXPECT_TRUE(list.leavesProcedure("ThisWorkbook.cls", "Workbook_Open"));
    EXPECT_TRUE(list.leavesFile("Sheet1.cls"));
    EXPECT_FALSE(list.leavesFile("Sheet10.cls"));
    // An item with a dot names the file's whole name, as before.
    EXPECT_FALSE(list.leavesFile("Old.bas.bak"));
    EXPECT_FALSE(LeaveList({"Old.b"}).leavesFile("Old.bas"));
}

} // namespace
} // namespace faultward
