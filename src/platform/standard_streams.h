#pragma once

#include <ostream>

namespace faultward {

enum class StandardStream { Output, Error };

// Whether a person reads the stream: a terminal, or on Windows a console. A
// file, a pipe or a device such as NUL is none.
bool isTerminal(StandardStream stream);

// The program's standard output or error. A file or a pipe receives the bytes
// as they are written, with no change of line ends; a Windows console is given
// them as UTF-8 text and shows the characters. On a terminal, control
// characters are shown escaped (platform/terminal_text.h), so that no name
// from a project file can steer the terminal.
std::ostream& standardStream(StandardStream stream);

// The same stream without that escaping, for the control bytes the program
// itself sends a terminal (the progress line's carriage return and erase).
// What went to standardStream before goes out first.
std::ostream& terminalControlStream(StandardStream stream);

} // namespace faultward
