#!/usr/bin/env python3
"""Runs the Linux and the Windows faultward-cli on the same projects and
compares what they leave and say.

Usage: compare_cli.py LINUX_BUILD WINDOWS_BUILD

Each program works on its own copy of a generated project, a project of edge
cases, Office documents and a folder of exported modules, with its own
ERRH.ini beside it. After every command the two
copies must hold the same files with the same bytes and the same read-only
state, and the two runs must give the same exit status and the same bytes on
stderr; stdout may differ only in its line ends. The Windows program runs
under WINDOWS_BUILD/wine-run.
"""

import os
import re
import shutil
import stat
import subprocess
import sys
from pathlib import Path

SETTINGS = b"[OS]\r\nError_Flag=2\r\n"

VB6_COMMANDS = [
    ["list", "App.vbp"],
    ["insert", "--mode", "0", "App.vbp"],
    ["insert", "App.vbp"],  # the mode stored beside the program
    ["insert", "--mode", "1", "App.vbp"],
    ["insert", "--dry-run", "--diff", "--procedures", "all", "App.vbp"],
    ["check", "--handled", "App.vbp"],
    ["remove", "App.vbp"],
    ["remove", "App.vbp"],
    ["insert", "--template", "template.txt", "--procedures", "all", "--kinds", "all", "App.vbp"],
    ["remove", "--kinds", "all", "App.vbp"],
    ["number", "--procedures", "all", "--start", "5", "App.vbp"],
    ["check", "--procedures", "all", "App.vbp"],
    ["insert", "--mode", "0", "--line-numbers", "App.vbp"],
    ["remove", "--line-numbers", "App.vbp"],
    ["unnumber", "--procedures", "all", "App.vbp"],
    ["list", "Missing.vbp"],
    ["frobnicate", "App.vbp"],
]


def vba_commands(project):
    """What is run on an Office document or a folder of exported modules."""
    return [
        ["list", "--kinds", "all", project],
        ["insert", "--kinds", "all", "--procedures", "all", project],
        ["check", "--kinds", "all", "--procedures", "all", project],
        ["insert", "--dry-run", "--diff", "--mode", "1", "--kinds", "all", project],
        ["number", "--kinds", "all", "--procedures", "all", "--start", "5", project],
        ["insert", "--template", "template.txt", "--kinds", "module,document", project],
        ["remove", "--kinds", "all", "--line-numbers", "--procedures", "all", project],
        ["init", "--kinds", "module,class", "--mode", "1", project],
        ["insert", project],
        ["remove", project],
    ]


# The projects compared, each with the commands run on it, in order.
PROJECTS = {
    "generated": VB6_COMMANDS,
    "edge": VB6_COMMANDS,
    "workbook": vba_commands("Book.xlsm") + vba_commands("Old.xls") + [
        ["list", "Locked.docm"],
        ["list", "Data.accdb"],
        ["insert", "Signed.docm"],
        ["insert", "--drop-signature", "Signed.docm"],
    ],
    "modules": vba_commands("."),
}

OFFICE_FIXTURES = Path(__file__).resolve().parents[1] / "office" / "fixtures"


def crlf(*lines):
    return b"".join(line + b"\r\n" for line in lines)


def write(root, name, data):
    path = root / name
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(data)
    return path


def make_edge_project(root):
    """A project whose entries and files hold every case the two systems
    could treat differently."""
    sub = crlf(b"Sub A()", b"    x = 1", b"End Sub")
    write(root, "MixedCase.BAS", sub)  # named in another letter case
    write(root, "sub/Form1.frm", crlf(b"Private Sub Form_Load()", b"End Sub"))
    write(root, "sub/other.bas", sub)
    write(root, "caf\u00e9.bas", sub)  # named in code page 1252 by the project
    write(root, "lf_only.bas", b"Sub B()\n    y = 2\nEnd Sub\n")
    write(root, "lone_cr.bas", b"Sub C()\r    z = 3\rEnd Sub\r\nSub D()\r\nEnd Sub\r\n")
    write(root, "ctrl_z.bas", b"Sub E()\r\n\x1a\r\nEnd Sub\r\n\x1a")
    write(root, "nul_bytes.bas", b"Sub F()\r\n  s = \"\x00\"\r\nEnd Sub\r\n\x00")
    write(root, "no_final_break.bas", b"Sub G()\r\nEnd Sub")
    write(root, "empty.bas", b"")
    write(root, "marked.bas", crlf(b"Sub H()", b"x  '~Faultward~", b"End Sub"))
    long_file = b"Sub Big()\r\n" + b"    n = n + 1\r\n" * 32001 + b"End Sub\r\n"
    write(root, "big.bas", long_file)
    locked = write(root, "readonly.bas", sub)
    locked.chmod(0o444)
    (root / "folder.frm").mkdir()
    # Looks like what a killed run leaves, but no journal of the user's names
    # it: both systems name it and keep it.
    write(root, ".marked.bas.faultward-999999999.tmp", b"half")
    write(root, "App.vbp", crlf(
        b"Type=Exe",
        b"Module=M; mixedCASE.bas",
        b"Form=Sub\\FORM1.frm",
        b"Module=O; sub/other.bas",
        b"Module=A; caf\xe9.bas",
        b"Module=B; lf_only.bas",
        b"Module=C; lone_cr.bas",
        b"Module=D; ctrl_z.bas",
        b"Module=E; nul_bytes.bas",
        b"Module=F; no_final_break.bas",
        b"Module=G; empty.bas",
        b"Module=H; ..\\edge\\marked.bas",
        b"Module=I; big.bas",
        b"Module=J; readonly.bas",
        b"Form=folder.frm",
        b"Module=K; missing.bas",
        b"Module=L; MIXEDcase.bas",
    ))


def make_workbook_project(root, linux_build):
    """Office documents: the workbooks LibreOffice wrote, a Word document
    with a signed project and one locked for viewing (the tests' own writer
    makes them), and an Access database, which is refused."""
    root.mkdir(parents=True)
    shutil.copy(OFFICE_FIXTURES / "libreoffice_book.xlsm", root / "Book.xlsm")
    shutil.copy(OFFICE_FIXTURES / "libreoffice_book.xls", root / "Old.xls")
    subprocess.run([str(linux_build / "faultward-document-samples"), "--documents", str(root)],
                   check=True, capture_output=True)
    write(root, "Data.accdb", b"\0\1\0\0Standard ACE DB\0")


def make_modules_project(root):
    """A folder of modules exported from a workbook: a module, a class, a
    document module and a form with its .frx, and what else such a folder
    holds."""
    write(root, "Module1.bas", crlf(b'Attribute VB_Name = "Module1"', b"Sub Save()",
                                    b"    Beep", b"End Sub", b"Function Total() As Long",
                                    b"    Total = 1", b"End Function"))
    write(root, "Class1.cls", crlf(b"VERSION 1.0 CLASS", b"BEGIN", b"  MultiUse = -1  'True",
                                   b"END", b'Attribute VB_Name = "Class1"',
                                   b"Public Sub Go()", b"End Sub"))
    write(root, "ThisWorkbook.cls", crlf(
        b"VERSION 1.0 CLASS", b"BEGIN", b"  MultiUse = -1  'True", b"END",
        b'Attribute VB_Name = "ThisWorkbook"',
        b'Attribute VB_Base = "0{00020819-0000-0000-C000-000000000046}"',
        b"Private Sub Workbook_Open()", b"End Sub"))
    write(root, "UserForm1.frm", crlf(
        b"VERSION 5.00", b"Begin {C62A69F0-16DC-11CE-9E98-00AA00574A4F} UserForm1",
        b'   Caption         =   "Sub Main()"', b'   OleObjectBlob   =   "UserForm1.frx":0000',
        b"End", b'Attribute VB_Name = "UserForm1"', b"Private Sub UserForm_Click()",
        b"End Sub"))
    write(root, "UserForm1.frx", b"\0\1\2")
    write(root, "notes.txt", b"not a module")
    write(root, "old/Module1.bas", crlf(b"Sub Old()", b"End Sub"))


def tree(root):
    """Every file and folder below root: its kind, read-only state and bytes."""
    found = {}
    for folder, folders, files in os.walk(root):
        for name in folders + files:
            path = Path(folder) / name
            relative = path.relative_to(root).as_posix()
            info = path.lstat()
            read_only = (info.st_mode & 0o222) == 0
            if stat.S_ISDIR(info.st_mode):
                found[relative] = ("folder", read_only, b"")
            else:
                found[relative] = ("file", read_only, path.read_bytes())
    return found


def run(command, cwd):
    done = subprocess.run(command, cwd=cwd, stdin=subprocess.DEVNULL,
                          capture_output=True, timeout=300)
    return done.returncode, done.stdout, done.stderr


def describe_difference(linux, windows):
    lines = []
    for name in sorted(set(linux) | set(windows)):
        if name not in windows:
            lines.append(f"  only after Linux: {name}")
        elif name not in linux:
            lines.append(f"  only after Windows: {name}")
        elif linux[name] != windows[name]:
            kind_l, ro_l, data_l = linux[name]
            kind_w, ro_w, data_w = windows[name]
            lines.append(f"  differs: {name} (Linux {kind_l}, read-only {ro_l}, "
                         f"{len(data_l)} bytes; Windows {kind_w}, read-only {ro_w}, "
                         f"{len(data_w)} bytes)")
    return "\n".join(lines)


# A dry run names each file by its path. Linux finds a file named in another
# letter case under the name its folder holds; Windows opens it under the
# name the project gives, and the report keeps that spelling. The edge
# project names files so, and leaves dry runs out.
DRY_RUN_NAMES_DIFFER = {"edge"}


# Each program names the ERRH.ini beside it by that system's path to it.
SETTINGS_FILE_NAMED = re.compile(rb"settings from .*?ERRH\.ini")


def without_settings_path(err):
    return SETTINGS_FILE_NAMED.sub(b"settings from ERRH.ini", err)


def without_folder(err, folder, system):
    """Each program names what it found beside the files (a temporary left
    there) by its own path to it: the project's copy, in its system's form."""
    native = str(folder).encode()
    if system == "windows":
        native = b"Z:" + native.replace(b"/", b"\\")
    err = err.replace(native, b"<folder>")
    return re.sub(rb"<folder>[^ \n]*", lambda m: m.group(0).replace(b"\\", b"/"), err)


def compare(name, source, work, programs):
    copies = {}
    for system in programs:
        copies[system] = work / system / name
        shutil.copytree(source, copies[system], symlinks=True)
    for args in PROJECTS[name]:
        if "--dry-run" in args and name in DRY_RUN_NAMES_DIFFER:
            continue
        results = {system: run(program + args, copies[system])
                   for system, program in programs.items()}
        (code_l, out_l, err_l), (code_w, out_w, err_w) = results["linux"], results["windows"]
        what = f"{name}: faultward-cli {' '.join(args)}"
        problems = []
        if code_l != code_w:
            problems.append(f"  exit status: Linux {code_l}, Windows {code_w}")
        err_l = without_folder(err_l, copies["linux"], "linux")
        err_w = without_folder(err_w, copies["windows"], "windows")
        if without_settings_path(err_l) != without_settings_path(err_w):
            problems.append(f"  stderr:\n    Linux   {err_l!r}\n    Windows {err_w!r}")
        # init prints the settings file's path, each system's own.
        out_l = without_folder(out_l, copies["linux"], "linux")
        out_w = without_folder(out_w, copies["windows"], "windows")
        if out_l.replace(b"\r\n", b"\n") != out_w.replace(b"\r\n", b"\n"):
            problems.append(f"  stdout:\n    Linux   {out_l!r}\n    Windows {out_w!r}")
        trees = {system: tree(copies[system]) for system in programs}
        if trees["linux"] != trees["windows"]:
            problems.append("  trees:\n" + describe_difference(trees["linux"], trees["windows"]))
        if problems:
            print(f"{what}: the two systems differ", file=sys.stderr)
            print("\n".join(problems), file=sys.stderr)
            return False
        print(f"  {what}: exit {code_l}, {len(err_l)} bytes on stderr, trees equal")
    return True


def main():
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    linux_build = Path(sys.argv[1]).resolve()
    windows_build = Path(sys.argv[2]).resolve()
    work = windows_build / "compare"
    if work.exists():
        for folder, _, files in os.walk(work):
            for name in files:
                (Path(folder) / name).chmod(0o644)
        shutil.rmtree(work)
    work.mkdir(parents=True)

    # Each program beside its own settings, away from the build folders'.
    programs = {}
    for system, built, exe in (("linux", linux_build, "faultward-cli"),
                               ("windows", windows_build, "faultward-cli.exe")):
        folder = work / f"{system}-bin"
        folder.mkdir()
        shutil.copy2(built / exe, folder / exe)
        (folder / "ERRH.ini").write_bytes(SETTINGS)
        programs[system] = [str(folder / exe)]
    programs["windows"].insert(0, str(windows_build / "wine-run"))

    sources = work / "sources"
    generated = subprocess.run(
        [str(linux_build / "faultward-generate-project"), str(sources / "generated"),
         "--files", "24", "--lines", "300", "--seed", "13"],
        check=True, capture_output=True).stdout.decode().strip()
    Path(generated).rename(sources / "generated" / "App.vbp")
    make_edge_project(sources / "edge")
    make_workbook_project(sources / "workbook", linux_build)
    make_modules_project(sources / "modules")
    template = Path(__file__).resolve().parents[2] / "resources" / "templates" / "mode0-message-box.txt"
    for name in PROJECTS:
        shutil.copy(template, sources / name / "template.txt")

    ok = all(compare(name, sources / name, work, programs) for name in PROJECTS)
    print("compare: Linux and Windows faultward-cli " + ("agree" if ok else "DIFFER"))
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
