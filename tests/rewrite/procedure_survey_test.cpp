#include "rewrite/procedure_survey.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace faultward {
namespace {

TEST(ProcedureSurvey, findsMarkedLinesAndProceduresWithoutTraps) {
    const FileSurvey survey = surveyFile(
        crlf({"Sub Plain()", "End Sub", "Sub Own()", "  on error resume next", "End Sub",
              "Sub Marked()", "ON ERROR GOTO ERR_Marked  '~Faultward~", "x ' '~Faultward~",
              "End Sub", "Private Sub OneLine(): On Error GoTo 0: End Sub",
              "Sub Bare(): x = 1: End Sub", "Sub I_Process_Errors()", "End Sub", "Function F()",
              "End Function", "Public Sub Continued(a, _", "   b)", "  On Error GoTo 0",
              "End Sub"}),
        InsertionOptions());
    EXPECT_EQ(survey.markedLines, (std::vector<std::size_t>{7, 8}));
    std::vector<std::string> seen;
    for (const SurveyedProcedure& procedure : survey.procedures)
        seen.push_back(std::to_string(procedure.line) + " " + procedure.keyword + " " +
                       procedure.name + (procedure.trapped ? " trapped" : ""));
    EXPECT_EQ(seen, (std::vector<std::string>{"1 Sub Plain", "3 Sub Own trapped",
                                              "6 Sub Marked trapped", "10 Sub OneLine trapped",
                                              "11 Sub Bare", "16 Sub Continued trapped"}));
    InsertionOptions all;
    all.procedures = kAllProcedureKinds;
    EXPECT_EQ(surveyFile(crlf({"Property Let P(v)", "End Property", "Function F()"}), all)
                  .procedures.size(),
              2u);
}

TEST(ProcedureSurvey, tellsWhoseLineNumbersEachProcedureHolds) {
    const FileSurvey survey =
        surveyFile(crlf({"Sub A()", "10 Beep", "End Sub", "Sub I_Process_Errors()", "10 Beep",
                         "End Sub", "Sub B()", "  Beep", "End Sub", "Sub C()", "10 Beep", "30 Beep",
                         "20 Beep", "End Sub", "Sub D()", "10: Beep", "End Sub"}),
                   InsertionOptions());
    std::vector<LineNumbering> seen;
    for (const SurveyedProcedure& procedure : survey.procedures)
        seen.push_back(procedure.numbering);
    EXPECT_EQ(seen, (std::vector<LineNumbering>{LineNumbering::Tools, LineNumbering::None,
                                                LineNumbering::Users, LineNumbering::Users}));
    // The central handler is numbered but not counted among the procedures,
    // so it is not among the numbered ones either.
    EXPECT_EQ(survey.numberedProcedures, 3u);
}

// Marked lines are found in the whole text at once: each line counts once,
// wherever in it the marker stands, and with any line breaks.
TEST(ProcedureSurvey, findsEachMarkedLineOnce) {
    const std::string marker = "'~Faultward~";
    const auto marked = [](const std::string& text) {
        return surveyFile(text, InsertionOptions()).markedLines;
    };
    EXPECT_EQ(
        marked(marker + "\r\nx\r\ny " + marker + " " + marker + "\r\n~Faultward~\r\n" + marker),
        (std::vector<std::size_t>{1, 3, 5}));
    // A lone line feed is no line break among carriage returns.
    EXPECT_EQ(marked("a\rb\n" + marker + "\rc\r" + marker), (std::vector<std::size_t>{2, 4}));
    EXPECT_EQ(marked("a\n\n" + marker + "\n"), (std::vector<std::size_t>{3}));
    EXPECT_TRUE(marked("'~Faultward\r\n~").empty());
}

// A file is looked into for line numbers only when a line starts with a
// digit, after blanks or not, with any line breaks.
TEST(ProcedureSurvey, findsLineNumbersWithAnyLineBreaksAndIndent) {
    const auto numbering = [](const std::string& text) {
        const FileSurvey survey = surveyFile(text, InsertionOptions());
        return survey.procedures.at(0).numbering;
    };
    EXPECT_EQ(numbering("Sub A()\r10 Beep\r20 Beep\rEnd Sub\r"), LineNumbering::Tools);
    EXPECT_EQ(numbering("Sub A()\n10 Beep\n20 Beep\nEnd Sub\n"), LineNumbering::Tools);
    // Indented, a number is none this tool writes.
    EXPECT_EQ(numbering(crlf({"Sub A()", "  10 Beep", "End Sub"})), LineNumbering::Users);
    EXPECT_EQ(numbering(crlf({"Sub A()", "\t" + std::string(17, ' ') + "5 Beep", "End Sub"})),
              LineNumbering::Users);
    EXPECT_EQ(numbering(crlf({"Sub A()", "  x = 10", "End Sub"})), LineNumbering::None);
}

} // namespace
} // namespace faultward
