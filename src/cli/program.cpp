#include "cli/program.h"

#include "cli/cli.h"
#include "platform/executable_folder.h"
#include "platform/standard_streams.h"

#include <iostream>

namespace faultward {

int runCliProgram(const std::vector<std::string>& args) {
    std::ios::sync_with_stdio(false);
    CliEnvironment env{
        standardStream(StandardStream::Output), standardStream(StandardStream::Error),
        isTerminal(StandardStream::Error),      executableFolder(),
        isTerminal(StandardStream::Output),     &terminalControlStream(StandardStream::Error)};
    return runCli(args, env);
}

} // namespace faultward
