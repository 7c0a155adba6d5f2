#include "cli/command_table.h"

#include "rewrite/line_number_rule.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

namespace faultward {
namespace {

using enum CliOption;

// A mode is stored as a 16-bit number, so any such number is taken.
constexpr int kLowestMode = std::numeric_limits<std::int16_t>::min();
constexpr int kHighestMode = std::numeric_limits<std::int16_t>::max();

// One maker for each kind of option: what its value is called in the help
// follows from the kind, and so does how it is read.
OptionRow standAlone(CliOption option, std::string_view spelling, std::string_view alias,
                     std::string_view help) {
    return {.option = option, .spelling = spelling, .alias = alias, .help = help};
}

OptionRow toggle(CliOption option, std::string_view spelling, bool Arguments::*field,
                 std::string_view help) {
    return {.option = option, .spelling = spelling, .field = field, .help = help};
}

OptionRow number(CliOption option, std::string_view spelling, std::optional<int> Arguments::*field,
                 int low, int high, std::string_view help) {
    return {.option = option,
            .spelling = spelling,
            .valueName = "N",
            .field = field,
            .low = low,
            .high = high,
            .help = help};
}

// One of a switch's two spellings, which set it on or off against a stored setting.
OptionRow onOff(CliOption option, std::string_view spelling, std::optional<bool> Arguments::*field,
                bool setsTo, std::string_view help) {
    return {.option = option, .spelling = spelling, .field = field, .setsTo = setsTo, .help = help};
}

template <typename Kinds>
OptionRow list(CliOption option, std::string_view spelling, std::optional<Kinds> Arguments::*field,
               std::string_view help) {
    return {
        .option = option, .spelling = spelling, .valueName = "LIST", .field = field, .help = help};
}

OptionRow path(CliOption option, std::string_view spelling, std::string_view valueName,
               std::string_view noun, std::optional<std::string> Arguments::*field,
               std::string_view help) {
    return {.option = option,
            .spelling = spelling,
            .valueName = valueName,
            .field = field,
            .valueNoun = noun,
            .help = help};
}

// A value that is one of a few words.
OptionRow choice(CliOption option, std::string_view spelling, std::string_view valueName,
                 std::optional<std::string> Arguments::*field,
                 std::vector<std::string_view> choices, std::string_view help) {
    return {.option = option,
            .spelling = spelling,
            .valueName = valueName,
            .field = field,
            .choices = std::move(choices),
            .help = help};
}

// An option that means nothing without the other.
OptionRow goingWith(CliOption other, OptionRow row) {
    row.goesWith = other;
    return row;
}

const std::array<OptionRow, 24> kOptions = {
    standAlone(Help, "--help", "-h", ""),
    standAlone(Version, "--version", "", "Print the program's version and exit.\n"),
    number(Mode, "--mode", &Arguments::mode, kLowestMode, kHighestMode,
           "Handling mode for insert:\n"
           "  0  show the error number and description in a message box\n"
           "  1  resume with the next statement\n"
           "  2  call I_Process_Errors, a Sub your project provides\n"
           "Any other number writes the mode 1 block. The default is the mode\n"
           "stored in ERRH.ini (0 when there is none): beside this program when\n"
           "its folder can be written and is not a system folder (/usr/bin,\n"
           "Program Files), else the user's own file (on Linux in\n"
           "$XDG_CONFIG_HOME/faultward or ~/.config/faultward, on Windows in\n"
           "%APPDATA%\\Faultward), or the one beside this program while the\n"
           "user has none.\n"),
    list(Procedures, "--procedures", &Arguments::procedures,
         "Which procedures insert, check, number and unnumber handle (and\n"
         "remove with --line-numbers): sub, function, property\n"
         "or all, separated by commas (default sub). A Function's block\n"
         "leaves with EXIT FUNCTION, a Property Get/Let/Set's with EXIT\n"
         "PROPERTY.   insert --procedures sub,function App.vbp\n"),
    list(Kinds, "--kinds", &Arguments::kinds,
         "Which files of the project: form, module, class, usercontrol,\n"
         "document (ThisWorkbook, Sheet1: the modules of an Office document\n"
         "and its sheets) or all, separated by commas (default form,module).\n"
         "Use the same kinds for remove as for insert.\n"
         "  insert --kinds all App.vbp\n"),
    onOff(SkipHandled, "--skip-handled", &Arguments::skipHandled, true,
          "Insert nothing into a procedure whose body already has an\n"
          "On Error statement of its own.   insert --skip-handled App.vbp\n"),
    onOff(NoSkipHandled, "--no-skip-handled", &Arguments::skipHandled, false,
          "Give those procedures a trap and a block too, whatever the\n"
          "settings say (SkipHandled=1).\n"),
    path(Template, "--template", "FILE", "file", &Arguments::templateFile,
         "Take the trap and handler lines from a template file instead of\n"
         "the mode: a [trap] section and a [handler] section, lines starting\n"
         "with ';' are comments. {procedure} (without a type character),\n"
         "{module}, {file}, {project} and {exit} are replaced; {{ and }}\n"
         "stand for braces. The marker is added to every line. A faulty\n"
         "template is refused and nothing is written.\n"
         "  insert --template release.txt App.vbp\n"),
    onOff(LineNumbers, "--line-numbers", &Arguments::lineNumbers, true,
          "With insert, number the procedures afresh in the same read and\n"
          "write (the files end as after insert, then number); with remove,\n"
          "take their line numbers out with the marked lines.\n"
          "  insert --line-numbers --template erl-message-box.txt App.vbp\n"),
    onOff(NoLineNumbers, "--no-line-numbers", &Arguments::lineNumbers, false,
          "Leave line numbers alone with insert and remove, whatever the\n"
          "settings say (LineNumbers=1).\n"),
    number(Start, "--start", &Arguments::start, 1, kHighestLineNumber,
           "The first line number of each procedure, 1 to 65529 (default 10).\n"),
    number(Step, "--step", &Arguments::step, 1, kHighestLineNumber,
           "From one line number to the next, 1 to 65529 (default 10).\n"
           "  number --start 100 --step 5 App.vbp\n"),
    toggle(Renumber, "--renumber", &Arguments::renumber,
           "Take every line number of the chosen procedures for this tool's,\n"
           "an author's too: number numbers them afresh, unnumber (and insert\n"
           "or remove with --line-numbers) takes them out, and each procedure\n"
           "whose numbers change or go is named on stderr. A procedure whose\n"
           "code jumps to a line number or uses Erl's value is still left as\n"
           "it was.   number --renumber App.vbp\n"),
    number(Jobs, "--jobs", &Arguments::jobs, 1, kMaxJobs,
           "How many files insert, remove, number and unnumber work on at a\n"
           "time, 1 to 64 (default one a core). The files come out the same,\n"
           "and are reported in list order, whatever the number.\n"
           "  remove --jobs 1 App.vbp\n"),
    toggle(DryRun, "--dry-run", &Arguments::dryRun,
           "Write nothing; print one line a file that would change with the\n"
           "numbers of lines added and removed (\"Module1.bas: +12 -0\").\n"),
    goingWith(DryRun, toggle(Diff, "--diff", &Arguments::diff,
                             "With --dry-run, print the changes as a unified diff instead, as\n"
                             "diff -u would, for patch -p1 in the project's folder; when a\n"
                             "changed file lies outside it, a line \"folder: PATH\" first names\n"
                             "the folder to patch in.   insert --dry-run --diff App.vbp | less\n")),
    path(Output, "--output", "DIR", "folder", &Arguments::output,
         "Leave the sources as they are and write the processed project into\n"
         "DIR: the project file and every file it names (a form's .frx too,\n"
         "and every companion its designer block names), processed or not,\n"
         "in the same layout, each file with its permission bits, and the\n"
         "project's own NAME.faultward. DIR must be empty or missing and\n"
         "outside the project's folder. A file from outside the project's\n"
         "folder is copied only with --allow-outside, a link out of it never.\n"
         "Prints the copy's project file. A copy that fails part-way is\n"
         "removed again and nothing is processed.\n"
         "  insert --kinds all --output ../release App.vbp\n"),
    toggle(Clean, "--clean", &Arguments::clean,
           "check exits 1 when any marked line is left.\n"
           "  check --clean App.vbp\n"),
    toggle(Handled, "--handled", &Arguments::handled,
           "check exits 1 when any procedure of the chosen kinds has no trap\n"
           "and is not one that insert leaves alone.\n"
           "  check --handled --procedures all App.vbp\n"),
    choice(Format, "--format", "NAME", &Arguments::format, {"text", "json"},
           "check prints its report as text (the default) or as JSON: one\n"
           "record a procedure with its file, line, kind, name and state, for\n"
           "build servers and editors.   check --format json App.vbp\n"),
    toggle(NoSettings, "--no-settings", &Arguments::noSettings,
           "Take the built-in defaults, not those stored in ERRH.ini. Without\n"
           "it the defaults are the desktop program's Handler Settings (the\n"
           "procedures, the files, leaving procedures that handle their own\n"
           "errors, a template, line numbers with insert and remove) and its\n"
           "handling mode; every option given overrides its setting. The\n"
           "settings that change what a command does are named on stderr with\n"
           "their file, and a stored value that cannot be used is named with\n"
           "its key.   insert --no-settings App.vbp\n"),
    toggle(NoProjectSettings, "--no-project-settings", &Arguments::noProjectSettings,
           "Leave out the project's own settings file, NAME.faultward beside\n"
           "the project or group file: its handler settings and its [Leave]\n"
           "list of files and procedures to leave alone. A procedure listed\n"
           "keeps every byte: insert gives it no handler, remove keeps its\n"
           "marked lines, number and unnumber its line numbers.\n"),
    toggle(AllowOutside, "--allow-outside", &Arguments::allowOutside,
           "Write files outside the folder that holds the project or group\n"
           "(..\\Shared\\Util.bas, a link out of it, a template the project's\n"
           "settings file names there), and with --output copy them. Without\n"
           "it such a command names them and writes nothing (exit 3); a dry\n"
           "run and check name them. It allows this run only. --output never\n"
           "follows a link out of the project's folder.\n"),
    toggle(DropSignature, "--drop-signature", &Arguments::dropSignature,
           "Write a signed Office document's VBA project without its\n"
           "signature, which any change breaks, and name the parts and streams\n"
           "removed; sign the project again in the editor. Without it a command\n"
           "that would change such a document writes nothing.\n"),
};

// check takes insert's options, so that it judges the procedures that
// insertion leaves alone as insertion does.
const std::array<CommandRow, 7> kCommands = {{
    {CliCommand::List,
     "list",
     {Kinds, NoSettings, NoProjectSettings},
     {},
     "Print the project's form and module files, one a line, in the\n"
     "order they are processed (sorted without regard to letter case).\n"},
    {CliCommand::Insert,
     "insert",
     {Mode, Procedures, Kinds, SkipHandled, NoSkipHandled, Template, Jobs, LineNumbers,
      NoLineNumbers, DryRun, Diff, Output, NoSettings, NoProjectSettings, AllowOutside,
      DropSignature},
     {Start, Step, Renumber},
     "Remove earlier handlers, then insert new ones into every file:\n"
     "each file is read once and written once at most, not at all\n"
     "when it already holds exactly the handlers it would get.\n"},
    {CliCommand::Remove,
     "remove",
     {Kinds, Jobs, LineNumbers, NoLineNumbers, DryRun, Diff, Output, NoSettings, NoProjectSettings,
      AllowOutside, DropSignature},
     {Procedures, Renumber},
     "Remove every line that holds the marker comment from every file.\n"},
    {CliCommand::Check,
     "check",
     {Procedures, Kinds, SkipHandled, NoSkipHandled, Mode, Template, Clean, Handled, Format,
      NoSettings, NoProjectSettings},
     {},
     "Report, for each file, its marked lines and the procedures whose\n"
     "body holds no On Error statement; writes nothing. Procedures that\n"
     "insert leaves alone on purpose are listed with the reason and not\n"
     "counted as without a trap: one-line procedures, those whose end is\n"
     "not an End Sub line of its own (indented, in other letter case,\n"
     "after a colon, past line 32000), those that already define the\n"
     "handler's label, with --skip-handled those with an On Error of\n"
     "their own, those whose head is indented, and those the project's\n"
     "[Leave] list names (with or without a type character). Give check\n"
     "the options insert was given. It also tells how many procedures\n"
     "hold line numbers when any do, and warns of a [Leave] item that\n"
     "names no file or procedure of the kinds it looked at.\n"},
    {CliCommand::Number,
     "number",
     {Start, Step, Renumber, Procedures, Kinds, Jobs, DryRun, Diff, Output, NoSettings,
      NoProjectSettings, AllowOutside, DropSignature},
     {},
     "Give the body lines of every procedure line numbers, for the Erl\n"
     "function: a number and a space before each statement line, not\n"
     "before blank, comment, label, continued, Case, #If or Attribute\n"
     "lines, nor before the marked lines. Numbering starts again in each\n"
     "procedure. A procedure's numbers are this tool's only when they are\n"
     "exactly what number writes on it as it now stands, for some start\n"
     "and step: a number and a space before every line it numbers, at\n"
     "least two in one ascending run of one step, with at most one of\n"
     "those lines bare (a statement added since), never the first; any\n"
     "other numbers are the user's. The tool's are redone, and a\n"
     "procedure whose numbers change is named on stderr. A\n"
     "procedure holding any other numbers (the user's own, an author's),\n"
     "in which a GoTo, GoSub, Resume, Then or Else names a line number,\n"
     "whose code uses Erl's value other than by passing it on, that would\n"
     "need numbers above 65529, whose end is unclear or whose head is\n"
     "indented, is left as it was and named on stderr.\n"},
    {CliCommand::Unnumber,
     "unnumber",
     {Renumber, Procedures, Kinds, Jobs, DryRun, Diff, Output, NoSettings, NoProjectSettings,
      AllowOutside, DropSignature},
     {},
     "Take the line numbers number wrote out of every procedure, each\n"
     "with the one space after it; number then unnumber gives the files\n"
     "back byte for byte. Numbers of another shape are the user's and\n"
     "stay (unless --renumber is given): a procedure holding them, or one\n"
     "whose numbers a jump names or whose code uses Erl's value, is left\n"
     "as it was and named on stderr.\n"},
    {CliCommand::Init,
     "init",
     {Mode, Procedures, Kinds, SkipHandled, NoSkipHandled, Template, LineNumbers, NoLineNumbers,
      Start, Step},
     {},
     "Keep the options given in the project's own settings file,\n"
     "NAME.faultward beside the project or group file, for everyone who\n"
     "works on the project: the commands take them over ERRH.ini. Keys\n"
     "not given and the [Leave] list stay as they are; a template's path\n"
     "is kept relative to the project's folder. Given no option, or a\n"
     "file that is not a .vbp or .vbg, it writes nothing.\n"},
}};

constexpr std::array<OptionConflict, 4> kConflicts = {{
    {DryRun, Output, "--dry-run writes nothing, so it cannot go with --output"},
    {Mode, Template, "--mode and --template both choose the handler lines; give one"},
    {SkipHandled, NoSkipHandled,
     "--skip-handled and --no-skip-handled say opposite things; give one"},
    {LineNumbers, NoLineNumbers,
     "--line-numbers and --no-line-numbers say opposite things; give one"},
}};

// --kinds is taken by every command, and --diff wherever
// --dry-run is.
constexpr std::array<CliOption, 20> kRefusalOrder = {
    Mode,         LineNumbers,   NoLineNumbers, Start,         Step,       Renumber,
    Jobs,         Template,      SkipHandled,   NoSkipHandled, Procedures, DryRun,
    Output,       Clean,         Handled,       Format,        NoSettings, NoProjectSettings,
    AllowOutside, DropSignature,
};

} // namespace

std::span<const CommandRow> commandTable() {
    return kCommands;
}

std::span<const OptionRow> optionTable() {
    return kOptions;
}

std::span<const OptionConflict> optionConflicts() {
    return kConflicts;
}

std::span<const CliOption> refusalOrder() {
    return kRefusalOrder;
}

const OptionRow& optionRow(CliOption option) {
    return *std::find_if(kOptions.begin(), kOptions.end(),
                         [&](const OptionRow& row) { return row.option == option; });
}

const CommandRow& commandRow(CliCommand command) {
    return *std::find_if(kCommands.begin(), kCommands.end(),
                         [&](const CommandRow& row) { return row.command == command; });
}

bool takesOption(const CommandRow& command, CliOption option, bool lineNumbers) {
    const auto among = [&](const std::vector<CliOption>& options) {
        return std::find(options.begin(), options.end(), option) != options.end();
    };
    return among(command.options) || (lineNumbers && among(command.withLineNumbers));
}

} // namespace faultward
