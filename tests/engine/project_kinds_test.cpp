#include "project/file_list.h"
#include "project/group_reader.h"
#include "project/project_reader.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>


namespace faultward {
namespace {

const std::string kProject =
    crlf({"Type=Exe", "Form=Main.frm", "Module=M; M.bas", "Module=Own; faultward.bas",
          "Class=CItem; Classes\\CItem.cls", "UserControl=Controls\\Grid.ctl",
          "PropertyPage=Page.pag", "Designer=Report.Dsr", "ResFile32=\"App.res\"",
          "Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#stdole2.tlb#OLE",
          "Object={F9043C88-F6F2-101A-A3C9-08002B2F49FB}#1.2#0; COMDLG32.OCX", "Name=\"Billing\"",
          "ExeName32=\"Billing.exe\""});

TEST(ProjectKinds, entriesOfTheChosenKindsWithTheirKind) {
    std::vector<std::string> seen;
    for (const ProjectEntry& entry : projectEntries(kProject, kAllSourceKinds))
        seen.push_back(entry.text + "=" + std::to_string(static_cast<int>(entry.kind)));
    EXPECT_EQ(seen, (std::vector<std::string>{"Main.frm=1", "M.bas=2", "Classes\\CItem.cls=4",
                                              "Controls\\Grid.ctl=8"}));
    EXPECT_EQ(projectEntries(kProject, SourceKind::Class).size(), 1u);
    // The default kinds read exactly what the project reader always read.
    std::vector<std::string> texts;
    for (const ProjectEntry& entry : projectEntries(kProject, kDefaultSourceKinds))
        texts.push_back(entry.text);
    EXPECT_EQ(texts, projectEntries(kProject));
}

TEST(ProjectKinds, nameAndEveryNamedFile) {
    EXPECT_EQ(projectName(kProject), "Billing");
    EXPECT_EQ(projectName(crlf({"Form=A.frm"})), "");
    EXPECT_EQ(
        namedFiles(kProject),
        (std::vector<std::string>{"Main.frm", "M.bas", "faultward.bas", "Classes\\CItem.cls",
                                  "Controls\\Grid.ctl", "Page.pag", "Report.Dsr", "App.res"}));
}

TEST(ProjectKinds, groupsNameTheirProjectsInOrder) {
    EXPECT_EQ(groupProjects(crlf({"VBGROUP 5.0", "Project=Lib\\Lib.vbp",
                                  "StartupProject=App\\App.vbp", "Project=", "project=x.vbp"})),
              (std::vector<std::string>{"Lib\\Lib.vbp", "App\\App.vbp"}));
    EXPECT_TRUE(isGroupFile("C/All.VBG"));
    EXPECT_FALSE(isGroupFile("All.vbp"));
}

} // namespace
} // namespace faultward
