// The help and the parser come from one table; these check that what the help
// promises is what the parser does, with the messages users already know.
#include "cli/arguments.h"
#include "cli/cli.h"
#include "cli/help_text.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace faultward {
namespace {

// The lines of one section of the help, from its heading to the blank line.
std::vector<std::string> helpSection(const std::string& heading) {
    std::istringstream help(helpText());
    std::vector<std::string> lines;
    bool inside = false;
    for (std::string line; std::getline(help, line);) {
        if (inside && line.empty())
            break;
        if (inside)
            lines.push_back(line);
        inside = inside || line == heading;
    }
    return lines;
}

// Each command's synopsis, its wrapped lines joined: "insert" ->
// "[--mode N] ... PROJECT.vbp".
std::map<std::string, std::string> synopses() {
    std::map<std::string, std::string> byCommand;
    std::string command;
    for (const std::string& line : helpSection("Usage:")) {
        std::istringstream words(line);
        for (std::string word; words >> word;) {
            if (word == "faultward-cli")
                words >> command;
            else
                byCommand[command] += (byCommand[command].empty() ? "" : " ") + word;
        }
    }
    return byCommand;
}

// Each option the Options section describes, with its value's name ("" for a switch).
std::map<std::string, std::string> describedOptions() {
    std::map<std::string, std::string> options;
    for (const std::string& line : helpSection("Options:")) {
        if (!line.starts_with("  --"))
            continue;
        std::istringstream words(line);
        std::string spelling;
        std::string value;
        words >> spelling >> value;
        // A value's name is in capitals; anything else begins the description.
        const bool named =
            !value.empty() && value.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ") == value.npos;
        options[spelling] = named ? value : "";
    }
    return options;
}

// The option followed by a value each kind of value accepts.
void addOption(std::vector<std::string>& args, const std::string& option,
               const std::string& valueName) {
    const std::map<std::string, std::string> samples = {
        {"N", "5"}, {"LIST", "all"}, {"FILE", "t.txt"}, {"DIR", "out"}, {"NAME", "json"}};
    args.push_back(option);
    if (!valueName.empty())
        args.push_back(samples.at(valueName));
}

// How a synopsis shows an option: not at all, in brackets of its own, inside
// another option's brackets ("[--line-numbers [--start N]]"), or as the
// alternative to another ("[--mode N | --template FILE]").
struct Shown {
    bool shown = false;
    std::string inside;
    std::string insteadOf;
};

Shown howShown(const std::string& synopsis, const std::string& option) {
    std::vector<std::string> open;
    for (std::size_t i = 0; i < synopsis.size(); ++i) {
        if (synopsis[i] == ']')
            open.pop_back();
        if (synopsis[i] != '[' && synopsis[i] != '|')
            continue;
        const std::size_t from = synopsis[i] == '[' ? i + 1 : i + 2;
        const std::string name = synopsis.substr(from, synopsis.find_first_of(" ]", from) - from);
        if (name == option && synopsis[i] == '|')
            return {true, "", open.back()};
        if (name == option)
            return {true, open.empty() ? "" : open.back(), ""};
        if (synopsis[i] == '[')
            open.push_back(name);
    }
    return {};
}

std::optional<std::string> problemWith(const std::vector<std::string>& args) {
    Arguments parsed;
    return parseArguments(args, parsed);
}

// The problem once the command turns out to run without line numbers.
std::optional<std::string> problemWithoutNumbers(const std::vector<std::string>& args) {
    Arguments parsed;
    if (auto problem = parseArguments(args, parsed))
        return problem;
    return lineNumberOptionProblem(parsed, false);
}

// What the program has always said about an option given where it means nothing.
const std::map<std::string, std::string> kRefusals = {
    {"--mode", "--mode applies to insert, check and init only"},
    {"--procedures", "--procedures applies to insert, check, number, unnumber, init and remove "
                     "--line-numbers only"},
    {"--skip-handled", "--skip-handled applies to insert, check and init only"},
    {"--no-skip-handled", "--no-skip-handled applies to insert, check and init only"},
    {"--no-line-numbers", "--no-line-numbers applies to insert, remove and init only"},
    {"--template", "--template applies to insert, check and init only"},
    {"--line-numbers", "--line-numbers applies to insert, remove and init only"},
    {"--start", "--start applies to number, init and insert --line-numbers only"},
    {"--step", "--step applies to number, init and insert --line-numbers only"},
    {"--renumber", "--renumber applies to number, unnumber, insert --line-numbers and remove "
                   "--line-numbers only"},
    {"--jobs", "--jobs applies to insert, remove, number and unnumber only"},
    {"--dry-run", "--dry-run applies to insert, remove, number and unnumber only"},
    {"--diff", "--diff goes with --dry-run"},
    {"--output", "--output applies to insert, remove, number and unnumber only"},
    {"--clean", "--clean applies to check only"},
    {"--handled", "--handled applies to check only"},
    {"--format", "--format applies to check only"},
    {"--no-settings",
     "--no-settings applies to list, insert, remove, check, number and unnumber only"},
    {"--no-project-settings",
     "--no-project-settings applies to list, insert, remove, check, number and unnumber only"},
    {"--allow-outside", "--allow-outside applies to insert, remove, number and unnumber only"},
    {"--drop-signature", "--drop-signature applies to insert, remove, number and unnumber only"},
};

TEST(CommandTable, everyCommandTakesWhatItsSynopsisShowsAndRefusesTheRest) {
    const std::map<std::string, std::string> options = describedOptions();
    ASSERT_EQ(options.size(), kRefusals.size() + 2) << "--version and --kinds go everywhere";
    const std::map<std::string, std::string> commands = synopses();
    ASSERT_EQ(commands.size(), 7u);
    const std::map<std::string, std::string> conflicts = {
        {"--output", "--dry-run writes nothing, so it cannot go with --output"},
        {"--template", "--mode and --template both choose the handler lines; give one"},
        {"--no-skip-handled", "--skip-handled and --no-skip-handled say opposite things; give one"},
        {"--no-line-numbers", "--line-numbers and --no-line-numbers say opposite things; give one"},
    };
    int alternatives = 0;
    for (const auto& [command, synopsis] : commands) {
        for (const auto& [option, valueName] : options) {
            if (option == "--version")
                continue;
            const std::string context = command + " " + option;
            const Shown shown = howShown(synopsis, option);
            std::vector<std::string> args = {command, "App.vbp"};
            addOption(args, option, valueName);
            // What goes only with --line-numbers waits for the stored settings.
            if (!shown.shown) {
                EXPECT_EQ(problemWith(args), kRefusals.at(option)) << context;
            } else if (!shown.inside.empty()) {
                EXPECT_EQ(problemWithoutNumbers(args), kRefusals.at(option)) << context;
            }
            if (!shown.shown)
                continue;
            if (!shown.inside.empty())
                addOption(args, shown.inside, options.at(shown.inside));
            EXPECT_EQ(problemWith(args), std::nullopt) << context;
            if (!shown.insteadOf.empty()) {
                addOption(args, shown.insteadOf, options.at(shown.insteadOf));
                EXPECT_EQ(problemWith(args), conflicts.at(option)) << context;
                ++alternatives;
            }
        }
    }
    EXPECT_EQ(alternatives, 11) << "dry-run or output in four commands, mode or template in check, "
                                   "a switch or its --no- form in insert, check, remove and init";
}

// Every status the program can end with is one the help explains.
TEST(CommandTable, helpNamesEveryExitStatus) {
    std::vector<std::string> statuses;
    for (const std::string& line : helpSection("Exit status:"))
        if (line.size() > 3 && line.starts_with("  ") && line[2] != ' ')
            statuses.push_back(line.substr(2, line.find(' ', 2) - 2));
    EXPECT_EQ(statuses, (std::vector<std::string>{
                            std::to_string(ExitOk), std::to_string(ExitSomeFilesFailed),
                            std::to_string(ExitUsage), std::to_string(ExitOutside)}));
}

// A synopsis too wide for a line breaks inside its brackets rather than run on.
TEST(CommandTable, helpFitsA79ColumnTerminal) {
    std::istringstream help(helpText());
    for (std::string line; std::getline(help, line);)
        EXPECT_LE(line.size(), 79u) << line;
}

TEST(CommandTable, valuesAreReadFromTheNextArgumentOrAfterAnEqualsSign) {
    Arguments parsed;
    ASSERT_EQ(parseArguments({"insert", "--mode=-3", "--kinds", "class,form", "--output=a b",
                              "--procedures=property", "App.vbp", "--jobs", "64"},
                             parsed),
              std::nullopt);
    EXPECT_EQ(parsed.command, CliCommand::Insert);
    EXPECT_EQ(parsed.project, "App.vbp");
    EXPECT_EQ(parsed.mode, -3);
    EXPECT_EQ(parsed.kinds, SourceKinds({SourceKind::Class, SourceKind::Form}));
    EXPECT_EQ(parsed.output, "a b");
    EXPECT_EQ(parsed.procedures, ProcedureKinds(ProcedureKind::Property));
    EXPECT_EQ(parsed.jobs, 64);

    const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
        {{"insert", "App.vbp", "--mode"}, "--mode needs a number"},
        {{"insert", "App.vbp", "--jobs="}, "--jobs needs a whole number from 1 to 64, not ''"},
        {{"insert", "--mode", "32768", "App.vbp"},
         "--mode needs a whole number from -32768 to 32767, not '32768'"},
        {{"insert", "App.vbp", "--template"}, "--template needs a file"},
        {{"insert", "--output=", "App.vbp"}, "--output needs a folder"},
        {{"list", "--kinds=form,,module", "App.vbp"},
         "--kinds takes form, module, class, usercontrol, document or all, separated by "
         "commas, not 'form,,module'"},
        {{"check", "App.vbp", "--procedures"},
         "--procedures takes sub, function, property or all, separated by commas, not ''"},
        {{"insert", "--dry-run=yes", "App.vbp"}, "unknown option --dry-run=yes"},
        {{"insert", "--modes", "1", "App.vbp"}, "unknown option --modes"},
        {{"insert", "App.vbp", "More.vbp"}, "too many arguments"},
        {{"Insert", "App.vbp"}, "unknown command Insert"},
        {{"--kinds", "all"}, "no command given"},
        {{"remove"}, "no project file given"},
    };
    for (const auto& [args, message] : refused)
        EXPECT_EQ(problemWith(args), message) << args[1];
}

TEST(CommandTable, helpAndVersionAnswerWhereverTheyStand) {
    EXPECT_EQ(standAloneOption({"insert", "--template", "--help", "App.vbp"}), CliOption::Help);
    EXPECT_EQ(standAloneOption({"--bogus", "-h", "--version"}), CliOption::Help);
    EXPECT_EQ(standAloneOption({"list", "--version", "--help"}), CliOption::Version);
    EXPECT_EQ(standAloneOption({"list", "--help=1", "--versions", "App.vbp"}), std::nullopt);
}

} // namespace
} // namespace faultward
