#pragma once

#include "rewrite/procedure_kind.h"
#include "rewrite/source_kind.h"

#include <optional>
#include <string>
#include <vector>

namespace faultward {

// More workers than this only cost memory: each holds a file or two.
inline constexpr int kMaxJobs = 64;

// The commands of faultward-cli, in the order the help lists them.
enum class CliCommand { List, Insert, Remove, Check, Number, Unnumber, Init };

// The options of faultward-cli; cli/command_table.h says what each one is.
enum class CliOption {
    Help,
    Version,
    Mode,
    Procedures,
    Kinds,
    SkipHandled,
    NoSkipHandled,
    Template,
    LineNumbers,
    NoLineNumbers,
    Start,
    Step,
    Jobs,
    DryRun,
    Diff,
    Output,
    Clean,
    Handled,
    Format,
    NoSettings,
    NoProjectSettings,
    AllowOutside,
    Renumber,
    DropSignature
};

// The command line of faultward-cli, parsed.
struct Arguments {
    CliCommand command = CliCommand::List;
    // A .vbp, a .vbg naming projects, an Office document or a folder of modules.
    std::string project;
    std::optional<int> mode;
    std::optional<ProcedureKinds> procedures;
    std::optional<SourceKinds> kinds;
    // Each of these is left unset when neither it nor its --no- form is given.
    std::optional<bool> skipHandled;
    std::optional<std::string> templateFile;
    bool dryRun = false;
    bool diff = false;
    std::optional<std::string> output;
    std::optional<int> jobs; // files worked on at a time; the cores by default
    bool clean = false;
    bool handled = false;
    std::optional<bool> lineNumbers; // insert numbers the procedures, remove unnumbers them
    std::optional<int> start;        // the first line number of a procedure
    std::optional<int> step;         // from one line number to the next
    bool renumber = false;           // every line number is taken for the tool's
    // The desktop program's handler settings in ERRH.ini are not the defaults.
    bool noSettings = false;
    // Nor are those of the project's own settings file.
    bool noProjectSettings = false;
    std::optional<std::string> format; // check's report: "text" or "json"
    // Files outside the project's folder may be written (or copied) this run.
    bool allowOutside = false;
    // A signed document's VBA project may be written without its signature.
    bool dropSignature = false;
};

// --help or --version when one of them is given: they are answered at once,
// wherever they stand and whatever else is given (the first one counts).
std::optional<CliOption> standAloneOption(const std::vector<std::string>& args);

// Parses the arguments (without the program name); an error message when
// they make no sense. Options taken only along with --line-numbers pass
// here unless --no-line-numbers is given: whether the stored settings number
// the lines is known later (lineNumberOptionProblem).
std::optional<std::string> parseArguments(const std::vector<std::string>& args, Arguments& parsed);

// The message for an option given that needs line numbers when the command
// runs without them after all.
std::optional<std::string> lineNumberOptionProblem(const Arguments& parsed, bool lineNumbers);

} // namespace faultward
