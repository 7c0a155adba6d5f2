#!/usr/bin/python3
"""Checks the documents office-write-samples writes with a reader of its own
(vba_reader: olefile and a decompressor written here): every module gives
the source meant, a changed one holds only its compressed source (offset 0),
_VBA_PROJECT is the header for writers, no __SRP_ stream is left, and every
other stream and part is as it was.

It also reads the compound files it writes of other shapes (sectors of 4096
bytes, a FAT that needs DIFAT sectors) and wants each stream's bytes.

    check_written_documents.py WRITER
"""
import os
import subprocess
import sys
import tempfile
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import vba_reader  # noqa: E402

VERSION_INDEPENDENT = bytes.fromhex("cc61ffff000000")


def check(folder, case, extension, failures):
    def fail(text):
        failures.append(f"{case}{extension}: {text}")

    written = os.path.join(folder, case + extension)
    original = os.path.join(folder, case + ".original" + extension)
    changed = open(os.path.join(folder, case + ".changed")).read().split()
    project = vba_reader.Project(written)
    before = vba_reader.Project(original)
    sources = project.sources()
    expected_folder = os.path.join(folder, case + ".expected")
    for name in os.listdir(expected_folder):
        expected = open(os.path.join(expected_folder, name), "rb").read()
        source, offset = sources.get(name, (None, None))
        if source != expected:
            fail(f"module {name} does not give the source meant")
        if name in changed and offset != 0:
            fail(f"changed module {name} has its source at {offset}")
    if project.stream("VBA", "_VBA_PROJECT") != VERSION_INDEPENDENT:
        fail("_VBA_PROJECT is not the header for writers")
    now = project.streams()
    was = before.streams()
    prefix = "/".join(project.prefix + ["VBA"]) + "/"
    for path, data in was.items():
        leaf = path.split("/")[-1]
        ours = path.startswith(prefix) and (leaf in changed or leaf in ("dir", "_VBA_PROJECT")
                                            or leaf.startswith("__SRP_"))
        if "\x05DigitalSignature" in path and case.startswith("signed"):
            if path in now:
                fail(f"signature {path} is still there")
            continue
        if ours:
            if leaf.startswith("__SRP_") and path in now:
                fail(f"{path} is still there")
            continue
        if now.get(path) != data:
            fail(f"stream {path} changed")
    if project.zip is not None:
        old = zipfile.ZipFile(original)
        names = [i.filename for i in project.zip.infolist()]
        kept = [i.filename for i in old.infolist()
                if not (case.startswith("signed") and "Signature" in i.filename)
                and not (case.startswith("signed") and i.filename.endswith("vbaProject.bin.rels"))]
        if names != kept:
            fail(f"the package's entries are {names}, not {kept}")
        for info in old.infolist():
            if info.filename in names and not info.filename.endswith(("vbaProject.bin",
                                                                      "[Content_Types].xml")):
                new = project.zip.getinfo(info.filename)
                if (project.zip.read(info.filename) != old.read(info.filename)
                        or new.date_time != info.date_time
                        or new.compress_type != info.compress_type):
                    fail(f"part {info.filename} changed")


def check_compound(folder, name, failures):
    ole = vba_reader.olefile.OleFileIO(os.path.join(folder, name + ".cfb"))
    streams = os.path.join(folder, name + ".streams")
    expected = sorted(os.listdir(streams))
    found = sorted("__".join(p) for p in ole.listdir())
    if found != expected:
        failures.append(f"{name}.cfb: olefile finds {found}")
    for stream in expected:
        with open(os.path.join(streams, stream), "rb") as f:
            if ole.openstream(stream.split("__")).read() != f.read():
                failures.append(f"{name}.cfb: stream {stream} differs")


def main():
    writer = sys.argv[1]
    failures = []
    with tempfile.TemporaryDirectory() as folder:
        subprocess.run([writer, folder], check=True)
        cases = [f for f in os.listdir(folder) if f.endswith(".changed")]
        compounds = [f[:-len(".cfb")] for f in os.listdir(folder) if f.endswith(".cfb")]
        for name in compounds:
            check_compound(folder, name, failures)
        cases += [name + ".cfb" for name in compounds]
        for case_file in sorted(c for c in cases if c.endswith(".changed")):
            case = case_file[:-len(".changed")]
            extension = "." + case.split("_")[-1]
            check(folder, case, extension, failures)
    for f in failures:
        print(f)
    print(f"{len(cases) - len({f.split(':')[0] for f in failures})} passed, "
          f"{len({f.split(':')[0] for f in failures})} failed")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
