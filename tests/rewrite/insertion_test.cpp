#include "rewrite/handler_format.h"
#include "rewrite/procedure_lines.h"
#include "rewrite/transforms.h"
#include "support/random_lines.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <random>

namespace faultward {
namespace {

std::string insert(std::string_view content, int mode, std::string* name = nullptr) {
    std::string carried;
    OutputPieces out;
    const TransformResult result = insertHandlers(
        content, handlingModeOf(static_cast<std::int16_t>(mode)), name ? *name : carried, out);
    return result.changed ? out.joined() : std::string(content);
}

const std::string kClickProcedure =
    crlf({"Private Sub Command1_Click()", "    Total = Total / Count", "End Sub"});

TEST(Insertion, workedExample_writesEachModesLinesExactly) {
    EXPECT_EQ(insert(kClickProcedure, 0),
              crlf({"Private Sub Command1_Click()",
                    "ON ERROR GOTO ERR_Command1_Click  '~Faultward~", "    Total = Total / Count",
                    "EXIT SUB  '~Faultward~", "ERR_Command1_Click:  '~Faultward~",
                    "  MsgBox ERR.number & \"- \" & Err.description  '~Faultward~",
                    "  RESUME NEXT  '~Faultward~", "End Sub"}));
    EXPECT_EQ(
        insert(kClickProcedure, 1),
        crlf({"Private Sub Command1_Click()", "ON ERROR GOTO ERR_Command1_Click  '~Faultward~",
              "    Total = Total / Count", "EXIT SUB  '~Faultward~",
              "ERR_Command1_Click:  '~Faultward~", "  RESUME NEXT  '~Faultward~", "End Sub"}));
    EXPECT_EQ(insert(kClickProcedure, 2),
              crlf({"Private Sub Command1_Click()",
                    "ON ERROR GOTO ERR_Command1_Click  '~Faultward~", "    Total = Total / Count",
                    "EXIT SUB  '~Faultward~", "ERR_Command1_Click:  '~Faultward~",
                    "  I_Process_Errors  '~Faultward~", "  RESUME NEXT  '~Faultward~", "End Sub"}));
}

TEST(Insertion, unknownModes_writeTheResumeNextBlock) {
    for (int mode : {3, -1, 99, 32767})
        EXPECT_EQ(insert(kClickProcedure, mode), insert(kClickProcedure, 1)) << mode;
}

TEST(Insertion, moduleExample_leavesFunctionsAlone) {
    const std::string input =
        crlf({"Public Sub Main()", "    Form2.Show", "End Sub", "",
              "Private Function Twice(n As Integer) As Integer", "    Twice = n * 2",
              "End Function", "Private Sub Grid1_Click(Index As Integer)", "    Beep", "End Sub"});
    EXPECT_EQ(
        insert(input, 1),
        crlf({"Public Sub Main()", "ON ERROR GOTO ERR_Main  '~Faultward~", "    Form2.Show",
              "EXIT SUB  '~Faultward~", "ERR_Main:  '~Faultward~", "  RESUME NEXT  '~Faultward~",
              "End Sub", "", "Private Function Twice(n As Integer) As Integer", "    Twice = n * 2",
              "End Function", "Private Sub Grid1_Click(Index As Integer)",
              "ON ERROR GOTO ERR_Grid1_Click  '~Faultward~", "    Beep", "EXIT SUB  '~Faultward~",
              "ERR_Grid1_Click:  '~Faultward~", "  RESUME NEXT  '~Faultward~", "End Sub"}));
}

TEST(Insertion, onlyExactHeadAndEndLinesCount) {
    const std::string input = crlf({
        "  Private Sub A()", "private sub B()", "Public Static Sub C()", "Private Static Sub D()",
        "Function E()", "Property Get F()", "Declare Sub G Lib \"x\" ()", "  End Sub", "end sub",
        "SubX()", "Sub", // too short for "Sub "
    });
    EXPECT_EQ(insert(input, 1), input);
}

TEST(Insertion, endLineWithTrailingComment_getsHandler) {
    const std::string out = insert(crlf({"Sub A()", "End Sub  ' done"}), 1);
    EXPECT_NE(out.find("RESUME NEXT  '~Faultward~\r\nEnd Sub  ' done\r\n"), std::string::npos);
}

TEST(Insertion, endBeforeAnyHead_usesEmptyName) {
    EXPECT_EQ(insert(crlf({"x", "End Sub"}), 1),
              crlf({"x", "EXIT SUB  '~Faultward~", "ERR_:  '~Faultward~",
                    "  RESUME NEXT  '~Faultward~", "End Sub"}));
}

TEST(Insertion, procedureName_carriesIntoTheNextFile) {
    std::string name;
    insert(crlf({"Sub First()", "End Sub"}), 1, &name);
    EXPECT_EQ(name, "First");
    const std::string second = insert(crlf({"Private Static Sub Hidden()", "End Sub"}), 1, &name);
    EXPECT_NE(second.find("ERR_First:  '~Faultward~"), std::string::npos);
}

TEST(ProcedureName, followsThePositionArithmetic) {
    EXPECT_EQ(procedureName("Sub Main()"), "Main");
    EXPECT_EQ(procedureName("Public Sub Main()"), "Main");
    EXPECT_EQ(procedureName("Private Sub Grid1_Click(Index As Integer)"), "Grid1_Click");
    EXPECT_EQ(procedureName("Friend Sub Reset()"), "Reset");
    EXPECT_EQ(procedureName("Static Sub Count()  ' note"), "Count");
    // Without a parenthesis the length is the start position itself.
    EXPECT_EQ(procedureName("Sub Main"), "Main");
    EXPECT_EQ(procedureName("Private Sub LongerName"), "LongerName");
    EXPECT_EQ(procedureName("Private Sub A_Very_Long_Procedure_Name"), "A_Very_Long_P");
    EXPECT_EQ(procedureName("Sub "), "");
    // A parenthesis after the name but with a blank before it keeps the blank.
    EXPECT_EQ(procedureName("Sub A (x)"), "A ");
}

TEST(Insertion, headWithoutParenthesis_andBareSub) {
    EXPECT_NE(insert(crlf({"Sub Main", "End Sub"}), 1).find("ON ERROR GOTO ERR_Main  '~Faultward~"),
              std::string::npos);
    EXPECT_EQ(insert(crlf({"Sub ", "End Sub"}), 1),
              crlf({"Sub ", "ON ERROR GOTO ERR_  '~Faultward~", "EXIT SUB  '~Faultward~",
                    "ERR_:  '~Faultward~", "  RESUME NEXT  '~Faultward~", "End Sub"}));
    // Without its end the procedure gets no trap: the label would be missing.
    EXPECT_EQ(insert(crlf({"Sub Main"}), 1), crlf({"Sub Main"}));
}

TEST(Insertion, textLineRule_bytesAndBreaks) {
    // A lone LF inside a CR file is an ordinary character; every line keeps
    // its own ending, the last one none; the lines added take the ending of
    // the line before them; high and NUL bytes pass through.
    const std::string input =
        std::string("a\nb\r\nSub \xe9t\xe9()\r") + std::string("x\0y\rEnd Sub", 11);
    EXPECT_EQ(insert(input, 1), std::string("a\nb\r\nSub \xe9t\xe9()\rON ERROR GOTO "
                                            "ERR_\xe9t\xe9  '~Faultward~\r") +
                                    std::string("x\0y\rEXIT SUB  '~Faultward~\rERR_\xe9t\xe9:  "
                                                "'~Faultward~\r  RESUME NEXT  '~Faultward~\r"
                                                "End Sub",
                                                85));
    EXPECT_EQ(insert("", 1), "");
    EXPECT_EQ(insert("\r\n", 1), "\r\n");
    EXPECT_EQ(insert("a\r\r\nb", 1), "a\r\r\nb");
    // A block before a file's first line takes that line's ending.
    EXPECT_EQ(
        insert("End Sub\r", 1),
        "EXIT SUB  '~Faultward~\rERR_:  '~Faultward~\r  RESUME NEXT  '~Faultward~\rEnd Sub\r");
}

TEST(Insertion, lineFeedOnlyFile_keepsLineFeeds) {
    EXPECT_EQ(insert("Sub A()\nEnd Sub\n", 1),
              "Sub A()\nON ERROR GOTO ERR_A  '~Faultward~\nEXIT SUB  '~Faultward~\n"
              "ERR_A:  '~Faultward~\n  RESUME NEXT  '~Faultward~\nEnd Sub\n");
}

TEST(Insertion, continuedHead_getsTrapAfterItsLastLine) {
    const std::string input =
        crlf({"Private Sub Long_Click(ByVal a As Long, _", "    ByVal b As Long,\t_  ",
              "    ByVal c As Long)", "End Sub"});
    const std::string out = insert(input, 1);
    EXPECT_NE(out.find("    ByVal c As Long)\r\nON ERROR GOTO ERR_Long_Click  '~Faultward~\r\n"),
              std::string::npos)
        << out;
    EXPECT_EQ(out.find("_\r\nON ERROR"), std::string::npos);
}

TEST(Insertion, oneLineProcedure_getsNoTrapButKeepsItsName) {
    std::string name;
    const std::string input = crlf({"Private Sub A(): x = 1: End Sub", "Sub B(): End Sub ' c",
                                    "Sub C(): s = \"': End Sub\"", "End Sub"});
    const std::string out = insert(input, 1, &name);
    EXPECT_EQ(out.find("ERR_A"), std::string::npos);
    EXPECT_EQ(out.find("ERR_B"), std::string::npos);
    // The apostrophe inside the string literal is no comment: C is a normal head.
    EXPECT_NE(out.find("ON ERROR GOTO ERR_C  '~Faultward~"), std::string::npos);
    EXPECT_EQ(name, "C");
}

// A trap as its first statement would clear the error it reports, and a block
// calling it would recurse.
TEST(Insertion, centralHandler_getsNoTrapAndNoBlockInAnyMode) {
    const std::string untouched = crlf({"Public Sub i_PROCESS_errors()", "    Log Err.Number",
                                        "End Sub", "Private Static Sub Helper()", "End Sub"});
    const std::string head = untouched + crlf({"Sub After()"});
    // The second file takes the line-by-line walk: its last line has no break.
    for (const std::string& input : {head + crlf({"End Sub"}), head + "End Sub"}) {
        for (int mode : {0, 1, 2}) {
            std::string name;
            const std::string out = insert(input, mode, &name);
            // The Static Sub's end still belongs to the central handler's name.
            EXPECT_TRUE(out.starts_with(untouched + "Sub After()\r\nON ERROR")) << out;
            EXPECT_NE(out.find("Sub After()\r\nON ERROR GOTO ERR_After  '~Faultward~\r\n"),
                      std::string::npos);
            EXPECT_NE(out.find("ERR_After:  '~Faultward~"), std::string::npos);
            EXPECT_EQ(name, "After");
        }
    }
    std::string name = "I_Process_Errors";
    EXPECT_EQ(insert(crlf({"End Sub"}), 2, &name), crlf({"End Sub"}));
}

std::string numberedLines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "x\r\n";
    return text;
}

TEST(Insertion, lineLimit_exactlyAtLimitIsProcessedWhole) {
    std::string name;
    OutputPieces out;
    const std::string body = numberedLines(31998);
    const std::string input = "Sub A()\r\n" + body + "End Sub\r\n";
    EXPECT_FALSE(insertHandlers(input, HandlingMode::ResumeNext, name, out).lineLimitExceeded);
    EXPECT_NE(out.joined().find("ERR_A:  '~Faultward~"), std::string::npos);
}

TEST(Insertion, lineLimit_linesBeyondAreCopiedUnexamined) {
    std::string name;
    OutputPieces pieces;
    const std::string input = "Sub A()\r\n" + numberedLines(31999) + "End Sub";
    const TransformResult result = insertHandlers(input, HandlingMode::ResumeNext, name, pieces);
    const std::string out = pieces.joined();
    EXPECT_TRUE(result.lineLimitExceeded);
    // The end lies past the limit, so the head gets no trap either.
    EXPECT_EQ(out.find("ERR_A"), std::string::npos);
    EXPECT_TRUE(out.ends_with("x\r\nEnd Sub"));
}

TEST(Insertion, reportsWhetherAnyByteChanges) {
    std::string name;
    OutputPieces out;
    EXPECT_FALSE(
        insertHandlers(crlf({"Function F()", "End Function"}), HandlingMode::ResumeNext, name, out)
            .changed);
    EXPECT_FALSE(insertHandlers("", HandlingMode::ResumeNext, name, out).changed);
    // Line endings of every kind stay, a missing last one too.
    EXPECT_FALSE(insertHandlers("Function F()\r\nEnd Function", HandlingMode::ResumeNext, name, out)
                     .changed);
    EXPECT_FALSE(insertHandlers("a\rb\r\n", HandlingMode::ResumeNext, name, out).changed);
    EXPECT_FALSE(insertHandlers("a\nb\n", HandlingMode::ResumeNext, name, out).changed);
}

// A buffer whose line endings are all whole is handled in runs, looking only at
// lines that can be heads or ends; one more line without an ending sends the
// same text down the line-by-line walk. Both must give the same bytes and
// leave the same name to carry.
TEST(Insertion, runsAndLineWalkAgreeOnRandomText) {
    std::mt19937 random(7);
    const std::string_view tokens[] = {"Sub A()",
                                       "Private Sub Long_Click(ByVal a, _",
                                       "Public Sub P",
                                       "Sub Q(): End Sub",
                                       "End Sub",
                                       "End Subs",
                                       "End Function",
                                       "Function F()",
                                       " _",
                                       "   ",
                                       "x = 1",
                                       "'c",
                                       "\"'\"",
                                       "Static Sub S()",
                                       "Friend Sub ",
                                       "E",
                                       "S",
                                       "\n",
                                       "\r",
                                       "Exit Sub",
                                       "  End Sub",
                                       "x: end sub",
                                       "ERR_A:",
                                       "\t"};
    for (int round = 0; round < 4000; ++round) {
        const std::string ending = round % 4 == 0 ? "\n" : "\r\n";
        const std::string text = testing::randomLines(random, tokens, 12, ending);
        std::string inRuns = "Before";
        std::string lineByLine = "Before";
        const std::string viaRuns = insert(text, round % 3, &inRuns);
        const std::string viaLines = insert(text + "tail", round % 3, &lineByLine);
        ASSERT_EQ(viaRuns + "tail", viaLines) << ::testing::PrintToString(text);
        ASSERT_EQ(inRuns, lineByLine) << ::testing::PrintToString(text);
    }
}

TEST(HandlerFormat, everyLineCarriesTheMarkerOnceAtItsEnd) {
    std::string block;
    appendTrapLine(block, "N", "\n");
    for (const HandlingMode mode : kHandlingModes)
        appendHandlerBlock(block, "N", mode, "\n");
    std::size_t lines = 0;
    for (std::size_t start = 0; start < block.size();) {
        const std::size_t end = block.find('\n', start);
        const std::string_view line(block.data() + start, end - start);
        EXPECT_TRUE(line.ends_with(std::string("  ") + std::string(kMarker))) << line;
        EXPECT_EQ(line.find(kMarker), line.size() - kMarker.size()) << line;
        start = end + 1;
        ++lines;
    }
    EXPECT_EQ(lines, 1u + 4 + 3 + 4);
}

} // namespace
} // namespace faultward
