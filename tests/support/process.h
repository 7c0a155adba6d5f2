#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace faultward::testing {

struct ProcessResult {
    int exitCode = -1; // -1 when the program could not be started or did not exit
    std::string out;
    std::string err;
};

// Runs a program with these arguments, without a shell, from the folder
// workingFolder (the current one when empty), and waits for it. Standard
// output and error are collected through files, so that neither can fill up
// and stall the program. Arguments are bytes, as the program's main gets them
// (UTF-8 on Windows).
ProcessResult runProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
                         const std::filesystem::path& workingFolder = {});

} // namespace faultward::testing
