#include "cli/cli.h"
#include "platform/executable_folder.h"

#include <iostream>
#include <unistd.h>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    std::vector<std::string> args(argv + 1, argv + argc);
    faultward::CliEnvironment env{std::cout, std::cerr, ::isatty(STDERR_FILENO) == 1,
                                  faultward::executableFolder()};
    return faultward::runCli(args, env);
}
