#!/usr/bin/python3
"""Opens each document office-write-samples writes in LibreOffice, headless,
and wants its VBA import to give back every module's source as it was meant.

LibreOffice's import changes the text in ways of its own, which are allowed
for and nothing else: it drops the Attribute lines, puts two lines of its own
on top ("Rem Attribute VBA_ModuleType=..." and "Option VBASupport 1", and
"Option ClassModule" for a class), ends lines with a line feed alone, ends
the text with one more line feed, and decodes the code page (1252).

    libreoffice_read_back.py WRITER
"""
import os
import subprocess
import sys
import tempfile
import time

import uno
from com.sun.star.beans import PropertyValue


def prop(name, value):
    p = PropertyValue()
    p.Name = name
    p.Value = value
    return p


def as_libreoffice_reads(source):
    lines = source.decode("cp1252").split("\r\n")
    return "\n".join(line for line in lines if not line.startswith("Attribute "))


ADDED_ON_TOP = ("Rem Attribute VBA_ModuleType=", "Option VBASupport 1", "Option ClassModule")


def without_added_lines(text):
    lines = text.split("\n")
    while lines and lines[0].startswith(ADDED_ON_TOP):
        lines.pop(0)
    return "\n".join(lines)


def start_office(profile):
    port = 21000 + os.getpid() % 10000
    office = subprocess.Popen(
        ["soffice", "--headless", "--invisible", "--norestore", "--nologo",
         f"-env:UserInstallation=file://{profile}",
         f"--accept=socket,host=127.0.0.1,port={port};urp;"],
        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    local = uno.getComponentContext()
    resolver = local.ServiceManager.createInstanceWithContext(
        "com.sun.star.bridge.UnoUrlResolver", local)
    for _ in range(480):
        try:
            ctx = resolver.resolve(
                f"uno:socket,host=127.0.0.1,port={port};urp;StarOffice.ComponentContext")
            return office, ctx.ServiceManager.createInstanceWithContext(
                "com.sun.star.frame.Desktop", ctx)
        except Exception:
            time.sleep(0.25)
    office.kill()
    sys.exit("LibreOffice did not start")


def main():
    writer = sys.argv[1]
    failures = []
    checked = 0
    with tempfile.TemporaryDirectory() as folder:
        subprocess.run([writer, folder], check=True)
        profile = os.path.join(folder, "profile")
        office, desktop = start_office(profile)
        try:
            for case_file in sorted(f for f in os.listdir(folder) if f.endswith(".changed")):
                case = case_file[:-len(".changed")]
                document = os.path.join(folder, case + "." + case.split("_")[-1])
                doc = desktop.loadComponentFromURL(
                    uno.systemPathToFileUrl(document), "_blank", 0,
                    (prop("Hidden", True), prop("MacroExecutionMode", 0)))
                if doc is None:
                    failures.append(f"{case}: LibreOffice does not open it")
                    continue
                libraries = doc.BasicLibraries
                read = {}
                for library in libraries.getElementNames():
                    modules = libraries.getByName(library)
                    for module in modules.getElementNames():
                        read[module] = modules.getByName(module)
                expected_folder = os.path.join(folder, case + ".expected")
                for module in sorted(os.listdir(expected_folder)):
                    with open(os.path.join(expected_folder, module), "rb") as f:
                        meant = as_libreoffice_reads(f.read())
                    got = read.get(module)
                    if got is None:
                        failures.append(f"{case}: LibreOffice finds no module {module}")
                    # The line feed LibreOffice adds at the end.
                    elif without_added_lines(got) != meant + "\n":
                        failures.append(f"{case}: module {module} reads back as {got[:300]!r}, "
                                        f"not {meant[:300]!r}")
                doc.close(True)
                checked += 1
        finally:
            try:
                desktop.terminate()
            except Exception:
                pass
            try:
                office.wait(timeout=60)
            except subprocess.TimeoutExpired:
                office.kill()
    for f in failures:
        print(f)
    failed = len({f.split(":")[0] for f in failures})
    print(f"{checked - failed} passed, {failed} failed")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
