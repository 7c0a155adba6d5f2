// The procedures a project's [Leave] list names: every pass keeps them whole.
#include "rewrite/passes.h"
#include "rewrite/transforms.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
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
    const std::vector<std::string> items = {"App\\Forms\\*.frm", "app/M.bas:Run", "Old.bas",
                                            "C:\\Shared\\X.bas"};
    const LeaveList group(items);
    LeaveList app;
    app.add("All.faultward", items, "App\\");
    EXPECT_TRUE(app.leavesFile("Forms\\Main.frm"));
    EXPECT_FALSE(group.leavesFile("Forms\\Main.frm"));
    EXPECT_TRUE(app.leavesProcedure("M.bas", "run"));
    EXPECT_FALSE(app.leavesProcedure("Lib\\M.bas", "Run"));
    EXPECT_TRUE(app.leavesFile("Legacy\\Old.bas")); // a file name alone, in any folder
    EXPECT_TRUE(app.leavesFile("C:\\Shared\\X.bas"));

    // Which items name something, over the projects' files: a procedure's
    // item names one of the procedures looked at, or any in a file not
    // looked into.
    ASSERT_EQ(app.items().size(), 4u);
    EXPECT_EQ(app.items()[1].text, "app/M.bas:Run");
    EXPECT_TRUE(app.items()[1].procedure);
    EXPECT_EQ(app.items()[1].file, "All.faultward");
    std::vector<bool> named;
    const std::vector<std::string> procedures = {"Walk", "Sit"};
    app.markNamed("M.bas", &procedures, named);
    app.markNamed("Forms\\Main.frm", nullptr, named);
    EXPECT_EQ(named, (std::vector<bool>{true, false, false, false}));
    app.markNamed("M.bas", nullptr, named);
    EXPECT_EQ(named, (std::vector<bool>{true, true, false, false}));
}

// Items are matched as the user meant them: "." and "x\.." as Windows takes
// them, blanks around the colon, and letters beyond ASCII without regard to
// case, as the language compares names (code page 1252).
TEST(ListedProcedures, itemsMatchAsMeant_dotsBlanksAndLettersBeyondAscii) {
    const LeaveList leave({".\\T.bas:S", "Modules\\..\\Other\\U.bas", "V.bas : Run ",
                           "Forms\\\xC9T\xC9.frm:\xC0_Load", "W.bas:*\xC9*"});
    EXPECT_TRUE(leave.leavesProcedure("T.bas", "s"));
    EXPECT_TRUE(leave.leavesProcedure(".\\T.bas", "S"));
    EXPECT_FALSE(leave.leavesProcedure("Sub\\T.bas", "S")); // .\ names the project's folder
    EXPECT_TRUE(leave.leavesFile("Other\\U.bas"));
    EXPECT_TRUE(leave.leavesFile("other/./u.BAS"));
    EXPECT_FALSE(leave.leavesFile("Modules\\U.bas"));
    EXPECT_TRUE(leave.leavesProcedure("V.bas", "run"));
    EXPECT_TRUE(leave.leavesProcedure("forms\\\xE9t\xE9.FRM", "\xE0_load"));
    EXPECT_TRUE(leave.leavesProcedure("W.bas", "x\xE9y"));
    EXPECT_FALSE(leave.leavesProcedure("W.bas", "xEy"));
}

// In the desktop's list of a group's entries, a project's own items name
// that project's entries only, each from the project's folder.
TEST(ListedProcedures, aProjectsOwnItemsNameItsEntriesOnlyInAGroupsList) {
    LeaveList group;
    group.add("All.faultward", {"B\\Shared.bas"});
    group.addForEntries("App.faultward", {"M.bas:Run", "Old.bas"}, "App\\",
                        {"App\\M.bas", "App\\Lib\\Old.bas"});
    EXPECT_TRUE(group.leavesProcedure("App\\M.bas", "Run"));
    EXPECT_TRUE(group.leavesFile("App\\Lib\\Old.bas"));
    EXPECT_FALSE(group.leavesFile("B\\Old.bas")); // another project's file of that name
    EXPECT_FALSE(group.leavesProcedure("B\\M.bas", "Run"));
    EXPECT_EQ(group.fileLeaving("B\\Shared.bas", std::nullopt), "All.faultward");
    EXPECT_EQ(group.fileLeaving("App\\M.bas", "run"), "App.faultward");
}

// Names are looked up rather than tried item by item; the answers are the
// same whichever way an item is written among many.
TEST(ListedProcedures, aLongListAnswersAsAShortOne) {
    std::vector<std::string> items;
    for (int i = 0; i < 20000; ++i)
        items.push_back("M" + std::to_string(i % 50) + ".bas:P" + std::to_string(i));
    items.push_back("*.cls:Class_*");
    items.push_back("Forms\\*");
    const LeaveList leave(items);
    EXPECT_TRUE(leave.leavesProcedure("M7.bas", "p1257"));
    EXPECT_FALSE(leave.leavesProcedure("M8.bas", "P1257"));
    EXPECT_TRUE(leave.leavesProcedure("Lib\\C.cls", "Class_Terminate"));
    EXPECT_TRUE(leave.leavesFile("forms\\A.frm"));
    EXPECT_FALSE(leave.leavesFile("M7.bas"));
    std::vector<bool> named;
    const std::vector<std::string> procedures = {"P7", "P57", "Other"};
    leave.markNamed("M7.bas", &procedures, named);
    EXPECT_EQ(std::count(named.begin(), named.end(), true), 2);
    EXPECT_TRUE(named[7] && named[57]);
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
