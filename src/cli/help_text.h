#pragma once

#include <string>

namespace faultward {

// What faultward-cli --help prints: the synopsis of every command, what the
// commands and options do, and what the exit status means.
std::string helpText();

} // namespace faultward
