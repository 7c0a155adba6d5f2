#include "rewrite/line_numbering.h"
#include "rewrite/transforms.h"

#include <gtest/gtest.h>

namespace faultward {
namespace {

// The output of a transform that reports whether it changed anything.
template <typename Transform> std::string through(std::string_view text, Transform&& transform) {
    OutputPieces out;
    return transform(text, out).changed ? out.joined() : std::string(text);
}

// Every line keeps its own ending through each transform, so that each undoes
// the other byte for byte, whatever endings the file mixes; a lone line feed
// in a file with carriage returns is part of its line.
TEST(LineEndings, insertThenRemoveGivesEveryByteBack) {
    const std::vector<std::string_view> lines = {"Attribute VB_Name = \"Mixed\"",
                                                 "Public Sub Run(ByVal a As Long, _",
                                                 "    ByVal b As Long)",
                                                 "    x = a \n b",
                                                 "End Sub",
                                                 "Function Twice(n As Long) As Long",
                                                 "    Twice = n * 2",
                                                 "End Function"};
    InsertionOptions options(HandlingMode::ShowMessage);
    options.procedures = kAllProcedureKinds;
    NumberingOptions numbering;
    numbering.procedures = kAllProcedureKinds;
    const auto insert = [&](std::string_view text, OutputPieces& out) {
        InsertionState state;
        return insertHandlers(text, options, {}, state, out);
    };
    const auto number = [&](std::string_view text, OutputPieces& out) {
        return numberLines(text, numbering, out);
    };
    const auto unnumber = [&](std::string_view text, OutputPieces& out) {
        return unnumberLines(text, kAllProcedureKinds, out);
    };
    for (const std::vector<std::string_view>& endings :
         {std::vector<std::string_view>{"\r\n"}, {"\r"}, {"\r", "\r\n", "\r\n"}, {"\n"}}) {
        for (const bool lastEnded : {true, false}) {
            std::string file;
            for (std::size_t i = 0; i < lines.size(); ++i)
                file += std::string(lines[i]) + std::string(i + 1 < lines.size() || lastEnded
                                                                ? endings[i % endings.size()]
                                                                : "");
            SCOPED_TRACE(::testing::PrintToString(file));
            EXPECT_EQ(through(file, removeMarkedLines), file);

            const std::string inserted = through(file, insert);
            EXPECT_EQ(through(inserted, removeMarkedLines), file);
            // With line numbers, as insert and remove --line-numbers do them.
            const std::string numbered = through(inserted, number);
            EXPECT_EQ(through(through(numbered, removeMarkedLines), unnumber), file);
        }
    }
}

} // namespace
} // namespace faultward
