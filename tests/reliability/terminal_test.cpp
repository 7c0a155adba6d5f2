// faultward-cli on a terminal: a name from a project file cannot steer it.
#include "child_process.h"
#include "support/planted_project.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

namespace faultward::reliability {
namespace {

using testing::PlantedProject;

// What the program shows on a terminal (standard output and error both).
std::string onTerminal(const std::vector<std::string>& args) {
    const std::string program = cliPath().string();
    std::vector<char*> argv = {const_cast<char*>(program.c_str())};
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    int terminal = -1;
    const pid_t pid = ::forkpty(&terminal, nullptr, nullptr, nullptr);
    if (pid == 0) {
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    std::string shown;
    char buffer[4096];
    for (ssize_t got; (got = ::read(terminal, buffer, sizeof buffer)) != 0;) {
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            break; // EIO: the child has closed the terminal
        shown.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(terminal);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return shown;
}

TEST(Terminal, namesFromAProjectAreShownWithTheirControlCharactersEscaped) {
    TempFolder root;
    const PlantedProject planted(root);
    const std::string escaped = "\\x1b]0;pwned\\x07.bas";
    // list prints it, and insert's message that it is not found quotes it.
    const std::string listed = onTerminal({"list", planted.vbp.string()});
    EXPECT_NE(listed.find(escaped), std::string::npos) << listed;
    const std::string inserted =
        onTerminal({"insert", "--allow-outside", "--jobs", "1", planted.vbp.string()});
    EXPECT_NE(inserted.find(escaped + ": not found"), std::string::npos) << inserted;
    // The only control bytes left are the progress line's return and erase.
    for (const std::string& shown : {listed, inserted}) {
        std::string controls = shown;
        for (const std::string own : {"\x1b[K", "\r\n", "\r"})
            for (std::size_t at; (at = controls.find(own)) != std::string::npos;)
                controls.erase(at, own.size());
        EXPECT_EQ(controls.find_first_of("\x1b\x07"), std::string::npos) << controls;
    }
    // To a pipe the project's bytes go as they are, for scripts.
    EXPECT_NE(runCli({"list", planted.vbp.string()}).out.find(planted.titleName + "\n"),
              std::string::npos);
}

} // namespace
} // namespace faultward::reliability
