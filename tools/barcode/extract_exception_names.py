#!/usr/bin/env python3
"""Extracts the barcode exception place names from the product document into a data file.

Usage: extract_exception_names.py DOCUMENT.md > barcode/data/exception-names.txt

The document lists one name per line ("- NAME: CODE, FIRST–LAST, ..."); the data file
holds one row per postal code, "CODE<TAB>NAME" in UTF-8, sorted by code, so that the
build never needs the document itself. Run it again only when the list changes.
"""
import re
import sys

START = "The whole exception name table follows"
END = "**Interfaces**"
LINE = re.compile(r"^- (.+): (\d{7}(?:–\d{7})?(?:, \d{7}(?:–\d{7})?)*)$")


def extract(lines):
    start = next(i for i, line in enumerate(lines) if line.startswith(START))
    end = next(i for i in range(start, len(lines)) if lines[i].startswith(END))
    rows = {}
    for line in lines[start + 1:end]:
        if not line.strip():
            continue
        match = LINE.match(line)
        if not match:
            sys.exit(f"unreadable line: {line}")
        name = match.group(1)
        for entry in match.group(2).split(", "):
            first, _, last = entry.partition("–")
            for code in range(int(first), int(last or first) + 1):
                if code in rows:
                    sys.exit(f"code {code:07d} listed twice")
                rows[code] = name
    return rows


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    with open(sys.argv[1], encoding="utf-8") as f:
        rows = extract(f.read().split("\n"))
    names = set(rows.values())
    print(f"{len(rows)} codes, {len(names)} names", file=sys.stderr)
    out = sys.stdout
    for code in sorted(rows):
        out.write(f"{code:07d}\t{rows[code]}\n")


if __name__ == "__main__":
    main()
