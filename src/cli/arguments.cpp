#include "cli/arguments.h"

#include "cli/command_table.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <span>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>

namespace faultward {
namespace {

// A whole number in [low, high], all of text.
std::optional<int> parseWhole(std::string_view text, int low, int high) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
        return std::nullopt;
    return value;
}

template <typename Kind> using KindWords = std::span<const std::pair<std::string_view, Kind>>;

constexpr std::array<std::pair<std::string_view, ProcedureKind>, 3> kProcedureWords = {{
    {"sub", ProcedureKind::Sub},
    {"function", ProcedureKind::Function},
    {"property", ProcedureKind::Property},
}};

constexpr std::array<std::pair<std::string_view, SourceKind>, 5> kSourceWords = {{
    {"form", SourceKind::Form},
    {"module", SourceKind::Module},
    {"class", SourceKind::Class},
    {"usercontrol", SourceKind::UserControl},
    {"document", SourceKind::Document},
}};

// A comma-separated list of words, each naming one or more kinds ("all"
// names every kind).
template <typename Kind>
std::optional<KindSet<Kind>> parseKinds(std::string_view text, KindWords<Kind> words,
                                        KindSet<Kind> all) {
    KindSet<Kind> kinds;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const std::string_view word = text.substr(start, comma - start);
        start = comma + 1;
        if (word == "all") {
            kinds = kinds | all;
            continue;
        }
        bool known = false;
        for (const auto& [name, kind] : words)
            if (word == name) {
                kinds = kinds | kind;
                known = true;
            }
        if (!known)
            return std::nullopt;
    }
    return kinds;
}

// "sub, function, property or all".
template <typename Kind> std::string wordChoice(KindWords<Kind> words) {
    std::string choice;
    for (const auto& word : words)
        choice += std::string(word.first) + ", ";
    choice.replace(choice.size() - 2, 2, " or all");
    return choice;
}

// Reads an option's value into its field; an error message when it will not do.
std::optional<std::string> takeValue(const OptionRow& row, const std::string& value,
                                     Arguments& parsed) {
    const std::string name(row.spelling);
    const auto listProblem = [&](const auto& words) {
        return name + " takes " + wordChoice(words) + ", separated by commas, not '" + value + "'";
    };
    if (const auto field = std::get_if<std::optional<int> Arguments::*>(&row.field)) {
        parsed.*(*field) = parseWhole(value, row.low, row.high);
        if (!(parsed.*(*field)))
            return name + " needs a whole number from " + std::to_string(row.low) + " to " +
                   std::to_string(row.high) + ", not '" + value + "'";
    } else if (const auto field =
                   std::get_if<std::optional<std::string> Arguments::*>(&row.field)) {
        if (!row.choices.empty() &&
            std::find(row.choices.begin(), row.choices.end(), value) == row.choices.end()) {
            std::string words;
            for (std::size_t i = 0; i < row.choices.size(); ++i)
                words += (i == 0                        ? ""
                          : i + 1 == row.choices.size() ? " or "
                                                        : ", ") +
                         std::string(row.choices[i]);
            return name + " takes " + words + ", not '" + value + "'";
        }
        if (value.empty())
            return name + " needs a " + std::string(row.valueNoun);
        parsed.*(*field) = value;
    } else if (const auto field =
                   std::get_if<std::optional<ProcedureKinds> Arguments::*>(&row.field)) {
        parsed.*(*field) =
            parseKinds(value, KindWords<ProcedureKind>(kProcedureWords), kAllProcedureKinds);
        if (!(parsed.*(*field)))
            return listProblem(KindWords<ProcedureKind>(kProcedureWords));
    } else if (const auto field =
                   std::get_if<std::optional<SourceKinds> Arguments::*>(&row.field)) {
        parsed.*(*field) = parseKinds(value, KindWords<SourceKind>(kSourceWords), kAllSourceKinds);
        if (!(parsed.*(*field)))
            return listProblem(KindWords<SourceKind>(kSourceWords));
    }
    return std::nullopt;
}

// The option an argument names, as "--name" or, when it takes a value,
// "--name=value"; nothing for --help and --version, which are not parsed.
const OptionRow* optionNamed(std::string_view arg) {
    for (const OptionRow& row : optionTable()) {
        if (std::holds_alternative<std::monostate>(row.field))
            continue;
        if (arg == row.spelling)
            return &row;
        const bool takesValue =
            !std::holds_alternative<bool Arguments::*>(row.field) &&
            !std::holds_alternative<std::optional<bool> Arguments::*>(row.field);
        if (takesValue && arg.starts_with(row.spelling) && arg.size() > row.spelling.size() &&
            arg[row.spelling.size()] == '=')
            return &row;
    }
    return nullptr;
}

bool given(const OptionRow& row, const Arguments& parsed) {
    return std::visit(
        [&](auto field) {
            if constexpr (std::is_same_v<decltype(field), std::monostate>)
                return false;
            else if constexpr (std::is_same_v<decltype(field), bool Arguments::*>)
                return parsed.*field;
            else if constexpr (std::is_same_v<decltype(field), std::optional<bool> Arguments::*>)
                return parsed.*field == row.setsTo;
            else
                return (parsed.*field).has_value();
        },
        row.field);
}

// "insert, remove, number and unnumber".
std::string spokenList(const std::vector<std::string>& words) {
    std::string list;
    for (std::size_t i = 0; i < words.size(); ++i)
        list += (i == 0 ? "" : i + 1 == words.size() ? " and " : ", ") + words[i];
    return list;
}

// "--start applies to number and insert --line-numbers only".
std::string refusal(CliOption option) {
    std::vector<std::string> outright;
    std::vector<std::string> withLineNumbers;
    for (const CommandRow& command : commandTable()) {
        if (takesOption(command, option, false))
            outright.emplace_back(command.name);
        else if (takesOption(command, option, true))
            withLineNumbers.push_back(std::string(command.name) + " --line-numbers");
    }
    outright.insert(outright.end(), withLineNumbers.begin(), withLineNumbers.end());
    return std::string(optionRow(option).spelling) + " applies to " + spokenList(outright) +
           " only";
}

// Options the command does not take, or that do not go together.
std::optional<std::string> misplacedOption(const Arguments& parsed) {
    const CommandRow& command = commandRow(parsed.command);
    for (const CliOption option : refusalOrder())
        if (given(optionRow(option), parsed) &&
            !takesOption(command, option, parsed.lineNumbers.value_or(true)))
            return refusal(option);
    for (const OptionRow& row : optionTable())
        if (row.goesWith && given(row, parsed) && !given(optionRow(*row.goesWith), parsed))
            return std::string(row.spelling) + " goes with " +
                   std::string(optionRow(*row.goesWith).spelling);
    for (const OptionConflict& conflict : optionConflicts())
        if (given(optionRow(conflict.first), parsed) && given(optionRow(conflict.second), parsed))
            return std::string(conflict.message);
    return std::nullopt;
}

// The message for a switch given both ways.
std::string contradiction(CliOption option) {
    for (const OptionConflict& conflict : optionConflicts())
        if (conflict.first == option || conflict.second == option)
            return std::string(conflict.message);
    return std::string(optionRow(option).spelling) + " is given both ways";
}

} // namespace

std::optional<std::string> lineNumberOptionProblem(const Arguments& parsed, bool lineNumbers) {
    const CommandRow& command = commandRow(parsed.command);
    for (const CliOption option : command.withLineNumbers)
        if (given(optionRow(option), parsed) && !takesOption(command, option, lineNumbers))
            return refusal(option);
    return std::nullopt;
}

std::optional<CliOption> standAloneOption(const std::vector<std::string>& args) {
    for (const std::string& arg : args)
        for (const OptionRow& row : optionTable())
            if (std::holds_alternative<std::monostate>(row.field) &&
                (arg == row.spelling || (!row.alias.empty() && arg == row.alias)))
                return row.option;
    return std::nullopt;
}

std::optional<std::string> parseArguments(const std::vector<std::string>& args, Arguments& parsed) {
    std::string command;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (const OptionRow* row = optionNamed(arg)) {
            if (std::holds_alternative<bool Arguments::*>(row->field)) {
                parsed.*std::get<bool Arguments::*>(row->field) = true;
                continue;
            }
            if (const auto field = std::get_if<std::optional<bool> Arguments::*>(&row->field)) {
                if ((parsed.**field).value_or(row->setsTo) != row->setsTo)
                    return contradiction(row->option);
                parsed.** field = row->setsTo;
                continue;
            }
            // The value follows the '=', or is the next argument.
            std::string value;
            if (arg.size() > row->spelling.size())
                value = arg.substr(row->spelling.size() + 1);
            else if (i + 1 < args.size())
                value = args[++i];
            else if (std::holds_alternative<std::optional<int> Arguments::*>(row->field))
                return std::string(row->spelling) + " needs a number";
            if (auto problem = takeValue(*row, value, parsed))
                return problem;
        } else if (arg.starts_with("--") && arg != "--") {
            return "unknown option " + arg;
        } else if (command.empty()) {
            command = arg;
        } else if (parsed.project.empty()) {
            parsed.project = arg;
        } else {
            return "too many arguments";
        }
    }
    if (command.empty())
        return "no command given";
    const std::span<const CommandRow> commands = commandTable();
    const auto named = std::find_if(commands.begin(), commands.end(),
                                    [&](const CommandRow& row) { return row.name == command; });
    if (named == commands.end())
        return "unknown command " + command;
    parsed.command = named->command;
    if (parsed.project.empty())
        return "no project file given";
    return misplacedOption(parsed);
}

} // namespace faultward
