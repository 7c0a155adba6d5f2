#pragma once

#include "cli/cli.h"
#include "support/temp_folder.h"

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace faultward {

// What one run of the command line printed, and its exit status.
struct CliRun {
    int status;
    std::string out;
    std::string err;
};

// Runs the command line in-process with a settings folder of the test's own.
inline CliRun runIn(const std::filesystem::path& settingsFolder, std::vector<std::string> args) {
    std::ostringstream out;
    std::ostringstream err;
    CliEnvironment env{out, err, false, settingsFolder};
    const int status = runCli(args, env);
    return {status, out.str(), err.str()};
}

} // namespace faultward
