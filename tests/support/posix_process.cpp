#include "support/process.h"

#include "support/temp_folder.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace faultward::testing {

ProcessResult runProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
                         const std::filesystem::path& workingFolder) {
    TempFolder streams;
    const std::filesystem::path out = streams / "out";
    const std::filesystem::path err = streams / "err";
    std::vector<char*> argv;
    std::string name = program.string();
    argv.push_back(name.data());
    std::vector<std::string> copies(args);
    for (std::string& arg : copies)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    const pid_t pid = ::fork();
    if (pid == 0) {
        const int outFd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int errFd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (outFd < 0 || errFd < 0 || ::dup2(outFd, STDOUT_FILENO) < 0 ||
            ::dup2(errFd, STDERR_FILENO) < 0 ||
            (!workingFolder.empty() && ::chdir(workingFolder.c_str()) != 0))
            ::_exit(127);
        ::execv(name.c_str(), argv.data());
        ::_exit(127);
    }
    ProcessResult result;
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid)
        return result;
    if (WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    result.out = readFile(out);
    result.err = readFile(err);
    return result;
}

} // namespace faultward::testing
