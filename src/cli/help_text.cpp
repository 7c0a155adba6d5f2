#include "cli/help_text.h"

#include "cli/command_table.h"

#include <algorithm>
#include <string_view>

namespace faultward {
namespace {

constexpr std::string_view kAbout =
    "Gives every Sub of a Visual Basic project's forms (.frm) and modules (.bas) a\n"
    "run-time error trap and handler block, or takes them out again. Every added\n"
    "line ends with the marker comment '~Faultward~. Every command also takes a\n"
    "project group (.vbg) and works on each project it names, in order, each\n"
    "once:   faultward-cli list All.vbg\n"
    "\n"
    "A project is also an Office document with macros (.xlsm .xlsb .xltm .xlam\n"
    ".docm .dotm .pptm .potm .ppsm .ppam, and .xls .xla .xlt .doc .dot), whose VBA\n"
    "modules are rewritten inside it (settings in Book.xlsm.faultward beside it),\n"
    "or a folder of modules exported from one (its own .bas, .cls and .frm files,\n"
    "not those of the folders in it; settings in FOLDER/.faultward):\n"
    "  faultward-cli insert Book.xlsm     faultward-cli list Export\n";

constexpr std::string_view kClosing =
    "Files are found relative to the project's folder; backslashes and letter case\n"
    "are handled as Windows would. Files are rewritten through a temporary file, so\n"
    "a file is never left half written. Each run notes its temporaries in a journal\n"
    "in the user's state folder ($XDG_STATE_HOME/faultward,\n"
    "~/.local/state/faultward; %LOCALAPPDATA%\\Faultward on Windows): only what a run\n"
    "of the user's that was cut short left is cleared or put back by the next\n"
    "command that writes, and only where the file is as that run left it. Other\n"
    "files named like them are named on stderr and never touched. Progress is shown\n"
    "on stderr when it is a terminal; files that could not be processed, and files\n"
    "too long for all their handlers, are reported on stderr.\n"
    "\n"
    "Settings: an option given wins; then the project's own settings file,\n"
    "NAME.faultward beside the project or group file (see init;\n"
    "--no-project-settings leaves it out); then the user's ERRH.ini, the desktop\n"
    "program's Handler Settings and mode (--no-settings leaves it out); then the\n"
    "built-in defaults. The settings files used, and the settings of theirs that\n"
    "change what a command does, are named on stderr. The files and procedures\n"
    "that the [Leave] section of the project's file lists are left as they are\n"
    "by every command:\n"
    "  [Leave]\n"
    "  Modules\\modLegacy.bas       a file, as the project names it\n"
    "  frmMain.frm:Form_Load        a procedure of a file (* and ? match any)\n"
    "\n"
    "Exit status:\n"
    "  0  every file was processed\n"
    "  1  some file could not be processed (each is named on stderr), a file was\n"
    "     too long for all its handlers, the --output copy is not the whole\n"
    "     project, or check found what --clean or --handled forbid\n"
    "  2  bad usage, the project file could not be read, or a group names a group\n"
    "  3  the command would write files outside the project's folder (or copy them\n"
    "     with --output) without --allow-outside, and wrote nothing\n";

// A synopsis wraps before a word would reach the 79th column.
constexpr std::size_t kSynopsisWidth = 78;
// Where the descriptions of commands and of options start.
constexpr std::size_t kCommandColumn = 11;
constexpr std::size_t kOptionColumn = 12;

std::string label(const OptionRow& row) {
    std::string text(row.spelling);
    if (!row.valueName.empty())
        text += " " + std::string(row.valueName);
    return text;
}

bool conflicting(CliOption first, CliOption second) {
    const std::span<const OptionConflict> conflicts = optionConflicts();
    return std::any_of(conflicts.begin(), conflicts.end(), [&](const OptionConflict& conflict) {
        return conflict.first == first && conflict.second == second;
    });
}

// "--line-numbers [--start N] [--step N]": an option with those that the
// command takes only along with it.
std::string withDependents(const CommandRow& command, CliOption option) {
    std::vector<CliOption> dependents;
    if (option == CliOption::LineNumbers)
        dependents = command.withLineNumbers;
    for (const CliOption other : command.options)
        if (optionRow(other).goesWith == option)
            dependents.push_back(other);
    std::string text = label(optionRow(option));
    for (const CliOption dependent : dependents)
        text += " [" + label(optionRow(dependent)) + "]";
    return text;
}

// "  faultward-cli remove [--kinds LIST] ... PROJECT.vbp", wrapped; an option
// followed by one it cannot go with shares its brackets: "[--mode N | --template FILE]".
std::string synopsis(const CommandRow& command) {
    std::vector<CliOption> shown;
    for (const CliOption option : command.options)
        if (!optionRow(option).goesWith)
            shown.push_back(option);
    std::vector<std::string> items;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        std::string item = "[" + withDependents(command, shown[i]);
        if (i + 1 < shown.size() && conflicting(shown[i], shown[i + 1]))
            item += " | " + withDependents(command, shown[++i]);
        items.push_back(item + "]");
    }
    items.emplace_back("PROJECT.vbp");

    const std::string head = "  faultward-cli " + std::string(command.name);
    std::string text;
    std::string line = head;
    const auto add = [&](std::string_view word) {
        if (line.size() + 1 + word.size() > kSynopsisWidth) {
            text += line + "\n";
            line = std::string(head.size(), ' ');
        }
        line += ' ';
        line += word;
    };
    for (const std::string& item : items) {
        if (head.size() + 1 + item.size() <= kSynopsisWidth) {
            add(item);
            continue;
        }
        // Too wide for any line: it breaks before its inner brackets and its "|".
        std::size_t start = 0;
        for (std::size_t at = 1; at < item.size(); ++at)
            if (item[at - 1] == ' ' && (item[at] == '[' || item[at] == '|')) {
                add(std::string_view(item).substr(start, at - 1 - start));
                start = at;
            }
        add(std::string_view(item).substr(start));
    }
    return text + line + "\n";
}

// A term and its description, which starts beside the term when there is room
// and below it when not; its further lines line up beneath its first.
std::string described(std::string_view term, std::string_view lines, std::size_t column) {
    std::string text = "  " + std::string(term);
    if (text.size() < column)
        text.resize(column, ' ');
    else
        text += "\n" + std::string(column, ' ');
    for (std::size_t start = 0, end = 0; start < lines.size(); start = end + 1) {
        end = lines.find('\n', start);
        if (start > 0)
            text += std::string(column, ' ');
        text += std::string(lines.substr(start, end - start)) + "\n";
    }
    return text;
}

} // namespace

std::string helpText() {
    std::string text = "Usage:\n";
    for (const CommandRow& command : commandTable())
        text += synopsis(command);
    for (const OptionRow& row : optionTable())
        if (std::holds_alternative<std::monostate>(row.field))
            text += "  faultward-cli " + std::string(row.spelling) + "\n";
    text += "\n" + std::string(kAbout) + "\nCommands:\n";
    for (const CommandRow& command : commandTable())
        text += described(command.name, command.summary, kCommandColumn);
    text += "\nOptions:\n";
    for (const OptionRow& row : optionTable())
        if (!row.help.empty())
            text += described(label(row), row.help, kOptionColumn);
    return text + "\n" + std::string(kClosing);
}

} // namespace faultward
