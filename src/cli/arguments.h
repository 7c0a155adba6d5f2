#pragma once

#include "rewrite/procedure_kind.h"
#include "rewrite/source_kind.h"

#include <optional>
#include <string>
#include <vector>

namespace faultward {

// More workers than this only cost memory: each holds a file or two.
inline constexpr int kMaxJobs = 64;

// The command line of faultward-cli, parsed.
struct Arguments {
    std::string command; // list, insert, remove, check, number or unnumber
    std::string project; // a .vbp, or a .vbg naming projects
    std::optional<int> mode;
    std::optional<ProcedureKinds> procedures;
    std::optional<SourceKinds> kinds;
    bool skipHandled = false;
    std::optional<std::string> templateFile;
    bool dryRun = false;
    bool diff = false;
    std::optional<std::string> output;
    std::optional<int> jobs; // files worked on at a time; the cores by default
    bool clean = false;
    bool handled = false;
    bool lineNumbers = false; // insert numbers the procedures, remove unnumbers them
    std::optional<int> start; // the first line number of a procedure
    std::optional<int> step;  // from one line number to the next
};

// Parses the arguments (without the program name); an error message when
// they make no sense.
std::optional<std::string> parseArguments(const std::vector<std::string>& args, Arguments& parsed);

} // namespace faultward
