#include "app/texts/texts.h"
#include "project/file_list.h"
#include "project/project_reader.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>

using Entries = std::vector<std::string>;
namespace fs = std::filesystem;

namespace faultward {
namespace {

TEST(ProjectReader, takesFormAndModuleLinesOnly) {
    EXPECT_EQ(projectEntries(crlf({"Type=Exe", "Form=Form1.frm", "Module=Module1; Module1.bas",
                                   "Class=C; C.cls", "UserControl=U.ctl", "PropertyPage=P.pag",
                                   "Designer=D.dsr", "Reference=*\\G{x}#2.0#0#a.tlb#A",
                                   "Object={x}#1.0#0; a.ocx", "Startup=\"Form1\"", "form=lower.frm",
                                   " Form=indented.frm", "Form"})),
              (Entries{"Form1.frm", "Module1.bas"}));
}

TEST(ProjectReader, moduleFileNameArithmetic) {
    EXPECT_EQ(projectEntries(crlf({"Module=M;NoBlank.bas", "Module=WithoutSemicolon",
                                   "Module=M; ..\\lib\\Util.bas", "Module=M;"})),
              (Entries{"oBlank.bas", "odule=WithoutSemicolon", "..\\lib\\Util.bas", ""}));
}

TEST(ProjectReader, skipsOwnModuleInAnyCaseButNotForms) {
    EXPECT_EQ(projectEntries(
                  crlf({"Module=F; faultward.bas", "Module=F; ..\\lib\\FAULTWARD.BAS",
                        "Module=F; myfaultward.bas", "Form=faultward.frm", "Form=faultward.bas"})),
              (Entries{"faultward.frm", "faultward.bas"}));
}

TEST(ProjectReader, cutsEntriesAt250AndKeepsDuplicates) {
    const std::string longName(300, 'a');
    const Entries entries = projectEntries(crlf({"Form=" + longName, "Form=A.frm", "Form=A.frm"}));
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0], std::string(250, 'a'));
    EXPECT_EQ(entries[2], "A.frm");
}

TEST(ProjectReader, lineBreakStyles) {
    // A lone line feed ends a line even among CR LF lines, where a hand edit
    // or a Unix tool left it; otherwise two entries would read as one.
    EXPECT_EQ(projectEntries("Form=A.frm\nForm=B.frm\n"), (Entries{"A.frm", "B.frm"}));
    EXPECT_EQ(projectEntries("Form=A.frm\nForm=B.frm\r"), (Entries{"A.frm", "B.frm"}));
    EXPECT_EQ(projectEntries("Form=A.frm\r\nForm=B.frm\nModule=M; C.bas\r\n\r\nForm=D.frm"),
              (Entries{"A.frm", "B.frm", "C.bas", "D.frm"}));
    EXPECT_EQ(projectEntries("Form=A.frm\rForm=B.frm"), (Entries{"A.frm", "B.frm"}));
    EXPECT_EQ(projectEntries(""), Entries{});
    EXPECT_EQ(projectName("Type=Exe\r\nForm=A.frm\nName=\"Billing\"\r\n"), "Billing");
}

TEST(ProjectReader, readFailuresAreDistinguished) {
    TempFolder folder;
    EXPECT_EQ(readProjectFile(folder / "missing.vbp").status, ProjectReadStatus::NotFound);
    EXPECT_EQ(readProjectFile(folder.path()).status, ProjectReadStatus::NotRegularFile);
    const ProjectRead read = readProjectFile(folder.write("P.vbp", crlf({"Form=A.frm"})));
    EXPECT_EQ(read.status, ProjectReadStatus::Ok);
    EXPECT_EQ(read.entries, Entries{"A.frm"});
}

TEST(ProjectReader, hugeOrBinaryFilesAreRefusedWithoutReadingThem) {
    TempFolder folder;
    const fs::path huge = folder / "huge.vbp";
    { std::ofstream{huge}; }
    fs::resize_file(huge, 3ull << 30); // sparse: three gigabytes that take no disk
    EXPECT_EQ(readProjectFile(huge).status, ProjectReadStatus::TooLarge);

    std::string limit = crlf({"Form=A.frm"});
    limit.resize(kMaxProjectFileSize, ' ');
    EXPECT_EQ(readProjectFile(folder.write("limit.vbp", limit)).status, ProjectReadStatus::Ok);
    EXPECT_EQ(readProjectFile(folder.write("over.vbp", limit + " ")).status,
              ProjectReadStatus::TooLarge);

    std::string binary = crlf({"Form=A.frm"});
    binary.resize(kBinaryCheckSize, 'x');
    EXPECT_EQ(readProjectFile(folder.write("late.vbp", binary + '\0')).entries, Entries{"A.frm"});
    binary[kBinaryCheckSize - 1] = '\0';
    EXPECT_EQ(readProjectFile(folder.write("early.vbp", binary)).status,
              ProjectReadStatus::NotText);
}

TEST(ListOrder, foldsAsciiCaseOnlyAndKeepsArrivalOrderForEqualTexts) {
    const auto list = sortedListEntries(
        {"Module1.bas", "Form1.frm", "form2.frm", "FORM1.FRM", "_x.bas", "\xe9.frm", "Z.frm"});
    std::vector<std::string> texts;
    for (const ListEntry& entry : list) {
        texts.push_back(entry.text);
        EXPECT_TRUE(entry.selected);
    }
    // Letters compare as lower case, so '_' (0x5F) comes before every letter;
    // high bytes come last.
    EXPECT_EQ(texts, (Entries{"_x.bas", "Form1.frm", "FORM1.FRM", "form2.frm", "Module1.bas",
                              "Z.frm", "\xe9.frm"}));
}

TEST(ListOrder, entryAddedLaterGoesAfterEqualEntries) {
    const auto order = [](const std::vector<std::string>& added) {
        std::vector<std::string> texts;
        for (const ListEntry& entry : sortedListEntries(added))
            texts.push_back(entry.text);
        return texts;
    };
    EXPECT_EQ(order({"a", "B", "b", "c", "b2", "b"}), (Entries{"a", "B", "b", "b", "b2", "c"}));
    EXPECT_EQ(order({"a", "B", "c", "A"}), (Entries{"a", "A", "B", "c"}));
    EXPECT_EQ(order({"a", "B", "c", ""}), (Entries{"", "a", "B", "c"}));
    EXPECT_EQ(order({"a", "B", "c", "d"}), (Entries{"a", "B", "c", "d"}));
}

} // namespace
} // namespace faultward
