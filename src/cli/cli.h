#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace faultward {

enum ExitStatus { ExitOk = 0, ExitSomeFilesFailed = 1, ExitUsage = 2 };

struct CliEnvironment {
    std::ostream& out;
    std::ostream& err;
    bool errIsTerminal = false;           // progress is shown only on a terminal
    std::filesystem::path settingsFolder; // the program's folder, where ERRH.ini is looked for
};

// Runs faultward-cli with its arguments (without the program name).
int runCli(const std::vector<std::string>& args, CliEnvironment& env);

} // namespace faultward
