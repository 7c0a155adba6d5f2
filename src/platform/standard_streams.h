#pragma once

#include <ostream>

namespace faultward {

enum class StandardStream { Output, Error };

// Whether a person reads the stream: a terminal, or on Windows a console. A
// file, a pipe or a device such as NUL is none.
bool isTerminal(StandardStream stream);

// The program's standard output or error. A file or a pipe receives the bytes
// as they are written, with no change of line ends; a Windows console is given
// them as UTF-8 text and shows the characters.
std::ostream& standardStream(StandardStream stream);

} // namespace faultward
