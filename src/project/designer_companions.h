#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace faultward {

// Forms, user controls, property pages, user documents and designers keep
// their pictures and other binary properties in companion files. Their
// designer block names each one as a quoted file name, a colon and a
// hexadecimal offset into it:   Icon = "SDILogin.frx":0000

// Whether a file of this name is one that may name binary companions.
bool hasDesignerBlock(std::string_view fileName);

// The companion of the same name that Visual Basic gives such a file
// (Main.frm: Main.frx); nothing for other files.
std::optional<std::string> sameNamedCompanion(std::string_view fileName);

// The companions the designer block of a file names, each once, in the order
// they first appear, as written (relative to the file's folder). The block
// ends where the code begins, at the first "Attribute " line; strings are read
// as Visual Basic reads them, so a caption holding such text names nothing.
std::vector<std::string> namedCompanions(std::string_view designerText);

} // namespace faultward
