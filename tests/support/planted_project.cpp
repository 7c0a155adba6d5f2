#include "support/planted_project.h"

namespace fs = std::filesystem;

namespace faultward::testing {

PlantedProject::PlantedProject(const TempFolder& root, bool withFullPath)
    : titleName("\x1b]0;pwned\x07.bas") {
    root.write("home/secret", "SECRET");
    root.write("home/.ssh/id_rsa", "PRIVATE KEY");
    root.write("home/.aws/credentials", "TOKEN");
    root.write("elsewhere/Abs.bas", kOneSubSource);
    root.write("victim/Other.bas", kOneSubSource);
    root.write("linked/Linked.bas", kOneSubSource);
    root.write("abs/V.vbp", crlf({"Module=V; V.bas"}));
    root.write("abs/V.bas", kOneSubSource);

    root.write("repo/app/M.bas", kOneSubSource);
    const fs::path secretCopy = root.write("repo/app/Private.bas", kOneSubSource);
    fs::permissions(secretCopy, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink(root / "linked/Linked.bas", root / "repo/app/L.bas");
    root.write(
        "repo/app/frmMain.frm",
        crlf({"VERSION 5.00", "Begin VB.Form frmMain", "   Icon = \"..\\..\\home\\secret\":0000",
              "   Picture = \"C:\\x\\a.ico\":0000", "End", "Attribute VB_Name = \"frmMain\"",
              "Sub A()", "End Sub"}));
    fs::create_symlink(root / "home/.ssh/id_rsa", root / "repo/app/frmMain.frx");
    root.write("repo/app/P.faultward", "[Handler]\r\nProcedures=Sub\r\n");

    std::string project = "Form=frmMain.frm\r\nModule=M; M.bas\r\n";
    if (withFullPath)
        project += "Module=Abs; " + (root / "elsewhere/Abs.bas").string() + "\r\n";
    project += "Module=O; ..\\..\\victim\\Other.bas\r\nModule=L; L.bas\r\n"
               "Module=P; Private.bas\r\nModule=E; " +
               titleName + "\r\nResFile32=\"..\\..\\home\\.aws\\credentials\"\r\n";
    vbp = root.write("repo/app/P.vbp", project);
    group = root.write("repo/G.vbg", crlf({"VBGROUP 5.0", "StartupProject=app\\P.vbp",
                                           "Project=" + (root / "abs/V.vbp").string()}));
}

} // namespace faultward::testing
