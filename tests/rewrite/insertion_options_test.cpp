#include "rewrite/handler_template.h"
#include "rewrite/leave_list.h"
#include "rewrite/own_handling.h"
#include "rewrite/procedure_lines.h"
#include "rewrite/procedure_survey.h"
#include "rewrite/transforms.h"
#include "support/random_lines.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <random>

namespace faultward {
namespace {

InsertionOptions optionsFor(ProcedureKinds procedures, bool skipHandled = false) {
    InsertionOptions options(HandlingMode::ResumeNext);
    options.procedures = procedures;
    options.skipHandled = skipHandled;
    return options;
}

std::string insert(std::string_view content, const InsertionOptions& options,
                   const SourceFacts& facts = {}, InsertionState* carried = nullptr) {
    InsertionState state;
    OutputPieces out;
    const TransformResult result =
        insertHandlers(content, options, facts, carried ? *carried : state, out);
    return result.changed ? out.joined() : std::string(content);
}

std::string removeMarked(std::string_view content) {
    OutputPieces out;
    return removeMarkedLines(content, out).changed ? out.joined() : std::string(content);
}

const std::string kMixed = crlf({
    "Public Function Twice(n As Integer) As Integer",
    "    Twice = n * 2",
    "End Function",
    "Friend Property Get Total() As Long",
    "    Total = 1",
    "End Property",
    "Static Property Let Total(ByVal v As Long)",
    "End Property",
    "Sub Main()",
    "End Sub",
});

TEST(ProcedureKinds, eachKindLeavesWithItsOwnExitStatement) {
    EXPECT_EQ(insert(kMixed, optionsFor(kAllProcedureKinds)),
              crlf({
                  "Public Function Twice(n As Integer) As Integer",
                  "ON ERROR GOTO ERR_Twice  '~Faultward~",
                  "    Twice = n * 2",
                  "EXIT FUNCTION  '~Faultward~",
                  "ERR_Twice:  '~Faultward~",
                  "  RESUME NEXT  '~Faultward~",
                  "End Function",
                  "Friend Property Get Total() As Long",
                  "ON ERROR GOTO ERR_Total  '~Faultward~",
                  "    Total = 1",
                  "EXIT PROPERTY  '~Faultward~",
                  "ERR_Total:  '~Faultward~",
                  "  RESUME NEXT  '~Faultward~",
                  "End Property",
                  "Static Property Let Total(ByVal v As Long)",
                  "ON ERROR GOTO ERR_Total  '~Faultward~",
                  "EXIT PROPERTY  '~Faultward~",
                  "ERR_Total:  '~Faultward~",
                  "  RESUME NEXT  '~Faultward~",
                  "End Property",
                  "Sub Main()",
                  "ON ERROR GOTO ERR_Main  '~Faultward~",
                  "EXIT SUB  '~Faultward~",
                  "ERR_Main:  '~Faultward~",
                  "  RESUME NEXT  '~Faultward~",
                  "End Sub",
              }));
}

TEST(ProcedureKinds, onlyTheChosenKindsAreTouched) {
    const std::string functionsOnly = insert(kMixed, optionsFor(ProcedureKind::Function));
    EXPECT_NE(functionsOnly.find("ERR_Twice"), std::string::npos);
    EXPECT_EQ(functionsOnly.find("ERR_Total"), std::string::npos);
    EXPECT_EQ(functionsOnly.find("ERR_Main"), std::string::npos);
    EXPECT_EQ(functionsOnly.find("EXIT SUB"), std::string::npos);
    // Subs alone, through the options, give what the mode alone gives.
    std::string name;
    OutputPieces out;
    insertHandlers(kMixed, HandlingMode::ResumeNext, name, out);
    EXPECT_EQ(insert(kMixed, optionsFor(ProcedureKind::Sub)), out.joined());
}

TEST(ProcedureKinds, headsFollowTheSubRules) {
    // Same exact-case, first-column prefixes as Sub heads: none of these is a head.
    const std::string notHeads =
        crlf({"Public Static Function A()", "  Function B()", "function C()",
              "Private Declare Function D Lib \"k\" () As Long", "Property E()",
              "Public Property Get", "FunctionF()", "  End Function", "end property"});
    EXPECT_EQ(insert(notHeads, optionsFor({ProcedureKind::Function, ProcedureKind::Property})),
              notHeads);
    // Continued heads get their trap after the last line; one-line ones get none.
    const std::string out = insert(crlf({"Private Function Long(a As Long, _", "    b As Long)",
                                         "End Function", "Function One(): One = 1: End Function"}),
                                   optionsFor(ProcedureKind::Function));
    EXPECT_NE(out.find("    b As Long)\r\nON ERROR GOTO ERR_Long  '~Faultward~\r\n"),
              std::string::npos)
        << out;
    EXPECT_EQ(out.find("ERR_One"), std::string::npos);
}

// Procedure attributes stand directly after the head; the editor refuses a
// file with a statement between them.
TEST(ProcedureKinds, trapGoesAfterTheAttributesOfAHead) {
    const std::string member =
        crlf({"Public Property Get Item(i) As Variant", "Attribute Item.VB_UserMemId = 0",
              "Attribute Item.VB_Description = \"An item\"", "    Item = i", "End Property"});
    const std::string expected =
        "Attribute Item.VB_Description = \"An item\"\r\nON ERROR GOTO ERR_Item  '~Faultward~\r\n";
    EXPECT_NE(insert(member, optionsFor(kAllProcedureKinds)).find(expected), std::string::npos);

    // In a class every head keeps its attributes; Subs of forms and modules
    // keep the place they have always had.
    const std::string sub =
        crlf({"Public Sub Refresh()", "Attribute Refresh.VB_UserMemId = -550", "End Sub"});
    EXPECT_NE(insert(sub, optionsFor(ProcedureKind::Sub), {"C.cls", true})
                  .find("-550\r\nON ERROR GOTO ERR_Refresh"),
              std::string::npos);
    EXPECT_NE(insert(sub, optionsFor(ProcedureKind::Sub), {"M.bas", false})
                  .find("Refresh()\r\nON ERROR GOTO ERR_Refresh"),
              std::string::npos);
}

TEST(OwnHandling, recognisesOnErrorStatementsOnly) {
    for (const std::string_view line :
         {"    On Error GoTo Failed", "on error resume next", "  ON  ERROR\tGOTO 0",
          "    If x Then On Error Resume Next", "    x = 1: On Error GoTo 0 ' done",
          "    On Local Error GoTo Failed", "on  local\terror resume next"})
        EXPECT_TRUE(holdsOnErrorStatement(line)) << line;
    // Wherever the statement's "rr" falls in the line.
    for (std::size_t blanks = 0; blanks < 20; ++blanks)
        EXPECT_TRUE(holdsOnErrorStatement(std::string(blanks, ' ') + "ON ERROR GoTo 0")) << blanks;
    for (const std::string_view line :
         {"    ' On Error GoTo Failed", "    Rem On Error GoTo Failed",
          "    s = \"On Error Resume Next\"", "    OnError = 1", "    Call Log(\"x\") ' on error",
          "    RaiseOn Error", "    On ErrorCount", "    On LocalError", "    On Local x"})
        EXPECT_FALSE(holdsOnErrorStatement(line)) << line;
}

TEST(OwnHandling, skipHandled_leavesTheWholeProcedureAlone) {
    const std::string input =
        crlf({"Sub Own()", "    On Error GoTo Oops", "    x = 1", "Oops:", "End Sub", "Sub Plain()",
              "    y = 2", "End Sub", "Function Marked()", "ON ERROR GOTO ERR_Marked  '~Faultward~",
              "End Function"});
    const std::string out = insert(input, optionsFor(kAllProcedureKinds, true));
    EXPECT_EQ(out.find("ERR_Own"), std::string::npos) << out;
    EXPECT_NE(out.find("Sub Plain()\r\nON ERROR GOTO ERR_Plain"), std::string::npos);
    EXPECT_NE(out.find("ERR_Plain:  '~Faultward~\r\n  RESUME NEXT  '~Faultward~\r\nEnd Sub"),
              std::string::npos);
    // The tool's own trap is no reason to skip: the removal before insertion
    // takes it out anyway.
    EXPECT_NE(out.find("EXIT FUNCTION"), std::string::npos);
    // Without the option the procedure with its own trap gets one as well.
    EXPECT_NE(insert(input, optionsFor(ProcedureKind::Sub)).find("ERR_Own:"), std::string::npos);
}

TEST(OwnHandling, bodyEndsAtTheNextHeadEvenWithoutItsEnd) {
    const std::string input =
        crlf({"Sub NoEnd()", "    x = 1", "Sub Next()", "    On Error Resume Next", "End Sub"});
    const std::string out = insert(input, optionsFor(ProcedureKind::Sub, true));
    EXPECT_NE(out.find("ON ERROR GOTO ERR_NoEnd"), std::string::npos);
    EXPECT_EQ(out.find("ON ERROR GOTO ERR_Next"), std::string::npos);
    // The end belongs to the handled procedure, so it gets no block.
    EXPECT_EQ(out.find("RESUME NEXT  '~"), std::string::npos);
}

// Both walks through a file (in runs, and line by line for files with odd
// line endings) must agree with every option, and removal must give back
// the input.
TEST(ProcedureKinds, runsAndLineWalkAgreeWithEveryOption) {
    std::mt19937 random(11);
    const std::string_view tokens[] = {"Sub A()",
                                       "Function F()",
                                       "Property Get P()",
                                       "Private Property Let P(v)",
                                       "End Sub",
                                       "End Function",
                                       "End Property",
                                       "Attribute P.VB_UserMemId = 0",
                                       "On Error",
                                       " Resume Next",
                                       "'c",
                                       "Friend Function G(a, _",
                                       " _",
                                       "x = 1",
                                       "Sub Q(): End Sub",
                                       "Function R(): End Function",
                                       "\"On Error\"",
                                       "Public Static Sub",
                                       "I_Process_Errors",
                                       "  End Function",
                                       "ERR_F:",
                                       "\t"};
    for (int round = 0; round < 3000; ++round) {
        const std::string ending = round % 4 == 0 ? "\n" : "\r\n";
        const std::string text = testing::randomLines(random, tokens, 14, ending);
        const InsertionOptions options = optionsFor(
            round % 3 == 0 ? kAllProcedureKinds : ProcedureKinds(ProcedureKind::Property),
            round % 2 == 0);
        const SourceFacts facts{"F.cls", round % 5 == 0};
        InsertionState inRuns;
        InsertionState lineByLine;
        const std::string viaRuns = insert(text, options, facts, &inRuns);
        const std::string viaLines = insert(text + "tail", options, facts, &lineByLine);
        ASSERT_EQ(viaRuns + "tail", viaLines) << ::testing::PrintToString(text);
        ASSERT_EQ(inRuns.name, lineByLine.name);
        ASSERT_EQ(inRuns.handled, lineByLine.handled);
        ASSERT_EQ(removeMarked(viaRuns), text) << ::testing::PrintToString(text);
    }
}

// A label cannot carry a type character: the trap and the label drop it in
// every mode and in a template's {procedure}, removal still finds the lines,
// and [Leave] names the procedure with or without it.
TEST(ProcedureKinds, typeCharactersStayOutOfLabels) {
    std::string error;
    const auto handlerTemplate = std::make_shared<const HandlerTemplate>(*HandlerTemplate::parse(
        "[trap]\nOn Error GoTo ERR_{procedure}\n[handler]\n{exit}\nERR_{procedure}:\n"
        "  MsgBox \"in {procedure}\"\n",
        error));
    for (const char type : std::string_view("%&!#@$")) {
        const std::string name = std::string("Nm") + type;
        const std::string source = crlf({"Public Function " + name + "(ByVal s As String)",
                                         "    " + name + " = 1", "End Function"});
        for (const HandlingMode mode : kHandlingModes) {
            InsertionOptions options = optionsFor(ProcedureKind::Function);
            options.mode = mode;
            const std::string inserted = insert(source, options);
            EXPECT_NE(inserted.find("\r\nON ERROR GOTO ERR_Nm  '~Faultward~\r\n"),
                      std::string::npos)
                << inserted;
            EXPECT_NE(inserted.find("\r\nERR_Nm:  '~Faultward~\r\n"), std::string::npos);
            EXPECT_EQ(removeMarked(inserted), source);
            // Inserting again finds its own label, not a taken one.
            EXPECT_EQ(insert(removeMarked(inserted), options), inserted);
        }
        InsertionOptions templated = optionsFor(ProcedureKind::Function);
        templated.handlerTemplate = handlerTemplate;
        const std::string inserted = insert(source, templated);
        EXPECT_NE(inserted.find("\r\nOn Error GoTo ERR_Nm  '~"), std::string::npos) << inserted;
        EXPECT_NE(inserted.find("\r\nERR_Nm:  '~"), std::string::npos);
        EXPECT_NE(inserted.find("MsgBox \"in Nm\"  '~"), std::string::npos);
        EXPECT_EQ(removeMarked(inserted), source);

        // Listed with or without it, it is left alone, and check names it so.
        for (const std::string& item :
             {std::string("M.bas:Nm"), "M.bas:" + name, std::string("*:nm?")}) {
            InsertionOptions listed = optionsFor(ProcedureKind::Function);
            listed.leave = std::make_shared<const LeaveList>(std::vector<std::string>{item});
            const SourceFacts facts{"M.bas", false, {}, "M.bas"};
            EXPECT_EQ(insert(source, listed, facts), source) << item;
            EXPECT_EQ(surveyFile(source, listed, facts).procedures.at(0).leftAlone,
                      LeftAlone::Listed)
                << item;
        }
    }
    // A procedure without one is named by an item with one.
    EXPECT_TRUE(LeaveList({"M.bas:Nm$"}).leavesProcedure("M.bas", "Nm"));
    EXPECT_FALSE(LeaveList({"M.bas:Nm$"}).leavesProcedure("M.bas", "Nmx"));
    const std::vector<std::string> procedures = {"Nm$"};
    std::vector<bool> named;
    LeaveList({"M.bas:Nm"}).markNamed("M.bas", &procedures, named);
    EXPECT_EQ(named, std::vector<bool>{true});
}

} // namespace
} // namespace faultward
