#include "rewrite/handler_template.h"
#include "rewrite/transforms.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace faultward {
namespace {

std::shared_ptr<const HandlerTemplate> parsed(std::string_view text) {
    std::string error;
    std::optional<HandlerTemplate> result = HandlerTemplate::parse(text, error);
    EXPECT_TRUE(result) << error;
    return result ? std::make_shared<const HandlerTemplate>(std::move(*result)) : nullptr;
}

std::string parseError(std::string_view text) {
    std::string error;
    EXPECT_FALSE(HandlerTemplate::parse(text, error)) << text;
    return error;
}

std::string insert(std::string_view content, const InsertionOptions& options,
                   std::string_view fileName = "Module1.bas") {
    InsertionState state;
    OutputPieces out;
    return insertHandlers(content, options, {fileName, false}, state, out).changed
               ? out.joined()
               : std::string(content);
}

// Every kind of procedure and line ending the shipped templates must match.
const std::string kSample =
    crlf({"Attribute VB_Name = \"Module1\"", "Public Sub Main()", "    Form2.Show", "End Sub",
          "Private Function Twice(n As Integer) As Integer", "    Twice = n * 2", "End Function",
          "Property Get Count() As Long", "End Property", "Sub I_Process_Errors()", "End Sub"});

TEST(HandlerTemplate, shippedExamplesWriteWhatTheModesWrite) {
    const char* const files[] = {"mode0-message-box.txt", "mode1-resume-next.txt",
                                 "mode2-central-handler.txt"};
    for (int mode : {0, 1, 2}) {
        const std::string text =
            readFile(std::filesystem::path(FAULTWARD_TEMPLATES_DIR) / files[mode]);
        InsertionOptions byMode(handlingModeOf(static_cast<std::int16_t>(mode)));
        InsertionOptions byTemplate;
        byTemplate.handlerTemplate = parsed(text);
        for (const ProcedureKinds kinds :
             {ProcedureKinds(ProcedureKind::Sub), kAllProcedureKinds}) {
            byMode.procedures = byTemplate.procedures = kinds;
            for (const std::string& input : {kSample, std::string("Sub A()\nEnd Sub\n")}) {
                const std::string expected = insert(input, byMode);
                ASSERT_NE(expected, input);
                EXPECT_EQ(insert(input, byTemplate), expected) << files[mode];
            }
        }
    }
}

TEST(HandlerTemplate, placeholdersTakeTheValuesOfTheFileAndProcedure) {
    InsertionOptions options;
    options.procedures = kAllProcedureKinds;
    options.projectName = "Billing";
    options.handlerTemplate =
        parsed("; a comment {unknown}\n\n[handler]\n{exit}\nFail:\n"
               "  Report \"{project}.{module}.{procedure} in {file}\" ' {{x}}\n"
               "[trap]\n  On Error GoTo Fail\n");
    const std::string input =
        crlf({"Attribute VB_Name = \"Module1\"", "Public Function Twice()", "End Function"});
    EXPECT_EQ(insert(input, options),
              crlf({"Attribute VB_Name = \"Module1\"", "Public Function Twice()",
                    "  On Error GoTo Fail  '~Faultward~", "EXIT FUNCTION  '~Faultward~",
                    "Fail:  '~Faultward~",
                    "  Report \"Billing.Module1.Twice in Module1.bas\" ' {x}  '~Faultward~",
                    "End Function"}));
}

// A value with a line break would split a marked line and leave half of it
// behind after removal.
TEST(HandlerTemplate, valuesStayWithinTheirLine) {
    InsertionOptions options;
    options.projectName = "Two\nLines";
    options.handlerTemplate = parsed("[trap]\nOn Error GoTo X ' {project} {file}\n[handler]\nX:\n");
    const std::string out = insert("Sub A()\nEnd Sub\n", options, "odd\rname.bas");
    EXPECT_EQ(out, "Sub A()\nOn Error GoTo X ' Two odd  '~Faultward~\nX:  '~Faultward~\nEnd Sub\n");
}

TEST(HandlerTemplate, faultyTemplatesAreRefusedNamingTheLine) {
    EXPECT_EQ(parseError("[trap]\nOn Error GoTo E_{proc}\n[handler]\nE:\n"),
              "line 2: unknown placeholder {proc}; known are {procedure}, {module}, {file}, "
              "{project} and {exit}");
    EXPECT_EQ(parseError("[trap]\nx\n[handler]\nx  '~Faultward~\n"),
              "line 4: holds the marker comment, which is added to every line");
    EXPECT_EQ(parseError("[trap]\r\nx {procedure\r\n"),
              "line 2: has a '{' that is never closed; write {{ for a brace");
    EXPECT_EQ(parseError("[trap]\nx }\n"),
              "line 2: has a '}' that closes nothing; write }} for a brace");
    EXPECT_EQ(parseError("On Error GoTo X\n[trap]\n"),
              "line 1: text before the first section; start with [trap]");
    EXPECT_EQ(parseError("[trap]\nx\n[cleanup]\n"),
              "line 3: unknown section [cleanup]; a template has [trap] and [handler]");
    EXPECT_EQ(parseError("[trap]\nx\n[trap]\n"), "line 3: a second [trap] section");
    EXPECT_EQ(parseError("[trap]\nx = a + _\n"),
              "line 2: goes on in the next line, but the marker comment ends it");
    EXPECT_EQ(parseError("[trap]\rx\rx\n\r[handler]\r"), "line 3: holds a stray line break");
    EXPECT_EQ(parseError("[trap]\nx\n"), "no [handler] section with a line in it");
    EXPECT_EQ(parseError("[handler]\nx\n[trap]\n\n; none\n"),
              "no [trap] section with a line in it");
}

// What a template holds goes into every procedure of every file: bytes a
// source line cannot hold, or a trap whose label is missing, would break them all.
TEST(HandlerTemplate, templatesThatWouldBreakTheSourceAreRefused) {
    EXPECT_EQ(parseError("[trap]\nOn Error GoTo X\n[handler]\nX:\nBeep\x01\n"),
              "line 5: holds the control character 1; only text and tabs belong in a template");
    EXPECT_EQ(parseError(std::string("[trap]\nx\0y\n", 11)),
              "line 2: holds the control character 0; only text and tabs belong in a template");
    EXPECT_EQ(parseError("[trap]\nx\n[handler]\n' " + std::string(1008, 'x') + "\n"),
              "line 4: gives a line longer than the editor's 1023 characters");
    EXPECT_EQ(parseError("[trap]\nx\n\n[trap2]\n"),
              "line 4: unknown section [trap2]; a template has [trap] and [handler]");
    EXPECT_EQ(parseError("[trap]\n; c\nON ERROR GOTO ERR_{procedure}\n[handler]\nERR_{module}:\n"),
              "line 3: jumps to ERR_Procedure, a label that the [handler] lines do not define");
    EXPECT_EQ(parseError("\xFF\xFE[\0t\0"), "is saved as UTF-16; save it as ANSI");
    EXPECT_EQ(parseError(std::string("[\0t\0r\0", 6)), "is saved as UTF-16; save it as ANSI");

    // Tabs, a UTF-8 mark, labels in other letter case and GoTo 0 are fine.
    InsertionOptions options;
    options.handlerTemplate =
        parsed("\xEF\xBB\xBF[trap]\n\tOn Error GoTo Oops_{procedure}\n[handler]\n"
               "oops_{procedure}:\n\tOn Error GoTo 0\n");
    EXPECT_EQ(insert("Sub A()\nEnd Sub\n", options),
              "Sub A()\n\tOn Error GoTo Oops_A  '~Faultward~\noops_A:  '~Faultward~\n"
              "\tOn Error GoTo 0  '~Faultward~\nEnd Sub\n");
    parsed("[trap]\nOn Error Resume Next\n[handler]\nx = 1\n");
}

} // namespace
} // namespace faultward
