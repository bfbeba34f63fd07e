#!/usr/bin/env python3
"""Writes the findings section of the authors' guide from 'tavrino help check', so that the
guide names every finding the checker can give, with its texts and advice, and cannot drift
from the program.

    scripts/authors-guide-findings.py TAVRINO GUIDE           rewrite the section in GUIDE
    scripts/authors-guide-findings.py --check TAVRINO GUIDE   exit 1 if it is not current

The section lies between the two marker lines below; the rest of GUIDE is left as it is.
"""
import re
import subprocess
import sys

BEGIN = "<!-- findings: made by scripts/authors-guide-findings.py from 'tavrino help check' -->"
END = "<!-- end of findings -->"
HEADER = re.compile(r"^  ([a-z0-9-]+) \((error|warning)\)$")


def findings(tavrino):
    """(code, severity, [texts], advice) for each code, in the order of the help."""
    help_text = subprocess.run([tavrino, "help", "check"], check=True, capture_output=True,
                               text=True).stdout
    entries = []
    for line in help_text.split("\n"):
        header = HEADER.match(line)
        if header:
            entries.append((header.group(1), header.group(2), [], ""))
        elif entries and line.startswith("    "):
            code, severity, texts, _ = entries[-1]
            body = line[4:]
            if body.startswith('"') and body.endswith('"') and len(body) > 1:
                texts.append(body[1:-1])
            else:
                entries[-1] = (code, severity, texts, body)
    if not entries:
        sys.exit(f"{sys.argv[0]}: '{tavrino} help check' lists no findings")
    return entries


def cell(text):
    """The text as it reads, in a Markdown table cell."""
    for character in "\\|*_`<[":
        text = text.replace(character, "\\" + character)
    return text


def section(entries):
    out = [BEGIN, "", "| code | kind | what the checker says | how to mend it |", "|---|---|---|---|"]
    for code, severity, texts, advice in entries:
        said = "<br>".join(cell(text) for text in texts)
        out.append(f"| `{code}` | {severity} | {said} | {cell(advice)} |")
    out += ["", END]
    return "\n".join(out)


def main(arguments):
    check = arguments[:1] == ["--check"]
    if check:
        arguments = arguments[1:]
    if len(arguments) != 2:
        sys.exit(f"usage: {sys.argv[0]} [--check] TAVRINO GUIDE")
    tavrino, guide = arguments
    with open(guide, encoding="utf-8") as file:
        text = file.read()
    begin, end = text.find(BEGIN), text.find(END)
    if begin < 0 or end < begin:
        sys.exit(f"{sys.argv[0]}: {guide} has no findings section between its marker lines")
    made = text[:begin] + section(findings(tavrino)) + text[end + len(END):]
    if check:
        if made != text:
            print(f"{guide}: the findings section differs from 'tavrino help check'; "
                  "run 'make screenshots' or scripts/authors-guide-findings.py", file=sys.stderr)
            return 1
        return 0
    if made != text:
        with open(guide, "w", encoding="utf-8") as file:
            file.write(made)
    print(guide)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
