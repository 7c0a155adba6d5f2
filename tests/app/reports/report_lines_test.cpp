#include "app/reports/message_details.h"
#include "app/reports/report_colours.h"
#include "app/reports/report_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace faultward::coretest {
namespace {

using Kind = ReportLineKind;

struct Seen {
    std::string text;
    Kind kind;
    friend bool operator==(const Seen&, const Seen&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Seen& seen) {
        return out << '"' << seen.text << "\" " << static_cast<int>(seen.kind);
    }
};

std::vector<Seen> seen(std::string_view text, const ReportLines& lines) {
    std::vector<Seen> all;
    for (std::size_t i = 0; i < lines.size(); ++i)
        all.push_back({std::string(lines.text(text, i)), lines[i].kind});
    return all;
}

TEST(ReportLines, previewOfAGroup_eachLineByWhatItIs_hunksByTheirHeadersCounts) {
    const std::string preview = "project: App\\App.vbp\n"
                                "A.bas: +3 -1\n"
                                "project: Zed.vbp\n"
                                "no file would change\n"
                                "\n"
                                "project: App\\App.vbp\n"
                                "folder: /src\n"
                                "--- a/App/A.bas\n"
                                "+++ b/App/A.bas\n"
                                "@@ -1,3 +1,5 @@\n"
                                " Sub A()\r\n"
                                "--- old\r\n"
                                "+++ new\r\n"
                                "+@@ -1 +1 @@\r\n"
                                "+    x = 1\r\n"
                                " End Sub\n"
                                "\\ No newline at end of file\n"
                                "@@ -9 +11,0 @@\n"
                                "-gone\n"
                                "project: Zed.vbp\n";
    EXPECT_EQ(seen(preview, ReportLines::ofReport(preview)),
              (std::vector<Seen>{{"project: App\\App.vbp", Kind::FileHeader},
                                 {"A.bas: +3 -1", Kind::Count},
                                 {"project: Zed.vbp", Kind::FileHeader},
                                 {"no file would change", Kind::Count},
                                 {"", Kind::Plain},
                                 {"project: App\\App.vbp", Kind::FileHeader},
                                 {"folder: /src", Kind::FileHeader},
                                 {"--- a/App/A.bas", Kind::FileHeader},
                                 {"+++ b/App/A.bas", Kind::FileHeader},
                                 {"@@ -1,3 +1,5 @@", Kind::Hunk},
                                 {" Sub A()", Kind::Plain},
                                 {"--- old", Kind::Removed},
                                 {"+++ new", Kind::Added},
                                 {"+@@ -1 +1 @@", Kind::Added},
                                 {"+    x = 1", Kind::Added},
                                 {" End Sub", Kind::Plain},
                                 {"\\ No newline at end of file", Kind::Plain},
                                 {"@@ -9 +11,0 @@", Kind::Hunk},
                                 {"-gone", Kind::Removed},
                                 {"project: Zed.vbp", Kind::FileHeader},
                                 {"", Kind::Plain}}));
}

TEST(ReportLines, checkReport_summariesAreCounts_whateverTheEntrySays) {
    const std::string check = "project: G.vbp\n"
                              "M.bas: 2 procedures, 1 without a trap; no marked lines\n"
                              "M.bas:12: Sub Go has no trap\n"
                              "N.bas:3: Sub A left alone: one-line\n"
                              "Odd: +1 -2.bas: 1 procedure, 1 without a trap, 1 numbered; 2 marked "
                              "lines: 4-5\n";
    const ReportLines lines = ReportLines::ofReport(check);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0].kind, Kind::FileHeader);
    EXPECT_EQ(lines[1].kind, Kind::Count);
    EXPECT_EQ(lines[2].kind, Kind::Plain);
    EXPECT_EQ(lines[3].kind, Kind::Plain);
    EXPECT_EQ(lines[4].kind, Kind::Count);
}

TEST(ReportLines, breaksAtLfCrLfAndLoneCr_aLoneCrsPiecesKeepTheirLinesKind) {
    const std::string text = "\n@@ -1,2 +1,2 @@\n-a\rb\r\r\n+c\r";
    EXPECT_EQ(seen(text, ReportLines::ofReport(text)),
              (std::vector<Seen>{{"", Kind::Plain},
                                 {"@@ -1,2 +1,2 @@", Kind::Hunk},
                                 {"-a", Kind::Removed},
                                 {"b", Kind::Removed},
                                 {"", Kind::Removed},
                                 {"+c", Kind::Added},
                                 {"", Kind::Added}}));
    const ReportLines plain = ReportLines::ofPlainText("x: +1 -2\r\n\r\nlonger");
    EXPECT_EQ(
        seen("x: +1 -2\r\n\r\nlonger", plain),
        (std::vector<Seen>{{"x: +1 -2", Kind::Plain}, {"", Kind::Plain}, {"longer", Kind::Plain}}));
    EXPECT_EQ(plain[2].start, 12u);
    EXPECT_EQ(plain.longest(), 8u);
    EXPECT_EQ(ReportLines::ofReport("").size(), 1u);
}

TEST(ReportLines, aHunkThatBreaksItsPromiseEndsThere) {
    // Two lines promised, one given: the header after it is a header again.
    const std::string text = "\n@@ -1,2 +1,2 @@\n a\nproject: B.vbp\n@@ -x +1 @@\n+y\n";
    const ReportLines lines = ReportLines::ofReport(text);
    EXPECT_EQ(lines[3].kind, Kind::FileHeader);
    EXPECT_EQ(lines[4].kind, Kind::Plain);
    EXPECT_EQ(lines[5].kind, Kind::Plain);
}

TEST(ReportColours, everyKindStandsApart_andTheTextReadsOnIt_inLightDarkAndHighContrast) {
    struct Theme {
        Rgb base, text;
    };
    const std::vector<Theme> themes = {{{255, 255, 255}, {0, 0, 0}},
                                       {{30, 30, 30}, {220, 220, 220}},
                                       {{0, 0, 0}, {255, 255, 0}},
                                       {{255, 255, 255}, {150, 150, 150}}};
    for (const Theme& theme : themes) {
        const double wanted = std::min(4.5, 0.9 * contrastRatio(theme.base, theme.text));
        EXPECT_EQ(reportLineBackground(Kind::Plain, theme.base, theme.text), theme.base);
        std::vector<Rgb> backgrounds;
        for (Kind kind : {Kind::Added, Kind::Removed, Kind::FileHeader, Kind::Hunk, Kind::Count}) {
            const Rgb background = reportLineBackground(kind, theme.base, theme.text);
            EXPECT_GE(contrastRatio(background, theme.text), wanted)
                << static_cast<int>(kind) << " on " << int(theme.base.red);
            EXPECT_NE(background, theme.base);
            for (const Rgb other : backgrounds)
                EXPECT_NE(background, other);
            backgrounds.push_back(background);
        }
    }
    EXPECT_NEAR(contrastRatio({0, 0, 0}, {255, 255, 255}), 21.0, 0.01);
}

TEST(MessageDetails, theLeadIsTheTextUpToItsFirstEmptyLine) {
    EXPECT_EQ(leadParagraph("Left as they were:\n\nA.bas\nB.bas"), "Left as they were:");
    EXPECT_EQ(leadParagraph("One line\nand another"), "One line\nand another");
}

} // namespace
} // namespace faultward::coretest
