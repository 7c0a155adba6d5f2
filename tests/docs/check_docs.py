#!/usr/bin/env python3
"""Checks README.md and the guides in docs/ against the checkout and the
program: every relative link and picture leads to a file of the checkout (and
an anchor to a heading or a named place in it), README links every guide, and
docs/command-line.md names every command, option and exit status of
faultward-cli --help, each option with exactly the commands whose synopsis
shows it.

Usage: check_docs.py SOURCE_DIR FAULTWARD_CLI
"""
import pathlib
import re
import subprocess
import sys

OPTION = re.compile(r"--[a-z][a-z-]*")
LINK = re.compile(r"!?\[[^\]]*\]\(([^)\s]+)\)")


def prose(text):
    """The text without fenced blocks and code spans, where brackets are code."""
    text = re.sub(r"^```.*?^```", "", text, flags=re.S | re.M)
    return re.sub(r"`[^`\n]*`", "", text)


def slug(heading):
    """The anchor GitHub gives a heading."""
    heading = heading.strip().lower().replace("`", "")
    heading = re.sub(r"[^\w\- ]", "", heading)
    return heading.replace(" ", "-")


def anchors(path):
    text = path.read_text(encoding="utf-8")
    if path.suffix == ".md":
        return {slug(h) for h in re.findall(r"^#+ (.*)$", prose(text), flags=re.M)}
    return set(re.findall(r'(?:name|id)="([^"]+)"', text))


def check_links(root, documents, problems):
    for document in documents:
        for target in LINK.findall(prose(document.read_text(encoding="utf-8"))):
            if re.match(r"[a-z]+:", target):
                continue
            where, _, anchor = target.partition("#")
            path = (document.parent / where).resolve() if where else document
            name = f"{document.relative_to(root)}: {target}"
            if root not in path.parents and path != root:
                problems.append(f"{name} leads outside the checkout")
            elif not path.exists():
                problems.append(f"{name} leads to nothing")
            elif anchor and anchor not in anchors(path):
                problems.append(f"{name}: no such heading or anchor")


def section(text, heading):
    """The lines under a markdown heading, to the next heading of any level."""
    lines, inside = [], False
    for line in text.splitlines():
        if line.startswith("#"):
            if inside:
                break
            inside = line == heading
        elif inside:
            lines.append(line)
    return lines


def table_rows(lines):
    rows = [[cell.strip() for cell in line.strip().strip("|").split("|")]
            for line in lines if line.startswith("|")]
    return [row for row in rows[2:]]


def help_block(help_text, heading):
    block = help_text.split(heading + "\n", 1)[1]
    return block.split("\n\n", 1)[0].splitlines()


def synopses(help_text):
    """Each command with the options its synopsis shows."""
    commands, command = {}, None
    for line in help_block(help_text, "Usage:"):
        words = line.split()
        if words[0] == "faultward-cli":
            command = words[1] if not words[1].startswith("-") else None
            if command:
                commands[command] = set()
            words = words[2:]
        if command:
            commands[command] |= set(OPTION.findall(" ".join(words)))
    return commands


def check_command_line_guide(guide, help_text, problems):
    text = guide.read_text(encoding="utf-8")
    commands = synopses(help_text)

    listed = {row[0].strip("`") for row in table_rows(section(text, "## Commands"))}
    for command in sorted(set(commands) - listed):
        problems.append(f"command-line.md: the Commands table lacks {command}")

    named = set()
    for row in table_rows(section(text, "## Options")):
        taking = set(re.findall(r"[a-z]+", row[1])) & set(commands)
        for option in OPTION.findall(row[0]):
            named.add(option)
            expected = {c for c, options in commands.items() if option in options}
            if taking != expected:
                problems.append(f"command-line.md: {option} is taken by "
                                f"{', '.join(sorted(expected))}, the table says "
                                f"{', '.join(sorted(taking))}")
    for option in sorted(set().union(*commands.values()) - named):
        problems.append(f"command-line.md: the Options table lacks {option}")
    for option in sorted(set(OPTION.findall(help_text)) - set(OPTION.findall(text))):
        problems.append(f"command-line.md never names {option}")

    statuses = {line.split()[0] for line in help_block(help_text, "Exit status:")
                if re.match(r"  \d", line)}
    documented = {row[0] for row in table_rows(section(text, "## Exit status"))}
    if statuses != documented:
        problems.append(f"command-line.md: exit statuses {sorted(documented)}, "
                        f"--help has {sorted(statuses)}")


def main():
    root = pathlib.Path(sys.argv[1]).resolve()
    help_text = subprocess.run([sys.argv[2], "--help"], capture_output=True, text=True,
                               check=True).stdout
    readme = root / "README.md"
    guides = sorted((root / "docs").glob("*.md"))
    problems = []
    check_links(root, [readme] + guides, problems)
    readme_links = set(LINK.findall(prose(readme.read_text(encoding="utf-8"))))
    for guide in guides:
        if f"docs/{guide.name}" not in readme_links:
            problems.append(f"README.md does not link docs/{guide.name}")
    check_command_line_guide(root / "docs" / "command-line.md", help_text, problems)
    for problem in problems:
        print(problem, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
