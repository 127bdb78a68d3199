#!/usr/bin/env python3
"""Checks that a program's documentation says what the program does.

  check_docs.py --program EXE --man PAGE.1 [--readme README.md] [--version X.Y.Z]

- Every option EXE --help lists is a tag of the manual page's OPTIONS section, and the other
  way round. An option of --help is a name starting with "-" in the option column: an indented
  line that starts with "-", up to the first two blanks ("  --from UNIT, --to UNIT   text").
  An option of the manual page is such a name in the tag line of a .TP paragraph.
- With --readme: the README holds the whole --help output as one fenced code block.
- With --version: EXE --version prints the program's name and X.Y.Z, and the manual page's
  title line names the same version.
Standard library only.
"""
import argparse
import difflib
import os
import re
import subprocess
import sys

# An option name, or "--" alone, standing by itself between blanks, commas or brackets.
OPTION = re.compile(r"(?:(?<=^)|(?<=[\s,\[]))(-{1,2}[A-Za-z0-9][A-Za-z0-9-]*|--)(?=$|[\s,=\[\]])")


def help_options(text):
    options = set()
    for line in text.splitlines():
        match = re.match(r"^ {1,6}(-\S.*)$", line)
        if match:
            term = re.split(r"\s{2,}", match.group(1))[0]
            options.update(OPTION.findall(term))
    return options


def roff_text(line):
    """The text of a roff line: no macro name, font changes, quotes or escaped dashes."""
    if line.startswith((".", "'")):
        line = line.split(None, 1)[1] if " " in line else ""
    line = re.sub(r"\\f(\[[^\]]*\]|\(..|.)", "", line)
    line = line.replace("\\-", "-").replace("\\ ", " ").replace("\\&", "").replace('"', "")
    return line


def man_options(roff):
    options = set()
    section = None
    lines = roff.splitlines()
    for i, line in enumerate(lines):
        if line.startswith(".SH"):
            section = roff_text(line).strip().upper()
        elif section == "OPTIONS" and line.startswith(".TP") and i + 1 < len(lines):
            options.update(OPTION.findall(roff_text(lines[i + 1]).strip()))
    return options


def run(program, *args):
    result = subprocess.run([program, *args], capture_output=True, text=True, timeout=60,
                            env=dict(os.environ, LC_ALL="C.UTF-8"))
    if result.returncode != 0:
        sys.exit("%s %s failed with %d: %s" % (program, " ".join(args), result.returncode,
                                               result.stderr))
    return result.stdout


def fenced_blocks(markdown):
    blocks, block = [], None
    for line in markdown.splitlines(keepends=True):
        if line.startswith("```"):
            if block is None:
                block = []
            else:
                blocks.append("".join(block))
                block = None
        elif block is not None:
            block.append(line)
    return blocks


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--man", required=True)
    parser.add_argument("--readme")
    parser.add_argument("--version")
    args = parser.parse_args()
    name = os.path.basename(args.program)
    failures = []

    help_text = run(args.program, "--help")
    with open(args.man, encoding="utf-8") as f:
        roff = f.read()
    in_help = help_options(help_text)
    in_man = man_options(roff)
    if not in_help:
        failures.append("%s --help lists no option" % name)
    for option in sorted(in_help - in_man):
        failures.append("%s --help lists %s, the manual page does not" % (name, option))
    for option in sorted(in_man - in_help):
        failures.append("the manual page lists %s, %s --help does not" % (option, name))

    if args.readme:
        with open(args.readme, encoding="utf-8") as f:
            blocks = fenced_blocks(f.read())
        first_line = help_text.splitlines()[0]
        copies = [b for b in blocks if b.splitlines()[:1] == [first_line]]
        if not copies:
            failures.append("the README has no fenced block starting with %r" % first_line)
        for copy in copies:
            if copy != help_text:
                failures.append("the README's copy of --help differs (README, --help):\n" + "".join(
                    difflib.unified_diff(copy.splitlines(True), help_text.splitlines(True),
                                         "README.md", name + " --help")))

    if args.version:
        printed = run(args.program, "--version")
        if printed != "%s %s\n" % (name, args.version):
            failures.append("%s --version prints %r, expected %r" %
                            (name, printed, "%s %s\n" % (name, args.version)))
        title = next((l for l in roff.splitlines() if l.startswith(".TH")), "")
        if '"Tavimor %s"' % args.version not in title:
            failures.append("the manual page's title line does not name version %s: %s" %
                            (args.version, title))

    for failure in failures:
        print("FAIL: " + failure)
    print("%s: %d options in --help, %d in the manual page, %d failure(s)" %
          (name, len(in_help), len(in_man), len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
