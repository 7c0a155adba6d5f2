#include "cli/arguments.h"

#include "rewrite/line_number_rule.h"

#include <array>
#include <charconv>
#include <initializer_list>
#include <string_view>
#include <utility>

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

std::optional<int> parseMode(std::string_view text) {
    return parseWhole(text, -32768, 32767);
}

// A comma-separated list of words, each naming one or more kinds ("all"
// names every kind).
template <typename Kind, std::size_t N>
std::optional<KindSet<Kind>>
parseKinds(std::string_view text, const std::array<std::pair<std::string_view, Kind>, N>& words,
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

constexpr std::array<std::pair<std::string_view, ProcedureKind>, 3> kProcedureWords = {{
    {"sub", ProcedureKind::Sub},
    {"function", ProcedureKind::Function},
    {"property", ProcedureKind::Property},
}};

constexpr std::array<std::pair<std::string_view, SourceKind>, 4> kSourceWords = {{
    {"form", SourceKind::Form},
    {"module", SourceKind::Module},
    {"class", SourceKind::Class},
    {"usercontrol", SourceKind::UserControl},
}};

bool oneOf(const std::string& command, std::initializer_list<std::string_view> commands) {
    for (const std::string_view name : commands)
        if (command == name)
            return true;
    return false;
}

// Which commands each option applies to, checked once the command is known.
std::optional<std::string> misplacedOption(const Arguments& parsed) {
    const std::string& command = parsed.command;
    const bool numbers = oneOf(command, {"number", "unnumber"}) || parsed.lineNumbers;
    // check takes insert's options, so that it judges the procedures that
    // insertion leaves alone as insertion does.
    if (parsed.mode && !oneOf(command, {"insert", "check"}))
        return "--mode applies to insert and check only";
    if (parsed.lineNumbers && !oneOf(command, {"insert", "remove"}))
        return "--line-numbers applies to insert and remove only";
    if ((parsed.start || parsed.step) && !(command == "number" || (command == "insert" && numbers)))
        return std::string(parsed.start ? "--start" : "--step") +
               " applies to number and insert --line-numbers only";
    if (parsed.jobs && !oneOf(command, {"insert", "remove", "number", "unnumber"}))
        return "--jobs applies to insert, remove, number and unnumber only";
    if (parsed.templateFile && !oneOf(command, {"insert", "check"}))
        return "--template applies to insert and check only";
    if (parsed.skipHandled && !oneOf(command, {"insert", "check"}))
        return "--skip-handled applies to insert and check only";
    if (parsed.procedures && !oneOf(command, {"insert", "check"}) && !numbers)
        return "--procedures applies to insert, check, number, unnumber and remove "
               "--line-numbers only";
    if ((parsed.dryRun || parsed.output) &&
        !oneOf(command, {"insert", "remove", "number", "unnumber"}))
        return std::string(parsed.dryRun ? "--dry-run" : "--output") +
               " applies to insert, remove, number and unnumber only";
    if ((parsed.clean || parsed.handled) && command != "check")
        return std::string(parsed.clean ? "--clean" : "--handled") + " applies to check only";
    if (parsed.diff && !parsed.dryRun)
        return "--diff goes with --dry-run";
    if (parsed.dryRun && parsed.output)
        return "--dry-run writes nothing, so it cannot go with --output";
    if (parsed.mode && parsed.templateFile)
        return "--mode and --template both choose the handler lines; give one";
    return std::nullopt;
}

} // namespace

std::optional<std::string> parseArguments(const std::vector<std::string>& args, Arguments& parsed) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        // An option with a value takes it from "--name=value" or the next argument.
        std::string value;
        bool missing = false;
        const auto takesValue = [&](std::string_view name) {
            const std::string prefix = std::string(name) + "=";
            if (arg.starts_with(prefix)) {
                value = arg.substr(prefix.size());
                return true;
            }
            if (arg != name)
                return false;
            missing = i + 1 >= args.size();
            if (!missing)
                value = args[++i];
            return true;
        };
        if (takesValue("--mode")) {
            if (missing)
                return "--mode needs a number";
            parsed.mode = parseMode(value);
            if (!parsed.mode)
                return "--mode needs a whole number from -32768 to 32767, not '" + value + "'";
        } else if (takesValue("--jobs")) {
            if (missing)
                return "--jobs needs a number";
            parsed.jobs = parseWhole(value, 1, kMaxJobs);
            if (!parsed.jobs)
                return "--jobs needs a whole number from 1 to " + std::to_string(kMaxJobs) +
                       ", not '" + value + "'";
        } else if (takesValue("--start") || takesValue("--step")) {
            const bool start = arg.starts_with("--start");
            const std::string name = start ? "--start" : "--step";
            if (missing)
                return name + " needs a number";
            std::optional<int>& number = start ? parsed.start : parsed.step;
            number = parseWhole(value, 1, kHighestLineNumber);
            if (!number)
                return name + " needs a whole number from 1 to " +
                       std::to_string(kHighestLineNumber) + ", not '" + value + "'";
        } else if (takesValue("--procedures")) {
            parsed.procedures = parseKinds(value, kProcedureWords, kAllProcedureKinds);
            if (!parsed.procedures)
                return "--procedures takes sub, function, property or all, separated by "
                       "commas, not '" +
                       value + "'";
        } else if (takesValue("--kinds")) {
            parsed.kinds = parseKinds(value, kSourceWords, kAllSourceKinds);
            if (!parsed.kinds)
                return "--kinds takes form, module, class, usercontrol or all, separated by "
                       "commas, not '" +
                       value + "'";
        } else if (takesValue("--template")) {
            if (value.empty())
                return "--template needs a file";
            parsed.templateFile = value;
        } else if (takesValue("--output")) {
            if (value.empty())
                return "--output needs a folder";
            parsed.output = value;
        } else if (arg == "--line-numbers") {
            parsed.lineNumbers = true;
        } else if (arg == "--skip-handled") {
            parsed.skipHandled = true;
        } else if (arg == "--dry-run") {
            parsed.dryRun = true;
        } else if (arg == "--diff") {
            parsed.diff = true;
        } else if (arg == "--clean") {
            parsed.clean = true;
        } else if (arg == "--handled") {
            parsed.handled = true;
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
    if (!oneOf(parsed.command, {"list", "insert", "remove", "check", "number", "unnumber"}))
        return "unknown command " + parsed.command;
    if (parsed.project.empty())
        return "no project file given";
    return misplacedOption(parsed);
}

} // namespace faultward
