#pragma once

#include "cli/arguments.h"

#include <optional>
#include <span>
#include <string_view>
#include <variant>
#include <vector>

namespace faultward {

// Where an option's value goes. The field's type says how the value is read:
// a switch sets a bool, a number must lie in the option's range, a list is
// read word by word, a path must not be empty. --help and --version go
// nowhere: they are answered before anything is parsed.
using ArgumentField =
    std::variant<std::monostate, bool Arguments::*, std::optional<bool> Arguments::*,
                 std::optional<int> Arguments::*, std::optional<std::string> Arguments::*,
                 std::optional<ProcedureKinds> Arguments::*,
                 std::optional<SourceKinds> Arguments::*>;

struct OptionRow {
    CliOption option = {};
    std::string_view spelling = {};  // "--mode"; a value follows as "--mode 1" or "--mode=1"
    std::string_view valueName = {}; // what the help calls the value; empty for a switch
    ArgumentField field = {};
    int low = 0; // a number's range
    int high = 0;
    std::string_view valueNoun = {};            // what an empty path should have been
    std::optional<CliOption> goesWith = {};     // the option without which it means nothing
    std::string_view alias = {};                // another spelling the help does not show
    bool setsTo = true;                         // what a switch of two spellings sets
    std::vector<std::string_view> choices = {}; // the words a value may be, when only some may
    std::string_view help = {};                 // lines ending in '\n'; none for --help itself
};

struct CommandRow {
    CliCommand command;
    std::string_view name;
    std::vector<CliOption> options;         // in the order its synopsis shows them
    std::vector<CliOption> withLineNumbers; // taken only along with --line-numbers
    std::string_view summary;               // lines ending in '\n'
};

// Two options that cannot be given together, and what the user is told.
struct OptionConflict {
    CliOption first;
    CliOption second;
    std::string_view message;
};

// Every command, in the help's order.
std::span<const CommandRow> commandTable();
// Every option, in the help's order.
std::span<const OptionRow> optionTable();
std::span<const OptionConflict> optionConflicts();
// The options some commands refuse, in the order they are checked: when
// several are out of place, the first of them is the one named.
std::span<const CliOption> refusalOrder();

const OptionRow& optionRow(CliOption option);
const CommandRow& commandRow(CliCommand command);

// Whether the command takes the option, given --line-numbers or not.
bool takesOption(const CommandRow& command, CliOption option, bool lineNumbers);

} // namespace faultward
