#pragma once

#include <string_view>

namespace faultward {

inline constexpr std::string_view kUsage =
    R"(Usage:
  faultward-cli list [--kinds LIST] PROJECT.vbp
  faultward-cli insert [--mode N] [--procedures LIST] [--kinds LIST]
                       [--skip-handled] [--template FILE] [--jobs N]
                       [--line-numbers [--start N] [--step N]]
                       [--dry-run [--diff] | --output DIR] PROJECT.vbp
  faultward-cli remove [--kinds LIST] [--jobs N]
                       [--line-numbers [--procedures LIST]]
                       [--dry-run [--diff] | --output DIR] PROJECT.vbp
  faultward-cli check [--procedures LIST] [--kinds LIST] [--skip-handled]
                      [--mode N | --template FILE] [--clean] [--handled]
                      PROJECT.vbp
  faultward-cli number [--start N] [--step N] [--procedures LIST]
                       [--kinds LIST] [--jobs N]
                       [--dry-run [--diff] | --output DIR] PROJECT.vbp
  faultward-cli unnumber [--procedures LIST] [--kinds LIST] [--jobs N]
                         [--dry-run [--diff] | --output DIR] PROJECT.vbp
  faultward-cli --help
  faultward-cli --version

Gives every Sub of a Visual Basic project's forms (.frm) and modules (.bas) a
run-time error trap and handler block, or takes them out again. Every added
line ends with the marker comment '~Faultward~. Every command also takes a
project group (.vbg) and works on each project it names, in order, each
once:   faultward-cli list All.vbg

Commands:
  list     Print the project's form and module files, one a line, in the
           order they are processed (sorted without regard to letter case).
  insert   Remove earlier handlers, then insert new ones into every file:
           each file is read once and written once at most, not at all
           when it already holds exactly the handlers it would get.
  remove   Remove every line that holds the marker comment from every file.
  check    Report, for each file, its marked lines and the procedures whose
           body holds no On Error statement; writes nothing. Procedures that
           insert leaves alone on purpose are listed with the reason and not
           counted as without a trap: one-line procedures, those whose end is
           not an End Sub line of its own (indented, in other letter case,
           after a colon, past line 32000), those that already define the
           handler's label, and with --skip-handled those with an On Error of
           their own. Give check the options insert was given. It also tells
           how many procedures hold line numbers when any do.
  number   Give the body lines of every procedure line numbers, for the Erl
           function: a number and a space before each statement line, not
           before blank, comment, label, continued, Case, #If or Attribute
           lines, nor before the marked lines. Numbering starts again in each
           procedure, and numbers the procedure afresh when it has numbers.
           A procedure in which a GoTo, GoSub, Resume, Then or Else names a
           line number, that would need numbers above 65529, or whose end is
           unclear, is left as it was and named on stderr.
  unnumber Take the line numbers out of every procedure, each with the one
           space after it; number then unnumber gives the files back byte for
           byte. Procedures whose numbers a jump names are left as they were
           and named on stderr.

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
  --procedures LIST
            Which procedures insert, check, number and unnumber handle (and
            remove with --line-numbers): sub, function, property
            or all, separated by commas (default sub). A Function's block
            leaves with EXIT FUNCTION, a Property Get/Let/Set's with EXIT
            PROPERTY.   insert --procedures sub,function App.vbp
  --kinds LIST
            Which files of the project: form, module, class, usercontrol or
            all, separated by commas (default form,module). Use the same kinds
            for remove as for insert.   insert --kinds all App.vbp
  --skip-handled
            Insert nothing into a procedure whose body already has an
            On Error statement of its own.   insert --skip-handled App.vbp
  --template FILE
            Take the trap and handler lines from a template file instead of
            the mode: a [trap] section and a [handler] section, lines starting
            with ';' are comments. {procedure}, {module}, {file}, {project} and
            {exit} are replaced; {{ and }} stand for braces. The marker is
            added to every line. A faulty template is refused and nothing is
            written.   insert --template release.txt App.vbp
  --line-numbers
            With insert, number the procedures afresh in the same read and
            write (the files end as after insert, then number); with remove,
            take their line numbers out with the marked lines.
              insert --line-numbers --template erl-message-box.txt App.vbp
  --start N The first line number of each procedure, 1 to 65529 (default 10).
  --step N  From one line number to the next, 1 to 65529 (default 10).
              number --start 100 --step 5 App.vbp
  --jobs N  How many files insert, remove, number and unnumber work on at a
            time, 1 to 64 (default one a core). The files come out the same,
            and are reported in list order, whatever the number.
              remove --jobs 1 App.vbp
  --dry-run Write nothing; print one line a file that would change with the
            numbers of lines added and removed ("Module1.bas: +12 -0").
  --diff    With --dry-run, print the changes as a unified diff instead, as
            diff -u would, for patch -p1 in the project's folder; when a
            changed file lies outside it, a line "folder: PATH" first names
            the folder to patch in.   insert --dry-run --diff App.vbp | less
  --output DIR
            Leave the sources as they are and write the processed project into
            DIR: the project file and every file it names (a form's .frx too,
            and every companion its designer block names), processed or not,
            in the same layout. DIR must be empty or missing and outside the
            project's folder. Prints the copy's project file. A copy that fails
            part-way is removed again and nothing is processed.
              insert --kinds all --output ../release App.vbp
  --clean   check exits 1 when any marked line is left.
              check --clean App.vbp
  --handled check exits 1 when any procedure of the chosen kinds has no trap
            and is not one that insert leaves alone.
              check --handled --procedures all App.vbp

Files are found relative to the project's folder; backslashes and letter case
are handled as Windows would. Files are rewritten through a temporary file, so
a file is never left half written. Progress is shown on stderr when it is a
terminal; files that could not be processed, and files too long for all their
handlers, are reported on stderr.

Exit status:
  0  every file was processed
  1  some file could not be processed (each is named on stderr), a file was
     too long for all its handlers, the --output copy is not the whole
     project, or check found what --clean or --handled forbid
  2  bad usage, the project file could not be read, or a group names a group
)";

} // namespace faultward
