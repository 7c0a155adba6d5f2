#pragma once

#include "support/temp_folder.h"

#include <filesystem>
#include <string>

namespace faultward::testing {

// A project as a stranger could prepare it, with every way it has of
// reaching files outside its folder (repo/app), laid out under root:
//   Module=Abs; ROOT/elsewhere/Abs.bas     a full path (withFullPath only)
//   Module=O; ..\..\victim\Other.bas       a path that climbs out
//   Module=L; L.bas                        a link to ROOT/linked/Linked.bas
//   Module=P; Private.bas                  a 0600 file inside
//   Module=E; ESC]0;pwned BEL.bas          a name that would set a window title
//   Form=frmMain.frm                       Icon = "..\..\home\secret":0000 and
//                                          "C:\x\a.ico"; frmMain.frx a link to
//                                          ROOT/home/.ssh/id_rsa
//   ResFile32="..\..\home\.aws\credentials"
// beside it P.faultward, and repo/G.vbg naming app\P.vbp and, by a full
// path, ROOT/abs/V.vbp, whose V.bas lies outside the group's folder. POSIX
// only: links.
struct PlantedProject {
    explicit PlantedProject(const TempFolder& root, bool withFullPath = true);

    std::filesystem::path vbp;
    std::filesystem::path group;
    std::string titleName; // the entry that would set the window title
};

} // namespace faultward::testing
