#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace faultward {

// ExitOutside: the command would write (or copy) files outside the project's
// folder without --allow-outside, and wrote nothing.
enum ExitStatus { ExitOk = 0, ExitSomeFilesFailed = 1, ExitUsage = 2, ExitOutside = 3 };

// Where the command line writes, and what it knows about those places. On a
// terminal, entries are shown as text, and the streams show control
// characters escaped; elsewhere they are written as the bytes the project
// holds, so scripts see the names the project file has.
struct CliEnvironment {
    std::ostream& out;
    std::ostream& err;
    bool errIsTerminal = false;           // progress is shown only on a terminal
    std::filesystem::path settingsFolder; // the program's folder, where ERRH.ini is looked for
    bool outIsTerminal = false;
    // Where the progress line's own control bytes go, past err's escaping;
    // err itself when nothing is given.
    std::ostream* errControls = nullptr;
};

// An entry, or a message naming one, as it goes to a stream: text on a
// terminal, the project file's bytes anywhere else.
std::string shownEntry(std::string_view entryBytes, bool terminal);

// Runs faultward-cli with its arguments (without the program name).
int runCli(const std::vector<std::string>& args, CliEnvironment& env);

} // namespace faultward
