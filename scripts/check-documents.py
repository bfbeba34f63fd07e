#!/usr/bin/env python3
"""Checks the README and the documents under docs/ against the repository and the program.

    scripts/check-documents.py TAVRINO

Every link and picture of a Markdown file must name a file that exists, and a link to a heading
must find it. Every graph under docs/guide/ must be what 'tavrino graph --format svg' draws
today of the list named in its title; when a graph is out of date, `make screenshots` draws it
again. Run from the root of the repository; prints each fault and exits with 1 when there are
any.
"""
import html
import re
import subprocess
import sys
import tempfile
from pathlib import Path
from urllib.parse import unquote

DOCUMENTS = ["README.md", "CODINGSTYLE.md", "docs/*.md"]
GRAPHS = "docs/guide/*.svg"

LINK = re.compile(r"!?\[[^\]]*\]\(\s*<?([^)\s>]+)>?(?:\s+\"[^\"]*\")?\s*\)")
SOURCE = re.compile(r"<(?:img|a)\b[^>]*?\b(?:src|href)=\"([^\"]+)\"", re.IGNORECASE)
TITLE = re.compile(r"<title>([^<]*)</title>")


def prose(text):
    """The text without what is shown as code or hidden, where a link is no link."""
    text = re.sub(r"<!--.*?-->", "", text, flags=re.DOTALL)
    text = re.sub(r"^```.*?^```", "", text, flags=re.DOTALL | re.MULTILINE)
    text = re.sub(r"^(?: {4}|\t).*$", "", text, flags=re.MULTILINE)
    return re.sub(r"`[^`\n]*`", "", text)


def anchors(text):
    """The anchors that a Markdown renderer gives the headings, as GitHub forms them."""
    found = set()
    for heading in re.findall(r"^#{1,6}\s+(.*?)\s*#*$", prose(text), flags=re.MULTILINE):
        heading = re.sub(r"[`*_]", "", heading).lower()
        found.add(re.sub(r"[^\w\- ]", "", heading).replace(" ", "-"))
    return found


def link_faults(document):
    text = document.read_text(encoding="utf-8")
    faults = []
    for target in LINK.findall(prose(text)) + SOURCE.findall(prose(text)):
        if re.match(r"^[a-z][a-z0-9+.-]*:", target, flags=re.IGNORECASE):
            continue
        path, _, anchor = unquote(html.unescape(target)).partition("#")
        linked = (document.parent / path).resolve() if path else document.resolve()
        if not linked.exists():
            faults.append(f"{document}: '{target}' does not exist")
        elif anchor and linked.suffix == ".md":
            if anchor not in anchors(linked.read_text(encoding="utf-8")):
                faults.append(f"{document}: '{target}' names no heading of {path or document}")
    return faults


def graph_faults(tavrino, picture):
    drawn = picture.read_text(encoding="utf-8")
    title = TITLE.search(drawn)
    if not title:
        return [f"{picture}: no <title> that names its list"]
    listed = html.unescape(title.group(1))
    with tempfile.TemporaryDirectory() as folder:
        fresh = Path(folder) / "graph.svg"
        run = subprocess.run([tavrino, "graph", "--format", "svg", "-o", str(fresh), listed],
                             capture_output=True, text=True)
        if run.returncode != 0:
            return [f"{picture}: tavrino graph '{listed}' failed: {run.stderr.strip()}"]
        if fresh.read_text(encoding="utf-8") != drawn:
            return [f"{picture}: differs from 'tavrino graph' of '{listed}': make screenshots"]
    return []


def main():
    if len(sys.argv) != 2:
        print(f"usage: {sys.argv[0]} TAVRINO", file=sys.stderr)
        return 2
    faults = []
    for pattern in DOCUMENTS:
        for document in sorted(Path(".").glob(pattern)):
            faults += link_faults(document)
    for picture in sorted(Path(".").glob(GRAPHS)):
        faults += graph_faults(sys.argv[1], picture)
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
