#include "project/file_list.h"
#include "project/group_reader.h"
#include "project/project_reader.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

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

TEST(ProjectKinds, groupsHoldEachProjectOnceAndNoGroups) {
    TempFolder folder;
    folder.write("app/App.vbp", "");
    folder.write("lib/Lib.vbp", "");
    const fs::path group = folder.write("All.vbg", "");
    const auto members = [&](std::initializer_list<std::string_view> lines) {
        return groupMembers(group, crlf(lines), "All.vbg");
    };
    const GroupMembers repeated =
        members({"StartupProject=app\\App.vbp", "Project=lib\\Lib.vbp", "Project=APP\\app.VBP",
                 "Project=lib\\Lib.vbp", "Project=gone\\Gone.vbp", "Project=gone\\Gone.vbp"});
    EXPECT_FALSE(repeated.problem);
    std::vector<std::string> names;
    for (const GroupMember& member : repeated.projects)
        names.push_back(member.name);
    EXPECT_EQ(names, (std::vector<std::string>{"app\\App.vbp", "lib\\Lib.vbp", "gone\\Gone.vbp"}));
    EXPECT_EQ(repeated.projects[0].file, folder / "app/App.vbp");
    EXPECT_EQ(
        repeated.notes,
        (std::vector<std::string>{
            "the group file All.vbg names app\\App.vbp again as APP\\app.VBP; it is worked on once",
            "the group file All.vbg names lib\\Lib.vbp twice; it is worked on once",
            "the group file All.vbg names gone\\Gone.vbp twice; it is worked on once"}));

    EXPECT_EQ(members({"Project=app\\App.vbp",
                       "Project=..\\" + group.parent_path().filename().string() + "\\ALL.VBG"})
                  .problem,
              "the group file All.vbg names itself (..\\" +
                  group.parent_path().filename().string() +
                  "\\ALL.VBG); a group can only name projects");
    EXPECT_EQ(
        members({"Project=app\\App.vbp", "Project=sub\\Other.vbg"}).problem,
        "the group file All.vbg names the group sub\\Other.vbg; a group can only name projects");
}

} // namespace
} // namespace faultward
