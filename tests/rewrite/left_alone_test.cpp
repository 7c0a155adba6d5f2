#include "rewrite/handler_template.h"
#include "rewrite/procedure_body.h"
#include "rewrite/procedure_survey.h"
#include "rewrite/transforms.h"
#include "support/random_lines.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <random>
#include <tuple>

namespace faultward {
namespace {

std::string insert(std::string_view content, const InsertionOptions& options) {
    InsertionState state;
    OutputPieces out;
    return insertHandlers(content, options, {}, state, out).changed ? out.joined()
                                                                    : std::string(content);
}

// A procedure that compiles with its handlers, to follow each case: it must
// still get them.
const std::string kNext = crlf({"Private Sub Next_Click()", "    Beep", "End Sub"});
const std::string kNextHandled =
    crlf({"Private Sub Next_Click()", "ON ERROR GOTO ERR_Next_Click  '~Faultward~", "    Beep",
          "EXIT SUB  '~Faultward~", "ERR_Next_Click:  '~Faultward~", "  RESUME NEXT  '~Faultward~",
          "End Sub"});

TEST(LeftAlone, procedureWhoseEndIsNoEndLine_getsNeitherTrapNorBlock) {
    for (const std::string_view end :
         {"    End Sub", "end sub", "END SUB  ' done", "    x = 1: End Sub", "\tEnd   Sub"}) {
        const std::string procedure = crlf({"Private Sub Go()", "    x = 1", std::string(end)});
        EXPECT_EQ(insert(procedure + kNext, InsertionOptions(HandlingMode::ResumeNext)),
                  procedure + kNextHandled)
            << end;
    }
    // Neither in a string, a comment nor a longer word is an end.
    const std::string notEnds =
        crlf({"Sub Go()", "    s = \"x: End Sub\"", "    ' End Sub", "    x = 1: Rem End Sub",
              "    EndSub = 1", "    End Subway", "End Sub"});
    EXPECT_NE(
        insert(notEnds, InsertionOptions(HandlingMode::ResumeNext)).find("ON ERROR GOTO ERR_Go"),
        std::string::npos);
}

TEST(LeftAlone, onlyTheEndOfTheHeadsKindCounts) {
    InsertionOptions functions(HandlingMode::ResumeNext);
    functions.procedures = ProcedureKind::Function;
    const std::string indented = crlf({"Function F()", "    F = 1", "    End Function"});
    EXPECT_EQ(insert(indented, functions), indented);
    const std::string plain = crlf({"Function F()", "    F = 1", "End Function"});
    EXPECT_NE(insert(plain, functions).find("EXIT FUNCTION"), std::string::npos);
}

TEST(LeftAlone, endPastTheLineLimit_leavesTheProcedureAlone) {
    std::string body;
    for (std::size_t i = 0; i < kInsertionLineLimit; ++i)
        body += "x\r\n";
    const std::string input = "Sub A()\r\n" + body + "End Sub\r\n";
    InsertionState state;
    OutputPieces out;
    const TransformResult result =
        insertHandlers(input, InsertionOptions(HandlingMode::ResumeNext), {}, state, out);
    EXPECT_TRUE(result.lineLimitExceeded);
    EXPECT_EQ(result.changed ? out.joined() : input, input);
}

TEST(LeftAlone, procedureThatDefinesTheLabel_getsNeitherTrapNorBlock) {
    for (const std::string_view label :
         {"Err_Go:", "ERR_GO:", "  err_go: Resume Next", "ERR_Go :", "ERR_Go\t:"}) {
        const std::string procedure =
            crlf({"Private Sub Go()", "    On Error GoTo Err_Go", "    x = 1", "    Exit Sub",
                  std::string(label), "    MsgBox Err.Description", "End Sub"});
        EXPECT_EQ(insert(procedure + kNext, InsertionOptions(HandlingMode::ResumeNext)),
                  procedure + kNextHandled)
            << label;
    }
    // Not labels: text in strings and comments, named arguments, other names.
    for (const std::string_view line :
         {"    s = \"ERR_Go:\"", "    ' ERR_Go:", "    Call F(ERR_Go:=1)",
          "ERR_Gone:", "    x = ERR_Go: y = 1"}) {
        const std::string procedure = crlf({"Sub Go()", std::string(line), "End Sub"});
        EXPECT_NE(insert(procedure, InsertionOptions(HandlingMode::ResumeNext)).find("ERR_Go:  '~"),
                  std::string::npos)
            << line;
    }
}

TEST(LeftAlone, templateLabelsAreTheOnesItsLinesDefine) {
    std::string error;
    InsertionOptions options;
    options.handlerTemplate = std::make_shared<const HandlerTemplate>(*HandlerTemplate::parse(
        "[trap]\nOn Error GoTo Fail_{procedure}\n[handler]\n{exit}\nFail_{procedure}:\nResume "
        "Next\n",
        error));
    const std::string taken = crlf({"Sub Go()", "fail_go:", "End Sub"});
    EXPECT_EQ(insert(taken, options), taken);
    // A name that makes a line longer than the editor loads.
    const std::string longName =
        crlf({"Sub " + std::string(1009, 'N') + "()", "End Sub", "Sub Go()", "End Sub"});
    const std::string out = insert(longName, options);
    EXPECT_EQ(out.find("Fail_NNN"), std::string::npos);
    EXPECT_NE(out.find("Fail_Go:  '~"), std::string::npos);
    // The mode's label is no longer the handler's, so it is free to be taken.
    const std::string free = crlf({"Sub Go()", "ERR_Go:", "End Sub"});
    EXPECT_NE(insert(free, options).find("Fail_Go:  '~"), std::string::npos);
}

// The end line after a procedure left alone is its own; an end line after it
// whose head is not recognised keeps its block, labelled with the name held.
TEST(LeftAlone, laterEndLinesKeepTheirBlocks) {
    const std::string input =
        crlf({"Sub Go()", "ERR_Go:", "End Sub", "Private Static Sub Hidden()", "End Sub"});
    EXPECT_EQ(insert(input, InsertionOptions(HandlingMode::ResumeNext)),
              crlf({"Sub Go()", "ERR_Go:", "End Sub", "Private Static Sub Hidden()",
                    "EXIT SUB  '~Faultward~", "ERR_Go:  '~Faultward~",
                    "  RESUME NEXT  '~Faultward~", "End Sub"}));
}

TEST(LeftAlone, surveyGivesTheReasonInsertionActsOn) {
    const FileSurvey survey =
        surveyFile(crlf({"Sub OneLine(): x = 1: End Sub", "Sub Indented()", "  End Sub",
                         "Sub Labelled()", "Err_Labelled:", "End Sub", "Sub Own()",
                         "  On Local Error Resume Next", "End Sub", "Sub Plain()", "End Sub"}),
                   InsertionOptions(HandlingMode::ResumeNext));
    std::vector<std::string> seen;
    for (const SurveyedProcedure& procedure : survey.procedures)
        seen.push_back(procedure.name + ": " +
                       (procedure.leftAlone == LeftAlone::No
                            ? std::string(procedure.trapped ? "trapped" : "no trap")
                            : leftAloneReason(procedure.leftAlone, procedure.kind)));
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "OneLine: one-line", "Indented: its end is not an End Sub line",
                        "Labelled: its label is taken", "Own: trapped", "Plain: no trap"}));
    // The tool's own label is no label taken: insertion takes it out first.
    const FileSurvey inserted = surveyFile(
        insert(crlf({"Sub Plain()", "End Sub"}), InsertionOptions(HandlingMode::ResumeNext)),
        InsertionOptions(HandlingMode::ResumeNext));
    EXPECT_EQ(inserted.procedures.at(0).leftAlone, LeftAlone::No);
    EXPECT_TRUE(inserted.procedures.at(0).trapped);
}

// Scans of one text that share what the earlier ones found give what each
// gives on its own, from every line, in any order: a stretch found to hold no
// End is skipped only where nothing in it could change the outcome.
TEST(LeftAlone, scansSharingWhatEarlierScansFoundGiveWhatEachGivesAlone) {
    std::mt19937 random(11);
    const std::string_view pieces[] = {
        "Sub A()",          "Function F()", "End Sub",         "End Function", "x: End Sub",
        "  End Sub",        "x = 1 _",      "On Error GoTo 0", "ERR_A:",       "err_a :",
        "Property Get P()", "'c",           "\"x: End Sub\""};
    const HandlerLabels labels = {"ERR_A"};
    for (int round = 0; round < 3000; ++round) {
        const std::string text = testing::randomLines(random, pieces, 14, "\n");
        std::vector<std::string_view> lines;
        LineCursor cursor(text);
        for (std::string_view line; cursor.next(line);)
            lines.push_back(line);
        const auto scan = [&](std::size_t from, ProcedureKind kind, bool traps,
                              ScannedStretches* scanned) {
            std::size_t next = from;
            return scanProcedureBody(
                [&](std::string_view& line) {
                    if (next >= lines.size())
                        return false;
                    line = lines[next++];
                    return true;
                },
                kind, labels, traps, scanned);
        };
        ScannedStretches shared;
        const bool backwards = round % 2 == 1;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const std::size_t from = backwards ? lines.size() - 1 - i : i;
            const auto kind = static_cast<ProcedureKind>(1 << ((i + round) % 3));
            const bool traps = round % 3 != 0;
            const ProcedureBody alone = scan(from, kind, traps, nullptr);
            const ProcedureBody together = scan(from, kind, traps, &shared);
            // Which label a body takes means nothing without its end.
            const auto outcome = [](const ProcedureBody& body) {
                return std::tuple(body.endFound, body.endIsEndLine, body.traps.own,
                                  body.traps.marked, body.endFound && body.labelTaken);
            };
            ASSERT_EQ(outcome(together), outcome(alone))
                << ::testing::PrintToString(text) << " from " << from;
        }
    }
}

} // namespace
} // namespace faultward
