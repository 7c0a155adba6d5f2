#include "app/desktop/desktop_arguments.h"

#include "version/faultward_version.h"

namespace faultward {

std::optional<std::string> desktopStandAloneText(const std::vector<std::string>& args) {
    if (args.size() != 1)
        return std::nullopt;
    if (args[0] == "--version")
        return "faultward " + std::string(kDisplayVersion) + "\n";
    if (args[0] != "--help" && args[0] != "-h")
        return std::nullopt;
    return "Usage: faultward [--help | --version]\n"
           "\n"
           "Opens the Faultward window, which gives the procedures of a Visual Basic\n"
           "project's forms and modules a run-time error trap and handler block, or takes\n"
           "them out again. Its help, from the Help menu or F1, tells how. faultward-cli\n"
           "does the same work from the command line.\n"
           "\n"
           "Options:\n"
           "  --help, -h  Print this help and exit.\n"
           "  --version   Print the program's version and exit.\n";
}

} // namespace faultward
