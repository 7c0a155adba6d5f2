#include "cli/cli.h"

#include "app/pass_driver.h"
#include "app/settings.h"
#include "app/texts.h"
#include "platform/display_text.h"
#include "platform/path_bytes.h"
#include "project/file_list.h"
#include "project/project_reader.h"
#include "version/faultward_version.h"

#include <charconv>
#include <optional>

namespace faultward {
namespace {

constexpr std::string_view kUsage =
    R"(Usage:
  faultward-cli list PROJECT.vbp
  faultward-cli insert [--mode N] PROJECT.vbp
  faultward-cli remove PROJECT.vbp
  faultward-cli --help
  faultward-cli --version

Gives every Sub of a Visual Basic project's forms (.frm) and modules (.bas) a
run-time error trap and handler block, or takes them out again. Every added
line ends with the marker comment '~Faultward~.

Commands:
  list     Print the project's form and module files, one a line, in the
           order they are processed (sorted without regard to letter case).
  insert   Remove earlier handlers, then insert new ones into every file.
  remove   Remove every line that holds the marker comment from every file.

Options:
  --version Print the program's version and exit.
  --mode N  Handling mode for insert:
              0  show the error number and description in a message box
              1  resume with the next statement
              2  call I_Process_Errors, a Sub your project provides
            Any other number writes the mode 1 block. The default is the mode
            stored in ERRH.ini (0 when there is none): beside this program when
            its folder can be written, else the user's own file (on Linux in
            $XDG_CONFIG_HOME/faultward or ~/.config/faultward, on Windows in
            %APPDATA%\Faultward), or the one beside this program while the
            user has none.

Files are found relative to the project's folder; backslashes and letter case
are handled as Windows would. Files are rewritten through a temporary file, so
a file is never left half written. Progress is shown on stderr when it is a
terminal; files that could not be processed, and files too long for all their
handlers, are reported on stderr.

Exit status:
  0  every file was processed
  1  some file could not be processed (each is named on stderr)
  2  bad usage, or the project file could not be read
)";

struct Arguments {
    std::string command;
    std::string project;
    std::optional<int> mode;
};

std::optional<int> parseMode(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < -32768 || value > 32767)
        return std::nullopt;
    return value;
}

// Parses the arguments; an error message when they make no sense.
std::optional<std::string> parseArguments(const std::vector<std::string>& args, Arguments& parsed) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--mode" || arg.starts_with("--mode=")) {
            std::string value;
            if (arg == "--mode") {
                if (i + 1 >= args.size())
                    return "--mode needs a number";
                value = args[++i];
            } else {
                value = arg.substr(7);
            }
            parsed.mode = parseMode(value);
            if (!parsed.mode)
                return "--mode needs a whole number from -32768 to 32767, not '" + value + "'";
        } else if (arg.starts_with("--") && arg != "--") {
            return "unknown option " + arg;
        } else if (parsed.command.empty()) {
            parsed.command = arg;
        } else if (parsed.project.empty()) {
            parsed.project = arg;
        } else {
            return "too many arguments";
        }
    }
    if (parsed.command.empty())
        return "no command given";
    if (parsed.command != "list" && parsed.command != "insert" && parsed.command != "remove")
        return "unknown command " + parsed.command;
    if (parsed.project.empty())
        return "no project file given";
    if (parsed.mode && parsed.command != "insert")
        return "--mode applies to insert only";
    return std::nullopt;
}

// An entry (or a message naming one) as it goes to a stream.
std::string shown(std::string_view entryBytes, bool terminal) {
    return terminal ? entryDisplayText(entryBytes) : std::string(entryBytes);
}

// Prints what the passes report: progress on a terminal, and the files that
// could not be processed, each once per command.
class CliObserver : public CommandObserver {
public:
    CliObserver(CliEnvironment& env, std::size_t count) : env_(env), count_(count) {}

    void passStarted(PassKind kind, int, int) override {
        kind_ = kind == PassKind::Insertion ? kInsertingCaption : kRemovingCaption;
    }
    void entryMadeCurrent(int index) override {
        if (env_.errIsTerminal)
            env_.err << '\r' << kind_ << ": " << (index + 1) << '/' << count_ << "\x1b[K"
                     << std::flush;
    }
    void passFinished(PassKind) override {
        if (env_.errIsTerminal)
            env_.err << "\r\x1b[K" << std::flush;
    }
    void lineLimitExceeded(int, std::string_view message) override {
        clearProgress();
        env_.err << shown(message, env_.errIsTerminal) << '\n';
    }
    void fileFailed(const FailureCollector::Failure& failure) override {
        clearProgress();
        env_.err << "faultward-cli: " << shown(failure.entry, env_.errIsTerminal) << ": "
                 << describe(failure.outcome) << '\n';
    }

private:
    void clearProgress() {
        if (env_.errIsTerminal)
            env_.err << "\r\x1b[K";
    }
    CliEnvironment& env_;
    std::size_t count_;
    std::string_view kind_;
};

} // namespace

int runCli(const std::vector<std::string>& args, CliEnvironment& env) {
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            env.out << kUsage;
            return ExitOk;
        }
        if (arg == "--version") {
            env.out << "faultward-cli " << kDisplayVersion << '\n';
            return ExitOk;
        }
    }
    Arguments parsed;
    if (const auto problem = parseArguments(args, parsed)) {
        env.err << "faultward-cli: " << *problem << "\nTry 'faultward-cli --help'.\n";
        return ExitUsage;
    }

    std::error_code error;
    const std::filesystem::path project =
        std::filesystem::absolute(pathFromBytes(parsed.project), error);
    const ProjectRead read = readProjectFile(project);
    if (read.status != ProjectReadStatus::Ok) {
        env.err << "faultward-cli: " << describeProjectFailure(read.status, parsed.project) << '\n';
        return ExitUsage;
    }
    const std::vector<ListEntry> entries = sortedListEntries(read.entries);

    if (parsed.command == "list") {
        for (const ListEntry& entry : entries)
            env.out << shown(entry.text, env.outIsTerminal) << '\n';
        env.out.flush();
        return ExitOk;
    }

    const bool insert = parsed.command == "insert";
    int mode = 0;
    if (insert) {
        if (parsed.mode) {
            mode = *parsed.mode;
        } else {
            mode = loadSettings(*openSettingsStore(env.settingsFolder)).errorFlag;
        }
    }
    CliObserver observer(env, entries.size());
    const FailureCollector failures =
        runPassCommand(insert ? PassCommand::Insert : PassCommand::Remove,
                       {entries, project.parent_path(), mode}, observer);
    return failures.empty() ? ExitOk : ExitSomeFilesFailed;
}

} // namespace faultward
