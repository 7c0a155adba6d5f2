#pragma once

#include <optional>
#include <string>

namespace faultward::win {

// What faultward.exe prints instead of opening its window, from its own
// command line ("faultward --help", "faultward --version"); nothing when the
// window is to open.
std::optional<std::string> standAloneText();

// Prints text where whoever started the program reads it: a file or pipe its
// output was sent to, else the console it was started from. A program of
// the window subsystem has neither by itself, so the console is asked for;
// with none at all (started from a shortcut) the text shows in a message box.
void printStandAloneText(const std::string& text);

} // namespace faultward::win
