#!/usr/bin/env python3
"""Checks that the examples of a section of the README or of a manual page print what they
show.

  doc_examples.py --program EXE FILE:SECTION...

An example is a line "$ NAME ARGS" (NAME the program's file name; a line ending with a
backslash goes on on the next), followed by the lines it prints, up to a blank line, a line
that is not the example's or the next example. In Markdown (FILE ending with .md) SECTION is
a "## " heading and examples are indented by four blanks; in a manual page SECTION is a .SH
heading and examples stand between .nf and .fi, in roff. The arguments are split as a shell
splits them. Standard library only.
"""
import argparse
import os
import re
import shlex
import subprocess
import sys

ROFF_ESCAPES = [("\\-", "-"), ("\\~", " "), ("\\(de", "°"), ("\\(+-", "±"), ("\\e", "\\")]


def markdown_lines(text, section):
    lines, inside = [], False
    for line in text.splitlines():
        if line.startswith("## "):
            inside = line[3:].strip() == section
        elif inside:
            lines.append(line[4:] if line.startswith("    ") else None if line else "")
    return lines


def roff_lines(text, section):
    lines, inside, literal = [], False, False
    for line in text.splitlines():
        if line.startswith(".SH"):
            inside = line[3:].strip().strip('"') == section
        elif inside and line.startswith((".nf", ".fi")):
            literal = line.startswith(".nf")
            lines.append("")
        elif inside and literal:
            for escape, plain in ROFF_ESCAPES:
                line = line.replace(escape, plain)
            lines.append(line)
        elif inside:
            lines.append(None)
    return lines


def examples(lines, name):
    """(arguments, printed lines) of each example; None in lines ends an example's output."""
    found, i = [], 0
    while i < len(lines):
        line = lines[i]
        i += 1
        if not line or not line.startswith("$ " + name + " "):
            continue
        command = line[2:]
        while command.endswith("\\") and i < len(lines) and lines[i] is not None:
            command = command[:-1] + lines[i].strip()
            i += 1
        printed = []
        while i < len(lines) and lines[i] and not lines[i].startswith("$ "):
            printed.append(lines[i])
            i += 1
        found.append((shlex.split(command)[1:], printed))
    return found


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("sections", nargs="+", metavar="FILE:SECTION")
    args = parser.parse_args()
    name = os.path.basename(args.program)
    failures, count = [], 0
    for place in args.sections:
        path, _, section = place.partition(":")
        with open(path, encoding="utf-8") as f:
            text = f.read()
        lines = markdown_lines(text, section) if path.endswith(".md") else roff_lines(text, section)
        found = examples(lines, name)
        if not found:
            failures.append("%s has no example of %s" % (place, name))
        for arguments, printed in found:
            count += 1
            done = subprocess.run([args.program, *arguments], capture_output=True, text=True,
                                  timeout=120, env=dict(os.environ, LC_ALL="C.UTF-8"))
            if done.stdout.splitlines() != printed:
                failures.append("%s: %s %s prints\n%s\nnot\n%s" % (
                    place, name, " ".join(arguments), done.stdout, "\n".join(printed)))
    for failure in failures:
        print("FAIL: " + failure)
    print("%d example(s) of %s, %d failure(s)" % (count, name, len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
