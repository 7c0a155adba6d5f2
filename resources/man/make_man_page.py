#!/usr/bin/env python3
"""Writes a program's manual page from the program's own help, so that the
two never say different things.

Usage: make_man_page.py help PROGRAM OUT.1 SUMMARY VERSION DATE [SEE-ALSO...]
       make_man_page.py html HELP.html NAME OUT.1 SUMMARY VERSION DATE [SEE-ALSO...]

"help" runs PROGRAM --help. Its "Usage:" block is the synopsis, its
paragraphs the description, and each other block headed "Name:" a section of
indented entries, a term with its description beside or below it. In a
description, deeper lines and what follows three spaces are examples, shown
as they are.

"html" reads the desktop program's help page: its first paragraph is the
description, its h2 headings the sections, with their h3 headings,
paragraphs, lists, two-column tables and preformatted blocks. What else comes
before the first h2 (the contents list) is left out: a manual page has no
links to follow.
"""
import html.parser
import os
import re
import subprocess
import sys


def escaped(text):
    """Text that groff prints as it stands."""
    out = []
    for c in text:
        if c == "\\":
            out.append("\\e")
        elif c == "-":
            out.append("\\-")
        elif c == "\u00a0":
            out.append("\\~")
        elif ord(c) > 126:
            out.append("\\[u%04X]" % ord(c))
        else:
            out.append(c)
    return "".join(out)


def text_line(text):
    # A line starting with a dot or an apostrophe would be read as a request.
    return "\\&" + text if text[:1] in (".", "'") else text


def literal_lines(lines):
    return [".nf"] + [text_line(line) if line else "\\&" for line in lines] + [".fi"]


# The --help text

EXAMPLE_GAP = re.compile(r"\S {3,}(?=\S)")


def described(lines):
    """The roff lines of a description: filled text, and its examples as they stand."""
    out, text, literal = [], [], []

    def flush_text():
        if text:
            out.append(text_line(escaped(" ".join(text))))
            text.clear()

    def flush_literal():
        if literal:
            out.extend(literal_lines(literal))
            literal.clear()

    for indent, line in lines:
        if indent > 0:
            flush_text()
            literal.append(escaped(" " * indent + line))
            continue
        gap = EXAMPLE_GAP.search(line)
        words = line[: gap.start() + 1] if gap else line
        if words:
            flush_literal()
            text.append(words)
        if gap:
            flush_text()
            literal.append(escaped("  " + line[gap.end():]))
    flush_text()
    flush_literal()
    return out


def term(text):
    """An option in bold and its value in italics; a command or number in bold."""
    first, _, rest = text.partition(" ")
    return "\\fB%s\\fR" % escaped(first) + (" \\fI%s\\fR" % escaped(rest) if rest else "")


def entries(block):
    """The entries of a section: (term, [(extra indent, line)...]) each."""
    deeper = [len(line) - len(line.lstrip()) for line in block if line.startswith("   ")]
    # Without a second line anywhere, the first description shows where they start.
    column = min(deeper) if deeper else re.search(r"\S  +(?=\S)", block[0]).end()
    found = []
    for line in block:
        indent = len(line) - len(line.lstrip())
        if indent == 2:
            name = line[2:column].rstrip() if len(line) > column and line[column - 1] == " " else line.strip()
            found.append((name, []))
            rest = line[column:] if name != line.strip() else ""
            if rest:
                found[-1][1].append((0, rest.rstrip()))
        else:
            found[-1][1].append((indent - column, line.strip()))
    return found


def page_from_help(help_text):
    blocks = [block.split("\n") for block in help_text.strip("\n").split("\n\n")]
    synopsis, description, sections = [], [], []
    for block in blocks:
        head = block[0]
        # A heading is a line of its own ending in a colon, over indented entries.
        if head.endswith(":") and not head.startswith(" ") and block[1:2] and block[1].startswith("  "):
            body = block[1:]
            if head == "Usage:":
                commands = []
                for line in body:
                    if len(line) - len(line.lstrip()) == 2:
                        commands.append(line.strip())
                    else:
                        commands[-1] += " " + line.strip()
                for command in commands:
                    program, _, rest = command.partition(" ")
                    synopsis += [".br", "\\fB%s\\fR %s" % (escaped(program), escaped(rest))]
                synopsis = synopsis[1:]
            else:
                section = [".SH " + head[:-1].upper()]
                for name, lines in entries(body):
                    section += [".TP", term(name)] + described(lines)
                sections.append(section)
        else:
            description += [".PP"] + described([(0, line) for line in block])
    return synopsis, description[1:], [line for section in sections for line in section]


# The HTML help

FONTS = {"b": "B", "strong": "B", "code": "B", "em": "I", "i": "I"}
SKIPPED = ("head", "style", "title")


class HelpPage(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.lines = []
        self.text = ""        # the running text of a paragraph, item or cell
        self.fonts = ["R"]
        self.skipping = 0
        self.heading = None   # the text of an h2 or h3 being read
        self.pre = None       # the lines of a preformatted block being read
        self.lists = []       # None for a bulleted list, the last number for a numbered one
        self.sections = 0     # h2 headings so far
        self.opening = 0      # paragraphs before the first h2

    def keeping(self):
        return not self.skipping and (self.sections or self.opening == 1)

    def flush(self):
        text = " ".join(self.text.split())
        self.text = ""
        if text and self.keeping():
            self.lines.append(text_line(text))

    def request(self, line):
        self.flush()
        if self.keeping():
            self.lines.append(line)

    def write(self, text):
        if self.pre is not None:
            self.pre[-1] += text
        else:
            self.text += text

    def handle_starttag(self, tag, attrs):
        if tag in SKIPPED:
            self.skipping += 1
        elif tag in ("h2", "h3"):
            self.flush()
            self.heading = ""
        elif tag == "p":
            self.flush()
            if self.sections:
                self.request(".PP")
            else:
                self.opening += 1
        elif tag == "pre":
            self.request(".PP")
            self.pre = [""]
        elif tag in FONTS:
            self.fonts.append(FONTS[tag])
            self.write("\\f" + self.fonts[-1])
        elif tag in ("ul", "ol"):
            self.flush()
            self.lists.append(None if tag == "ul" else 0)
        elif tag == "li":
            if self.lists and self.lists[-1] is not None:
                self.lists[-1] += 1
                self.request(".IP %d. 4" % self.lists[-1])
            else:
                self.request(".IP \\(bu 2")
        elif tag == "tr":
            self.request(".TP")
        elif tag == "br":
            self.request(".br")

    def handle_endtag(self, tag):
        if tag in SKIPPED:
            self.skipping -= 1
        elif tag in ("h2", "h3") and self.heading is not None:
            title = " ".join(self.heading.split())
            self.heading = None
            if tag == "h2":
                self.sections += 1
                self.request(".SH " + title.upper())
            else:
                self.request(".SS " + title)
        elif tag == "pre" and self.pre is not None:
            lines, self.pre = self.pre, None
            # The newline right after <pre> is no part of the text.
            if lines and lines[0] == "":
                lines = lines[1:]
            if self.keeping():
                self.lines.extend(literal_lines(lines))
        elif tag in FONTS:
            self.fonts.pop()
            self.write("\\f" + self.fonts[-1])
        elif tag in ("ul", "ol"):
            self.flush()
            self.lists.pop()
        elif tag in ("p", "li", "td"):
            self.flush()

    def handle_data(self, data):
        if self.skipping:
            return
        if self.heading is not None:
            self.heading += data
        elif self.pre is not None:
            pieces = data.split("\n")
            self.pre[-1] += escaped(pieces[0])
            self.pre.extend(escaped(piece) for piece in pieces[1:])
        else:
            self.text += escaped(data)


def page_from_html(source, name):
    page = HelpPage()
    with open(source, encoding="utf-8") as file:
        page.feed(file.read())
    page.close()
    page.flush()
    if not page.sections:
        sys.exit("%s: no h2 heading, so no section to write" % source)
    first = next(i for i, line in enumerate(page.lines) if line.startswith(".SH "))
    return ["\\fB%s\\fR" % escaped(name)], page.lines[:first], page.lines[first:]


def main():
    args = sys.argv[1:]
    if args[:1] == ["help"] and len(args) >= 6:
        program, target, summary, version, date = args[1:6]
        see_also = args[6:]
        name = os.path.basename(program)
        help_text = subprocess.run([program, "--help"], check=True, capture_output=True,
                                   text=True, env=dict(os.environ, LC_ALL="C")).stdout
        synopsis, description, sections = page_from_help(help_text)
    elif args[:1] == ["html"] and len(args) >= 7:
        source, name, target, summary, version, date = args[1:7]
        see_also = args[7:]
        synopsis, description, sections = page_from_html(source, name)
    else:
        sys.exit(__doc__.split("\n\n")[1])

    lines = [
        '.TH %s 1 "%s" "%s" "User Commands"' % (escaped(name.upper()), date, escaped(version)),
        ".SH NAME",
        "%s \\- %s" % (escaped(name), escaped(summary)),
        ".SH SYNOPSIS",
    ] + synopsis + [".SH DESCRIPTION"] + description + sections
    if see_also:
        lines += ['.SH "SEE ALSO"', ",\n".join(".BR %s (1)" % escaped(other) for other in see_also)]
    with open(target, "w", encoding="ascii", newline="\n") as file:
        file.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
