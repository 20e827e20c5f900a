#!/usr/bin/env python3
"""Writes the label sheet catalogue paper.cfg from labels.tsv.

Each sheet becomes one record of ten lines: "*maker,model", then the
orientation, label width, label height, top, bottom, left and right margin,
columns and rows, each followed by "'". The makers are written in the order of
the print dialog's maker tabs, sheets of one maker in the order of the input.
CP932, CR LF, written under a temporary name and renamed over the old file.

usage: make-paper-cfg.py LABELS.TSV OUT
"""
import csv
import os
import sys
import tempfile

MAKERS = ["オリジナル", "ヒサゴ", "エーワン", "マクセル", "サンワサプライ"]
VALUES = ["orientation", "width", "height", "top", "bottom", "left", "right", "columns", "rows"]


def records(path):
    with open(path, encoding="utf-8", newline="") as f:
        rows = list(csv.DictReader(f, delimiter="\t"))
    for row in rows:
        if row["maker"] not in MAKERS:
            sys.exit(f"{path}: unknown maker {row['maker']!r} ({row['model']})")
        for key in VALUES:
            float(row[key])  # a value the dialog could not read would only fail on selection
        if "," in row["maker"] or "'" in "".join(row[k] for k in VALUES):
            sys.exit(f"{path}: {row['model']}: a comma or quote would break the record")
    rows.sort(key=lambda r: MAKERS.index(r["maker"]))  # stable: input order within a maker
    return rows


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__.strip().splitlines()[-1])
    lines = []
    for row in records(sys.argv[1]):
        lines.append(f"*{row['maker']},{row['model']}")
        lines.extend(row[key] + "'" for key in VALUES)
    data = "".join(line + "\r\n" for line in lines).encode("cp932")
    out = sys.argv[2]
    fd, tmp = tempfile.mkstemp(dir=os.path.dirname(os.path.abspath(out)), prefix=".paper-")
    with os.fdopen(fd, "wb") as f:
        f.write(data)
    os.chmod(tmp, 0o644)
    os.replace(tmp, out)
    print(f"{out}: {len(lines) // 10} sheets")


if __name__ == "__main__":
    main()
