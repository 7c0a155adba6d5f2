#pragma once

namespace faultward {

// The commands of the File menu and the tool row: open a project, group or
// document, open a folder of modules, insert, remove, exit, help, add and remove line numbers,
// preview the insertion and check the project. Their values are the numbers the menu items and
// buttons carry (mnu_f_2, cmd_tbl_2). A number that names none of them is a command too: it only
// plays the click.
enum class Command {
    Open = 0,
    Insert = 2,
    Remove = 4,
    Exit = 6,
    Help = 7,
    AddLineNumbers = 9,
    RemoveLineNumbers = 10,
    Preview = 12,
    Check = 13,
    OpenFolder = 15,
};

constexpr int commandNumber(Command command) {
    return static_cast<int>(command);
}

constexpr Command commandOfNumber(int number) {
    return static_cast<Command>(number);
}

} // namespace faultward
