#!/usr/bin/env python3
"""Builds data/zip/zip.dat from the residential and the business postal code files.

Both inputs are CP932 text, one "NNNNNNN,address" entry a line. The output holds
every line of both, sorted by the code before the first comma (lines of one code
keep their input order, residential first), CP932, CR LF. Bytes are never
decoded, so nothing can be changed on the way.

usage: merge-zip-data.py RESIDENTIAL BUSINESS OUT
"""
import os
import sys
import tempfile


def read_lines(path):
    with open(path, "rb") as f:
        data = f.read()
    lines = data.replace(b"\r\n", b"\n").replace(b"\r", b"\n").split(b"\n")
    return [line for line in lines if line]


def main(argv):
    if len(argv) != 4:
        sys.stderr.write(__doc__)
        return 2
    lines = read_lines(argv[1]) + read_lines(argv[2])
    lines.sort(key=lambda line: line.split(b",", 1)[0])  # sort() is stable
    out = argv[3]
    fd, tmp = tempfile.mkstemp(dir=os.path.dirname(os.path.abspath(out)))
    with os.fdopen(fd, "wb") as f:
        f.write(b"".join(line + b"\r\n" for line in lines))
    os.chmod(tmp, 0o644)
    os.replace(tmp, out)
    print(f"{out}: {len(lines)} lines")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
