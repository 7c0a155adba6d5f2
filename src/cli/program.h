#pragma once

#include <string>
#include <vector>

namespace faultward {

// faultward-cli as a program: runCli over the standard streams, with the
// settings beside the executable. args are the arguments after the program's
// name, as bytes (WTF-8 on Windows).
int runCliProgram(const std::vector<std::string>& args);

} // namespace faultward
