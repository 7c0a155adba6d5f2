#include "rewrite/line_number_rule.h"
#include "rewrite/line_numbering.h"
#include "rewrite/procedure_survey.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace faultward {
namespace {

struct Numbered {
    std::string text;
    NumberingResult result;
};

Numbered number(std::string_view content, NumberingOptions options = {}) {
    OutputPieces out;
    NumberingResult result = numberLines(content, options, out);
    return {result.changed ? out.joined() : std::string(content), std::move(result)};
}

Numbered unnumber(std::string_view content, ProcedureKinds kinds = ProcedureKind::Sub) {
    OutputPieces out;
    NumberingResult result = unnumberLines(content, kinds, out);
    return {result.changed ? out.joined() : std::string(content), std::move(result)};
}

// A module with every kind of line a procedure body can hold.
const std::string kEveryKind = crlf({
    "Attribute VB_Name = \"modEvery\"",
    "Option Explicit",
    "Dim mCount As Long",
    "Public Sub Every(ByVal a As Long, _",
    "                 ByVal b As Long)",
    "Attribute Every.VB_Description = \"every kind\"",
    "    Dim n As Long",
    "",
    "   \t",
    "    ' a comment",
    "    Rem another",
    "    REM",
    "    s = \"it's\" ' trailing comment",
    "    n = a + _",
    "        b",
    "    ' a comment going on _",
    "      in the next line",
    "Again:",
    "#If DEBUG_BUILD Then",
    "    Debug.Print n",
    "#Else",
    "  #Const QUIET = 1",
    "#End If",
    "    Select Case n",
    "    ' only comments before the first Case",
    "",
    "    Case 1",
    "        n = 2",
    "    Case Else: n = 3",
    "        If n > 1 Then GoTo Again",
    "    End Select",
    "    Call Show(prompt:=n)",
    "    Beep: DoEvents",
    "ON ERROR GOTO ERR_Every  '~Faultward~",
    "    On Error GoTo 0",
    "End Sub",
    "Private Sub Tiny(): Beep: End Sub",
    "Private Function Twice(ByVal n As Long) As Long",
    "    Twice = n * 2",
    "End Function",
});

TEST(LineNumbers, numbersStatementLinesOnly) {
    const Numbered numbered = number(kEveryKind);
    EXPECT_TRUE(numbered.result.leftWhole.empty());
    EXPECT_EQ(numbered.text, crlf({
                                 "Attribute VB_Name = \"modEvery\"",
                                 "Option Explicit",
                                 "Dim mCount As Long",
                                 "Public Sub Every(ByVal a As Long, _",
                                 "                 ByVal b As Long)",
                                 "Attribute Every.VB_Description = \"every kind\"",
                                 "10     Dim n As Long",
                                 "",
                                 "   \t",
                                 "    ' a comment",
                                 "    Rem another",
                                 "    REM",
                                 "20     s = \"it's\" ' trailing comment",
                                 "30     n = a + _",
                                 "        b",
                                 "    ' a comment going on _",
                                 "      in the next line",
                                 "Again:",
                                 "#If DEBUG_BUILD Then",
                                 "40     Debug.Print n",
                                 "#Else",
                                 "  #Const QUIET = 1",
                                 "#End If",
                                 "50     Select Case n",
                                 "    ' only comments before the first Case",
                                 "",
                                 "    Case 1",
                                 "60         n = 2",
                                 "    Case Else: n = 3",
                                 "70         If n > 1 Then GoTo Again",
                                 "80     End Select",
                                 "90     Call Show(prompt:=n)",
                                 "    Beep: DoEvents",
                                 "ON ERROR GOTO ERR_Every  '~Faultward~",
                                 "100     On Error GoTo 0",
                                 "End Sub",
                                 "Private Sub Tiny(): Beep: End Sub",
                                 "Private Function Twice(ByVal n As Long) As Long",
                                 "    Twice = n * 2",
                                 "End Function",
                             }));

    NumberingOptions functions;
    functions.procedures = ProcedureKind::Function;
    functions.start = 100;
    functions.step = 5;
    const std::string onlyTheFunction = number(kEveryKind, functions).text;
    EXPECT_NE(onlyTheFunction.find("\r\n100     Twice = n * 2\r\n"), std::string::npos);
    EXPECT_NE(onlyTheFunction.find("\r\n    Dim n As Long\r\n"), std::string::npos);
}

// A tab before the underscore continues a line too; a label may have blanks
// before its colon; a Select Case closed or given its first Case on its own
// line lets numbers in again after it.
TEST(LineNumbers, continuationsLabelsAndSelectsOfEveryForm) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {crlf({"    s = a &\t_", "        b", "    Beep"}),
         crlf({"10     s = a &\t_", "        b", "20     Beep"})},
        {crlf({"EH :", "  Beep", "Again\t: Beep"}), crlf({"EH :", "10   Beep", "Again\t: Beep"})},
        {crlf({"    Select Case n", "    End Select", "    Beep"}),
         crlf({"10     Select Case n", "    End Select", "20     Beep"})},
        {crlf({"    Select Case n: Case 1: Beep", "    Beep"}),
         crlf({"10     Select Case n: Case 1: Beep", "20     Beep"})},
    };
    for (const auto& [body, expected] : cases) {
        const std::string head = crlf({"Sub A()"});
        const std::string end = crlf({"End Sub"});
        EXPECT_EQ(number(head + body + end).text, head + expected + end) << body;
    }
}

TEST(LineNumbers, unnumberGivesBackEveryByteAndNumberingAgainChangesNothing) {
    // Line breaks of every sort stay as they were, line by line.
    std::string oddBreaks = kEveryKind;
    oddBreaks.replace(oddBreaks.find("    n = a + _\r\n"), 15, "    n = a + _\n\r");
    oddBreaks.replace(oddBreaks.find("    Dim n As Long\r\n"), 19, "    Dim n As Long\r");
    oddBreaks.erase(oddBreaks.size() - 2); // no line ending at the end
    std::string unixBreaks = kEveryKind;
    for (std::size_t at; (at = unixBreaks.find('\r')) != std::string::npos;)
        unixBreaks.erase(at, 1);

    for (const std::string& original : {kEveryKind, oddBreaks, unixBreaks}) {
        NumberingOptions defaults;
        defaults.procedures = kAllProcedureKinds;
        for (const auto& [start, step] : {std::pair{10, 10}, {1, 1}, {65000, 7}, {65519, 1}}) {
            NumberingOptions options;
            options.procedures = kAllProcedureKinds;
            options.start = start;
            options.step = step;
            const Numbered numbered = number(original, options);
            ASSERT_TRUE(numbered.result.changed);
            const Numbered back = unnumber(numbered.text, kAllProcedureKinds);
            EXPECT_EQ(back.text, original) << start;
            EXPECT_FALSE(unnumber(original, kAllProcedureKinds).result.changed);
            EXPECT_FALSE(number(numbered.text, options).result.changed) << start;
            // The numbers of any earlier run are the tool's own, and are redone:
            // the result is that of a clean file.
            EXPECT_EQ(number(number(original).text, options).text, numbered.text) << start;
            const Numbered again = number(numbered.text, defaults);
            EXPECT_TRUE(again.result.leftWhole.empty()) << start;
            EXPECT_EQ(again.text, number(original, defaults).text) << start;
        }
    }
}

// Numbers are the tool's only when they are what numbering writes on the
// body as it stands, up to one statement added since; any others are the
// user's: neither numbering nor unnumbering moves or drops them, and the
// message names the first line that tells.
TEST(LineNumbers, numbersOfTheUsersOwnAreKept) {
    struct Users {
        std::vector<std::string> body;
        std::size_t line;
        std::string_view tells;
    };
    const std::vector<Users> users = {
        {{"10 Beep", "30 Beep", "40 Beep"}, 5, "breaks the step of the numbers before it"},
        {{"10 Beep", "20 Beep", "25 Beep"}, 5, "breaks the step"},
        {{"30 Beep", "20 Beep", "  Beep"}, 4, "breaks the step"},
        {{"10 Beep", "10 Beep"}, 4, "breaks the step"},
        {{"10 Beep", "20", "  Beep"}, 4, "has a number where this tool writes none"},
        {{"10 Beep", "20 ' note", "30 Beep"}, 4, "has a number where"},
        {{"  Select Case n", "10   Case 1", "  End Select"}, 3, "has no number"},
        {{"  Beep", "100 Dim s As String", "  Beep"}, 3, "has no number"},
        {{"100 Dim s As String", "  Beep"}, 3, "holds the only number"},
        {{"0 Beep", "1 Beep"}, 3, "has a number this tool never writes"},
        {{"010 Beep", "020 Beep"}, 3, "has a number this"},
        {{"65530 Beep"}, 3, "has a number this"},
        {{"1 Beep", "5    n = 1", "7", "9\tn = 2", "  Beep"}, 5, "has a number where"},
        {{"10\tBeep", "20 Beep"}, 3, "has a tab after its number"},
        {{"10 Beep", "20 Beep", "  Beep", "  Beep"}, 6, "is a second statement without a number"},
        // An author's half-numbered procedure: start 100, step 2, On Error,
        // Dim and Exit Sub bare.
        {{"    On Error GoTo EH", "    Dim x As Long", "100 x = 1", "102 Debug.Print x",
          "    Exit Sub", "EH:", "104 LogError Err.Description, Erl"},
         3,
         "has no number"},
    };
    for (const auto& [body, foreignLine, tells] : users) {
        std::string file = crlf({"Option Explicit", "Sub Mine()"});
        for (const std::string& line : body)
            file += line + "\r\n";
        file += crlf({"End Sub"});
        for (const Numbered& result : {number(file), unnumber(file)}) {
            EXPECT_EQ(result.text, file);
            ASSERT_EQ(result.result.leftWhole.size(), 1u) << file;
            EXPECT_EQ(result.result.leftWhole[0].reason, LeftWholeReason::UsersNumbers) << file;
            EXPECT_EQ(result.result.leftWhole[0].detailLine, foreignLine) << file;
            EXPECT_NE(leftWholeMessage("A.bas", result.result.leftWhole[0])
                          .find("(line " + std::to_string(foreignLine) + " " + std::string(tells)),
                      std::string::npos)
                << file;
        }
        EXPECT_EQ(procedureNumberings(file, ProcedureKind::Sub).at(0).numbering,
                  LineNumbering::Users);
    }
    EXPECT_EQ(leftWholeMessage("A.bas",
                               number(crlf({"Sub A()", "  Beep", "100 Dim s As String", "End Sub"}))
                                   .result.leftWhole[0]),
              "A.bas:1: Sub A left as it was: it holds line numbers of its own (line 2 has no "
              "number)");

    // The shapes numbering writes: one statement added since without a
    // number (not the first), a single line with any number, the tool's
    // start and step of any run, the blanks of an indented line after the
    // number's space.
    for (const std::string& tools :
         {crlf({"Sub A()", "10 Beep", "  Beep", "20 Beep", "End Sub"}),
          crlf({"Sub A()", "10 Beep", "20 Beep", "  Beep", "End Sub"}),
          crlf({"Sub A()", "7 Beep", "' note", "End Sub"}),
          crlf({"Sub A()", "3 Beep", "  ' note", "11 Beep", "19 Beep", "End Sub"}),
          crlf({"Sub A()", "100     Beep", "102 \tBeep", "End Sub"})}) {
        const Numbered numbered = number(tools);
        EXPECT_TRUE(numbered.result.leftWhole.empty()) << tools;
        EXPECT_EQ(unnumber(tools).text, unnumber(numbered.text).text);
        EXPECT_EQ(numbered.text, number(unnumber(tools).text).text);
    }
}

// Numbering never changes a number unannounced: a procedure whose numbers
// change (another start or step, or those after a statement added since) is
// named with the first. With renumber every number is taken for the tool's,
// and each procedure whose numbers change or go is named.
TEST(LineNumbers, changedNumbersAreNamed) {
    NumberingOptions renumber;
    renumber.renumber = true;
    NumberingOptions hundreds;
    hundreds.start = 100;
    hundreds.step = 2;
    const std::string authors = crlf({"Sub Save()", "    On Error GoTo EH", "    Dim x As Long",
                                      "100 x = 1", "102 Debug.Print x", "    Exit Sub",
                                      "EH:", "104 LogError Err.Description, Erl", "End Sub"});
    struct Case {
        std::string file;
        NumberingOptions options;
        bool unnumbers;
        std::string text; // after; empty: as it was
        std::string named;
    };
    const std::vector<Case> cases = {
        {crlf({"Sub A()", "1 Beep", "2 Beep", "End Sub"}),
         {},
         false,
         crlf({"Sub A()", "10 Beep", "20 Beep", "End Sub"}),
         "A.bas:1: Sub A renumbered: line 2 had 1, now 10"},
        {crlf({"Sub A()", "10 Beep", "  Beep", "20 Beep", "End Sub"}),
         {},
         false,
         crlf({"Sub A()", "10 Beep", "20   Beep", "30 Beep", "End Sub"}),
         "A.bas:1: Sub A renumbered: line 4 had 20, now 30"},
        {crlf({"Sub A()", "10 Beep", "20 Beep", "  Beep", "End Sub"}),
         {},
         false,
         crlf({"Sub A()", "10 Beep", "20 Beep", "30   Beep", "End Sub"}),
         ""},
        {authors, renumber, false,
         crlf({"Sub Save()", "10     On Error GoTo EH", "20     Dim x As Long", "30 x = 1",
               "40 Debug.Print x", "50     Exit Sub", "EH:", "60 LogError Err.Description, Erl",
               "End Sub"}),
         "A.bas:1: Sub Save renumbered: line 4 had 100, now 30"},
        {authors, renumber, true,
         crlf({"Sub Save()", "    On Error GoTo EH", "    Dim x As Long", "x = 1", "Debug.Print x",
               "    Exit Sub", "EH:", "LogError Err.Description, Erl", "End Sub"}),
         "A.bas:1: Sub Save unnumbered: line 4 had 100"},
        {crlf({"Sub A()", "10 Beep", "20 ' note", "End Sub"}), renumber, false,
         crlf({"Sub A()", "10 Beep", "' note", "End Sub"}),
         "A.bas:1: Sub A renumbered: line 3 had 20, now none"},
        // The tool's own numbers go without a word; with renumber, with one.
        {crlf({"Sub A()", "10 Beep", "End Sub"}),
         {},
         true,
         crlf({"Sub A()", "Beep", "End Sub"}),
         ""},
        {crlf({"Sub A()", "10 Beep", "End Sub"}), renumber, true,
         crlf({"Sub A()", "Beep", "End Sub"}), "A.bas:1: Sub A unnumbered: line 2 had 10"},
        // Nothing changes: nothing is said.
        {crlf({"Sub A()", "100 Beep", "102 Beep", "End Sub"}), hundreds, false, "", ""},
        // A jump or a use of Erl still keeps the procedure as it was.
        {crlf({"Sub A()", "1 GoTo 2", "2 Beep", "End Sub"}), renumber, false, "", ""},
        {crlf({"Sub A()", "1 Beep", "5 If Erl = 1 Then Beep", "End Sub"}), renumber, true, "", ""},
    };
    for (const Case& each : cases) {
        NumberingOptions options = each.options;
        OutputPieces out;
        const NumberingResult result = each.unnumbers ? unnumberLines(each.file, options, out)
                                                      : numberLines(each.file, options, out);
        EXPECT_EQ(result.changed ? out.joined() : std::string(), each.text) << each.file;
        EXPECT_EQ(result.renumbered.empty() ? std::string()
                                            : renumberedMessage("A.bas", result.renumbered[0]),
                  each.named)
            << each.file;
        EXPECT_EQ(result.leftWhole.empty(), !each.text.empty() || each.options.start == 100)
            << each.file;
    }
}

TEST(LineNumbers, procedureWhoseNumberIsAJumpTargetIsLeftWhole) {
    const std::vector<std::pair<std::string, std::string>> jumps = {
        {"    GoTo 20", "20"},
        {"    GoSub 30", "30"},
        {"    If n Then Resume 20", "20"},
        {"    On n GoTo Again, 20, 30", "20"},
        {"    On n GoSub _\r\n        30", "30"}, // the list goes on in the next line
        {"    On n GoSub\t_\r\n        30", "30"},
        {"    If n > 1 Then 30", "30"},
        {"    If n > 1 Then Beep Else 20", "20"},
        {"    On Error GoTo 30", "30"},
        {"    on local error goto 20", "20"},
    };
    for (const auto& [jump, target] : jumps) {
        const std::string procedure = crlf(
            {"Sub Jumps()", "10 Dim n As Long", jump, "20 n = 1", "30 Beep", "Again:", "End Sub"});
        const std::string file =
            crlf({"Option Explicit"}) + procedure + crlf({"Sub Plain()", "10 Beep", "End Sub"});
        for (const Numbered& result : {number(file), unnumber(file)}) {
            // The other procedure is still worked on.
            EXPECT_EQ(result.text.substr(0, 17 + procedure.size()),
                      crlf({"Option Explicit"}) + procedure)
                << jump;
            ASSERT_EQ(result.result.leftWhole.size(), 1u) << jump;
            const ProcedureLeftWhole& left = result.result.leftWhole[0];
            EXPECT_EQ(left.reason, LeftWholeReason::JumpTarget) << jump;
            EXPECT_EQ(left.target, target) << jump;
            EXPECT_EQ(left.detailLine, 4u) << jump;
        }
        EXPECT_NE(unnumber(file).text.find("\r\nBeep\r\nEnd Sub"), std::string::npos);
    }
    EXPECT_EQ(
        leftWholeMessage("Modules\\modA.bas",
                         number(crlf({"Sub A()", "  GoTo 20", "End Sub"})).result.leftWhole[0]),
        "Modules\\modA.bas:1: Sub A left as it was: line 2 jumps to line number 20");

    // No line number is named by these.
    for (const std::string notAJump :
         {"    On Error GoTo 0", "    Resume 0", "    Resume Next", "    GoTo Again",
          "    s = \"GoTo 20\"", "    Beep ' GoTo 20", "    n = 20: If n Then s = 20",
          "    Rem Goto 20 _"}) {
        const std::string file = crlf({"Sub NoJumps()", notAJump, "Again:", "End Sub"});
        const Numbered numbered = number(file);
        EXPECT_TRUE(numbered.result.leftWhole.empty()) << notAJump;
        EXPECT_EQ(unnumber(numbered.text).text, file) << notAJump;
    }
}

// Numbering or unnumbering would change what any use of Erl's value but
// passing it on means.
TEST(LineNumbers, procedureComparingErlWithANumberIsLeftWhole) {
    // The line named: the statement's first, or the Case; 0 for uses of Erl
    // that name no line, and numbers compared with other things.
    const std::vector<std::pair<std::string, std::size_t>> uses = {
        {"    If Erl = 30 Then Beep", 3},
        {"    If erl() <> 30 Then Beep", 3},
        {"    If 30 < Erl Then Beep", 3},
        {"    If VBA.Erl >= 30 Then Beep", 3},
        {"    s = IIf(Erl=30, \"a\", \"b\")", 3},
        {"    If n > 1 And _\r\n        Erl = 30 Then Beep", 3},
        {"    x = 1: If Erl = 30 Then Beep", 3},
        {"    Select Case Erl\r\n    Case 0\r\n    Case 10 To 30\r\n    End Select", 5},
        {"    MsgBox \"line \" & Erl: n = Erl", 0},
        {"    If Erl <> 0 Then Beep", 0},
        {"    s = \"If Erl = 30\" ' If Erl = 30", 0},
        {"    Rem If Erl = 30", 0},
        {"    If Erl2 = 30 Then Beep", 0},
        {"    If Erl = 30 Then Beep  '~Faultward~", 0},
        {"    Select Case Erl\r\n    Case 0\r\n        Select Case n\r\n        Case 30\r\n"
         "        End Select\r\n    End Select\r\n    Select Case n\r\n    Case 30\r\n"
         "    End Select",
         0},
        // Every spelling of a use of Erl's value.
        {"    Select Case (Erl)\r\n    Case 30\r\n    End Select", 4},
        {"    Select Case VBA.Erl\r\n    Case 30\r\n    End Select", 4},
        {"    Select Case Erl\r\n    Case OPEN_LINE\r\n    End Select", 4},
        {"    If (Erl) = 30 Then Beep", 3},
        {"    If Erl = +30 Then Beep", 3},
        {"    If Erl = -30 Then Beep", 3},
        {"    If Erl = &H1E Then Beep", 3},
        {"    If Erl = 3E1 Then Beep", 3},
        {"    If Erl = \"30\" Then Beep", 3},
        {"    If CLng(Erl) = 30 Then Beep", 3},
        {"    If Erl \\ 10 = 3 Then Beep", 3},
        {"    If Erl Mod 100 = 30 Then Beep", 3},
        {"    If Erl Like \"3*\" Then Beep", 3},
        {"    s = Choose(Erl \\ 10, \"a\", \"b\")", 3},
        {"    s = Choose(Erl, \"a\", \"b\")", 3},
        {"    s = Switch(Erl > 20, \"a\", True, \"b\")", 3},
        {"    If [Erl] = 30 Then Beep", 3},
        {"    If Erl = OPEN_LINE Then Beep", 3},
        {"    n = Erl + 1", 3},
        {"    ErrLine = Erl: If ErrLine = 30 Then Beep", 3},
        {"    k = Erl\r\n    Select Case k\r\n    Case 30\r\n    End Select", 5},
        {"    k = CLng(Erl)\r\n    j = k\r\n    If j > 20 Then Beep", 5},
        {"    k = Erl\r\n    k", 4}, // not a call: unsure, so named
        // Passed on: to a call, joined into text, into a member, or through a
        // variable only passed on itself; another object's Erl is not Erl.
        {"    If o.Erl = 30 Then Beep", 0},
        {"    LogError Err.Description, Erl", 0},
        {"    Debug.Print \"line\"; Erl", 0},
        {"    Call Report(CStr(Erl), Erl)", 0},
        {"    Log Line:=Erl", 0},
        {"    Err.Raise 1000, , \"line \" & Erl", 0},
        {"    m.Line = Erl: .Where = Erl", 0},
        {"    n = Erl: LogError n", 0},
        {"    s = IIf(Erl <> 0, \" at line \" & Erl, \"\")", 0},
        {"    If Erl Then Beep", 0},
        {"    If 0 = VBA.Erl() Then Beep", 0},
    };
    for (const auto& [use, line] : uses) {
        const std::string file = crlf({"Sub A()", "  Beep"}) + use + crlf({"", "End Sub"});
        const Numbered numbered = number(file);
        if (line == 0) {
            EXPECT_TRUE(numbered.result.leftWhole.empty()) << use;
            EXPECT_EQ(unnumber(numbered.text).text, file) << use;
            continue;
        }
        EXPECT_EQ(numbered.text, file);
        ASSERT_EQ(numbered.result.leftWhole.size(), 1u) << use;
        EXPECT_EQ(numbered.result.leftWhole[0].reason, LeftWholeReason::ErlComparison);
        EXPECT_EQ(numbered.result.leftWhole[0].detailLine, line) << use;
    }
    const std::string numbered = crlf({"Sub A()", "10   If Erl = 10 Then Beep", "End Sub"});
    const Numbered unnumbered = unnumber(numbered);
    EXPECT_EQ(unnumbered.text, numbered);
    ASSERT_EQ(unnumbered.result.leftWhole.size(), 1u);
    EXPECT_EQ(leftWholeMessage("A.bas", unnumbered.result.leftWhole[0]),
              "A.bas:1: Sub A left as it was: line 2 compares Erl with a line number");
}

// Lines are looked at 16 bytes at a time for the numbers and the Erl that
// need a closer look: wherever they stand, they are seen.
TEST(LineNumbers, jumpsAndErlAreSeenWhereverTheyStandInTheLine) {
    for (std::size_t blanks = 0; blanks < 24; ++blanks) {
        const std::string indent(blanks, ' ');
        for (const auto& [line, reason] :
             {std::pair{indent + "x = 1: GoTo 20", LeftWholeReason::JumpTarget},
              std::pair{indent + "If 30 = Erl Then Beep", LeftWholeReason::ErlComparison},
              std::pair{indent + "n = 1: If 30 = ERL", LeftWholeReason::ErlComparison}}) {
            const Numbered numbered = number(crlf({"Sub A()", line, "20 Beep", "End Sub"}));
            ASSERT_EQ(numbered.result.leftWhole.size(), 1u) << line;
            EXPECT_EQ(numbered.result.leftWhole[0].reason, reason) << line;
        }
    }
}

TEST(LineNumbers, procedureNeedingNumbersAbove65529IsLeftUnnumbered) {
    const std::string three = crlf({"Sub Three()", "  Beep", "  Beep", "  Beep", "End Sub"});
    NumberingOptions options;
    options.start = kHighestLineNumber - 10;
    options.step = 5;
    const Numbered fits = number(three, options);
    EXPECT_NE(fits.text.find("65529   Beep\r\nEnd Sub"), std::string::npos);
    ++options.start;
    const Numbered over = number(three, options);
    EXPECT_EQ(over.text, three);
    ASSERT_EQ(over.result.leftWhole.size(), 1u);
    EXPECT_EQ(leftWholeMessage("A.bas", over.result.leftWhole[0]),
              "A.bas:1: Sub Three left as it was: it would need line numbers above 65529");
    // A numbered procedure is not stripped of its numbers for it.
    EXPECT_EQ(number(fits.text, options).text, fits.text);
}

TEST(LineNumbers, procedureWhoseExtentOrNumbersAreUnclearIsLeftWhole) {
    const std::vector<std::tuple<std::string, LeftWholeReason, std::string>> cases = {
        {crlf({"Sub A()", "  Beep", "end sub", "", "Sub B()", "  ' nothing", "End Sub"}),
         LeftWholeReason::MissingEnd,
         "A.bas:1: Sub A left as it was: no end line of its own "
         "before line 5"},
        {crlf({"Sub A()", "  Beep", "  End Sub", "Private Static Sub B()", "  Beep", "End Sub"}),
         LeftWholeReason::LookAlike,
         "A.bas:1: Sub A left as it was: line 3 looks like the head "
         "or end of a procedure, so its end is unclear"},
        {crlf({"Sub A()", "10: Beep", "  Beep", "End Sub"}), LeftWholeReason::OddNumber,
         "A.bas:1: Sub A left as it was: line 2 starts with a number that is not a line number "
         "this tool writes"},
        {crlf({"Sub A()", "   20 Beep", "End Sub"}), LeftWholeReason::OddNumber, ""},
        {crlf({"Sub A()", "10 20 Beep", "End Sub"}), LeftWholeReason::OddNumber, ""},
        {crlf({"Sub A()", "  Beep", "End Function"}), LeftWholeReason::MissingEnd, ""},
        {crlf({"Sub A()", "  Beep"}), LeftWholeReason::MissingEnd,
         "A.bas:1: Sub A left as it was: its end line is missing"},
    };
    for (const auto& [file, reason, message] : cases) {
        const Numbered numbered = number(file);
        EXPECT_EQ(numbered.text, file);
        ASSERT_EQ(numbered.result.leftWhole.size(), 1u) << file;
        EXPECT_EQ(numbered.result.leftWhole[0].reason, reason) << file;
        if (!message.empty()) {
            EXPECT_EQ(leftWholeMessage("A.bas", numbered.result.leftWhole[0]), message);
        }
    }
    // Continued lines start with whatever the statement needs.
    const std::string continued = crlf({"Sub A()", "  n = Array(1, _", "2, 3)", "End Sub"});
    EXPECT_EQ(unnumber(number(continued).text).text, continued);
    EXPECT_EQ(unnumber(continued).text, continued);
}

// What is said of a procedure is what was done: heads in both branches of
// an #If are one procedure, numbered under the last; an indented head is
// not taken for one, and a procedure under it that numbering would have
// worked on is named, by check too.
TEST(LineNumbers, headsUnderAnIfAndIndentedHeads) {
    const std::string twins =
        crlf({"Option Explicit", "#If Win64 Then", "Private Sub Foo(ByVal x As LongPtr)",
              "#ElseIf Mac Then", "Private Sub Foo(ByVal x As Long)  ' Mac", "#Else",
              "Private Sub Foo(ByVal x As Long)", "#End If", "    Beep", "End Sub"});
    const Numbered numbered = number(twins);
    EXPECT_TRUE(numbered.result.leftWhole.empty());
    EXPECT_NE(numbered.text.find("#End If\r\n10     Beep\r\nEnd Sub"), std::string::npos);
    EXPECT_EQ(unnumber(numbered.text).text, twins);
    const std::vector<ProcedureNumbering> judged =
        procedureNumberings(numbered.text, ProcedureKind::Sub);
    ASSERT_EQ(judged.size(), 3u);
    for (const ProcedureNumbering& head : judged)
        EXPECT_EQ(head.numbering, LineNumbering::Tools) << head.line;
    // With insertion's trap after each head they are still one procedure.
    const std::string trapped =
        crlf({"#If Win64 Then", "Sub Foo(ByVal x As LongPtr)",
              "ON ERROR GOTO ERR_Foo  '~Faultward~", "#Else", "Sub Foo(ByVal x As Long)",
              "ON ERROR GOTO ERR_Foo  '~Faultward~", "#End If", "  Beep", "End Sub"});
    EXPECT_TRUE(number(trapped).result.leftWhole.empty());
    // Left, it is named once, by its last head.
    const std::string users =
        crlf({"#If Win64 Then", "Sub Foo(ByVal x As LongPtr)", "#Else", "Sub Foo(ByVal x As Long)",
              "#End If", "  Beep", "100 Beep", "End Sub"});
    const Numbered left = number(users);
    EXPECT_EQ(left.text, users);
    ASSERT_EQ(left.result.leftWhole.size(), 1u);
    EXPECT_EQ(left.result.leftWhole[0].line, 4u);
    // A head alone before another is still a head without its end.
    const std::string apart = crlf({"Sub A()", "  Beep", "Sub B()", "  Beep", "End Sub"});
    ASSERT_EQ(number(apart).result.leftWhole.size(), 1u);
    EXPECT_EQ(number(apart).result.leftWhole[0].reason, LeftWholeReason::MissingEnd);

    const std::string indented = crlf({"Sub A()", "  Beep", "End Sub", "  Private Sub B()",
                                       "    Beep", "End Sub", "\tFunction C()", "End Function"});
    const Numbered around = number(indented);
    EXPECT_EQ(around.text, crlf({"Sub A()", "10   Beep", "End Sub", "  Private Sub B()", "    Beep",
                                 "End Sub", "\tFunction C()", "End Function"}));
    ASSERT_EQ(around.result.leftWhole.size(), 1u);
    EXPECT_EQ(leftWholeMessage("A.bas", around.result.leftWhole[0]),
              "A.bas:4: Sub B left as it was: its head is indented, which this tool does not take "
              "for a procedure's head");
    // Without numbers there is nothing to take out, so nothing to say.
    EXPECT_TRUE(unnumber(indented).result.leftWhole.empty());
    EXPECT_EQ(unnumber(crlf({"  Sub B()", "10 Beep", "End Sub"})).result.leftWhole.size(), 1u);
    const FileSurvey survey = surveyFile(indented, InsertionOptions(HandlingMode::ResumeNext));
    ASSERT_EQ(survey.procedures.size(), 2u);
    EXPECT_EQ(survey.procedures[1].name, "B");
    EXPECT_EQ(leftAloneReason(survey.procedures[1].leftAlone, ProcedureKind::Sub),
              "its head is indented");
}

} // namespace
} // namespace faultward
